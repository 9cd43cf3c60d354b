#include "opponent/computer_move.h"

#include "engine/line_claiming.h"

namespace nokturna {

namespace {

// Tier 1: the fourth side of the first three-sided square, in square-number order; 0 if none.
int closingLine(const GameState& s) {
  for (int rowTop = 1; rowTop <= 91; rowTop += kLinesPerBlock) {
    for (int top = rowTop; top <= rowTop + 6; ++top) {
      int claimedSides = 0;
      int freeSide = 0;
      for (int side : {top, top + s.sideStep[1], top + s.sideStep[2], top + s.sideStep[3]}) {
        if (s.claimed(side)) {
          ++claimedSides;
        } else {
          freeSide = side;
        }
      }
      if (claimedSides == 3) return freeSide;
    }
  }
  return 0;
}

// A line is unsafe when it would give a neighbouring square its third side.
bool givesAwaySquare(const GameState& s, int line) {
  for (int side = 1; side <= 2; ++side) {
    if (squareOnSide(line, side) == 0) continue;
    int claimedSides = 0;
    for (int other : otherSides(s, line, side)) claimedSides += s.lineState[other][2];
    if (claimedSides > 1) return true;
  }
  return false;
}

bool anyLineFree(const GameState& s) {
  for (int line = 1; line <= kLineCount; ++line) {
    if (!s.claimed(line)) return true;
  }
  return false;
}

}  // namespace

void ComputerMove(Game& game) {
  const GameState& s = game.state;
  if (const int line = closingLine(s)) {
    ClaimLine(game, line);
    return;
  }

  // Drawing a claimed line costs nothing, so with no free line the draws would never end.
  if (!anyLineFree(s)) return;

  int countedDraws = 0;
  game.random.reseedFromClock();
  for (;;) {
    const int candidate = static_cast<int>(game.random.next() * kLineCount) + 1;
    if (s.claimed(candidate)) continue;
    if (++countedDraws >= kLastCountedDraw || !givesAwaySquare(s, candidate)) {
      ClaimLine(game, candidate);
      return;
    }
  }
}

}  // namespace nokturna
