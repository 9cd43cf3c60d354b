// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/spoken_words.h"

#include <cctype>

#include "engine/captions.h"
#include "engine/end_of_game.h"

namespace nokturna {

namespace {

std::string placeOf(int row, int column) {
  return "row " + std::to_string(row) + ", column " + std::to_string(column);
}

std::string withCapital(std::string text) {
  if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  return text;
}

std::string sidesWords(const Board& board, int square, const std::vector<std::optional<Side>>& owners) {
  const int sides = board.claimedSides(square);
  if (sides == 4 && square < static_cast<int>(owners.size()) && owners[square]) {
    return "won by " + SideName(*owners[square]);
  }
  return std::to_string(sides) + (sides == 1 ? " side" : " sides");
}

std::string unitWords(int count, const char* unit) {
  return std::to_string(count) + " " + unit + (count == 1 ? "" : "s");
}

}  // namespace

std::string LinePlaceWords(int line) {
  const LinePlace p = PlaceOfLine(line);
  return placeOf(p.row, p.column) + (p.kind == LineKind::Horizontal ? ", across" : ", down");
}

std::string LineWords(int line, std::optional<Side> owner) {
  return withCapital(LinePlaceWords(line)) + ": " + (owner ? SideName(*owner) : std::string("free"));
}

std::string SquareWords(int square) {
  const SquarePlace q = PlaceOfSquare(square);
  return "square " + placeOf(q.row, q.column);
}

std::string ModeWords(PlayMode mode) {
  return mode == PlayMode::PersonVsPerson ? "Orang vs Orang" : "Orang vs Daviz Edezo";
}

SpokenEvent ClaimSpoken(int line, Side side) { return {LinePlaceWords(line), side, {}}; }
SpokenEvent SquareSpoken(int square) { return {SquareWords(square), {}, {}}; }
SpokenEvent ScoreSpoken(Side side, int score) {
  return {SideName(side) + " has " + std::to_string(score), {}, {}};
}
SpokenEvent TurnSpoken(Side side) { return {SideName(side) + "'s turn", {}, side}; }
SpokenEvent NewGameSpoken(PlayMode mode) { return {"New game, " + ModeWords(mode), {}, {}}; }
SpokenEvent ModeSpoken(PlayMode mode) { return {"Mode " + ModeWords(mode), {}, {}}; }

SpokenEvent EndSpoken(const GameState& state) {
  const Side winner = Winner(state);
  const Side loser = winner == Side::PlayerOne ? OpponentIn(state.mode) : Side::PlayerOne;
  return {SideName(winner) + " wins, " + std::to_string(state.score(winner)) + " to " +
              std::to_string(state.score(loser)),
          {},
          {}};
}

std::string Utterance(const std::vector<SpokenEvent>& events) {
  std::string said;
  int lastMover = 0;  // IndexOf the side last named as mover; 0 is nobody
  for (std::size_t i = 0; i < events.size(); ++i) {
    const SpokenEvent& event = events[i];
    if (event.turnOf && i + 1 < events.size() && events[i + 1].claimedBy == event.turnOf) continue;
    std::string sentence = event.words;
    if (event.claimedBy && IndexOf(*event.claimedBy) != lastMover)
      sentence = SideName(*event.claimedBy) + ": " + sentence;
    // Squares and scores go on with the same mover; a turn goes on with another.
    if (event.claimedBy) lastMover = IndexOf(*event.claimedBy);
    if (event.turnOf) lastMover = 0;
    if (!said.empty()) said += " ";
    said += withCapital(sentence) + ".";
  }
  return said;
}

std::string ScoresAnswer(const GameState& state, bool anyGamePlayed) {
  const Side opponent = OpponentIn(state.mode);
  if (!anyGamePlayed) return "No game yet. " + ModeWords(state.mode);
  const std::string scores = SideName(Side::PlayerOne) + " " + std::to_string(state.score(Side::PlayerOne)) +
                             ", " + SideName(opponent) + " " + std::to_string(state.score(opponent));
  if (!state.running) return "Game over. " + EndSpoken(state).words;
  return scores + ". " + TurnSpoken(state.turn).words;
}

std::string TimeAnswer(const GameClock& clock) {
  std::string said = "Game time";
  if (clock.hours > 0) said += " " + unitWords(clock.hours, "hour");
  if (clock.hours > 0 || clock.minutes > 0) said += " " + unitWords(clock.minutes, "minute");
  return said + " " + unitWords(clock.seconds, "second");
}

std::string SquaresBesideAnswer(const Board& board, int line,
                                const std::vector<std::optional<Side>>& owners) {
  const bool horizontal = IsHorizontal(line);
  const char* names[2] = {horizontal ? "above" : "left", horizontal ? "below" : "right"};
  const auto squares = SquaresBeside(line);
  std::string said;
  for (int i = 0; i < 2; ++i) {
    if (!said.empty()) said += ", ";
    said += squares[i] == 0
                ? std::string("edge ") + names[i]
                : std::string("square ") + names[i] + ": " + sidesWords(board, squares[i], owners);
  }
  return said;
}

std::string RefusalAnswer(const GameState& state, int line, std::optional<Side> owner) {
  if (!state.running) return "No game. Menu, Play, boy starts one";
  if (state.board.claimed(line)) return "Taken by " + (owner ? SideName(*owner) : std::string("a player"));
  if (state.turn == Side::Computer) return "Wait, " + TurnSpoken(Side::Computer).words;
  return {};
}

}  // namespace nokturna
