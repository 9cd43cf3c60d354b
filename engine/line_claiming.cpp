// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/line_claiming.h"

#include "engine/end_of_game.h"

namespace nokturna {

namespace {
Side nextTurn(const GameState& s) { return s.turn == Side::PlayerOne ? OpponentIn(s.mode) : Side::PlayerOne; }
}  // namespace

void LineClicked(Game& game, int line) {
  const GameState& s = game.state;
  if (line < 1 || line > kLineCount) return;
  if (!s.running || s.board.claimed(line) || s.turn == Side::Computer) return;
  ClaimLine(game, line);
}

void ClaimLine(Game& game, int line) {
  GameState& s = game.state;
  GameEvents& events = game.events;
  const Side mover = s.turn;

  s.board.lines[line].claimed = true;
  // The line shows and sounds before anything else is settled.
  events.lineClaimed(line, mover);

  bool wonSquare = false;
  for (int square : SquaresBeside(line)) {
    if (square == 0 || s.board.claimedSides(square) < 4) continue;
    ++s.score(mover);
    ++s.squaresWon;
    wonSquare = true;
    events.squareWon(square, mover);
  }
  if (wonSquare) events.scoreChanged(mover, s.score(mover));

  if (s.squaresWon >= kSquareCount) {
    EndGame(game);
    return;
  }

  // Winning a square earns another move; otherwise the other side is up.
  if (!wonSquare) {
    s.turn = nextTurn(s);
    events.turnPassed(s.turn);
  }
  if (s.turn == Side::Computer) events.computerTurnDue();
}

}  // namespace nokturna
