// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a screen reader says of the board and the game: short words, the place first. The game's own
// texts (the sides' and the modes' names) are quoted as the game shows them; the rest is plain English.
// Plain C++, so that every sentence can be checked without a screen reader.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/board.h"
#include "engine/game_state.h"
#include "engine/sides.h"

namespace nokturna {

// "row 1, column 6, down": the post a line starts from and its way from there.
std::string LinePlaceWords(int line);
// What the line under the cursor is called: "Row 1, column 6, down: free" / "Row 8, column 7, across:
// Daviz Edezo". Never longer than kLongestLineWords.
std::string LineWords(int line, std::optional<Side> owner);
inline constexpr std::size_t kLongestLineWords = 40;
// "square row 2, column 5".
std::string SquareWords(int square);

std::string ModeWords(PlayMode mode);  // "Orang vs Orang", "Orang vs Daviz Edezo"

// One event of the game as it is said. In one breath, a claim names its mover only where the sentence
// before it was not that mover's claim already, and a turn that the next claim begins goes unsaid.
struct SpokenEvent {
  std::string words;
  std::optional<Side> claimedBy;
  std::optional<Side> turnOf;
};
SpokenEvent ClaimSpoken(int line, Side side);
SpokenEvent SquareSpoken(int square);
SpokenEvent ScoreSpoken(Side side, int score);  // "Player 1 has 3"
SpokenEvent TurnSpoken(Side side);              // "Daviz Edezo's turn"
SpokenEvent NewGameSpoken(PlayMode mode);       // "New game, Orang vs Daviz Edezo"
SpokenEvent ModeSpoken(PlayMode mode);          // "Mode Orang vs Orang"
SpokenEvent EndSpoken(const GameState& state);  // "Daviz Edezo wins, 29 to 20"

// Events said in one breath: sentences, each begun with a capital and ended with a full stop.
std::string Utterance(const std::vector<SpokenEvent>& events);

// The answers to a player's questions.
std::string ScoresAnswer(const GameState& state, bool anyGamePlayed);  // the S key
std::string TimeAnswer(const GameClock& clock);                        // the T key
// The D key: "square above: 3 sides, square below: 1 side"; a won square says whose it is.
std::string SquaresBesideAnswer(const Board& board, int line, const std::vector<std::optional<Side>>& owners);
// Why a claim of `line` would come to nothing, in a few words; empty when it would be claimed.
std::string RefusalAnswer(const GameState& state, int line, std::optional<Side> owner);
inline constexpr const char* kNoFreeLine = "No free line";

}  // namespace nokturna
