// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's own words: the sides' names, the captions of the turn, scores, clock and verdict, and the
// questions it asks. Whoever shows them shows them exactly so.
#pragma once

#include <string>

#include "engine/game_events.h"
#include "engine/sides.h"

namespace nokturna {

// "Player 1", "Daviz Edezo", "Player 2".
std::string SideName(Side side);

// "Giliran / Turn : " and the name of the side to move.
std::string TurnCaption(Side side);
// The turn label's last words in a game, and the winner window's.
std::string VerdictCaption(Side winner);
std::string WinnerCaption(Side winner);

// A new game shows zero with the blank its number format keeps for a sign; won squares then count in
// plain digits.
std::string NewGameScoreCaption();
std::string ScoreCaption(int score);

// "hh:mm:ss" with at least two digits each; hours grow as wide as they need.
std::string ClockCaption(int hours, int minutes, int seconds);

extern const Question kRestartQuestion;     // Play during a game
extern const Question kModeChangeQuestion;  // another mode during a game
extern const Question kExitQuestion;        // leaving the game

}  // namespace nokturna
