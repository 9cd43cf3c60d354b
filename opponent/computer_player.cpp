// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "opponent/computer_player.h"

#include "engine/line_claiming.h"

namespace nokturna {

namespace {

// The free side of the first square, in square order, that has three sides claimed; 0 if none.
int closingLine(const Board& board) {
  for (int square = 1; square <= kSquareCount; ++square) {
    int claimedSides = 0;
    int freeSide = 0;
    for (int side : SidesOfSquare(square)) {
      if (board.claimed(side)) {
        ++claimedSides;
      } else {
        freeSide = side;
      }
    }
    if (claimedSides == 3) return freeSide;
  }
  return 0;
}

// A free line is unsafe when it would give a square beside it its third side.
bool givesAwaySquare(const Board& board, int line) {
  for (int square : SquaresBeside(line)) {
    if (square != 0 && board.claimedSides(square) > 1) return true;
  }
  return false;
}

}  // namespace

int ChooseLine(const Board& board, Random& random) {
  if (const int line = closingLine(board)) return line;

  // Drawing a claimed line costs nothing, so with no free line the draws would never end.
  if (!board.anyLineFree()) return 0;

  int countedDraws = 0;
  for (;;) {
    const int candidate = static_cast<int>(random.next() * kLineCount) + 1;
    if (board.claimed(candidate)) continue;
    if (++countedDraws >= kLastCountedDraw || !givesAwaySquare(board, candidate)) return candidate;
  }
}

void TakeComputerTurn(Game& game) {
  if (!game.state.running || game.state.turn != Side::Computer) return;
  if (const int line = ChooseLine(game.state.board, game.random)) ClaimLine(game, line);
}

}  // namespace nokturna
