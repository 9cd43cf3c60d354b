#include "engine/game_state.h"

namespace nokturna {

int squareOnSide(int line, int side) {
  const int m = line % kLinesPerBlock;
  const int blockStart = (line - m) / kLinesPerBlock * 7;  // squares above this block's row of posts
  if (isHorizontal(line)) {
    if (side == 1) return line <= 7 ? 0 : blockStart + m - 7;
    return line >= 106 ? 0 : blockStart + m;
  }
  if (m == 0) return side == 1 ? line / kLinesPerBlock * 7 : 0;  // rightmost column: nothing to its right
  if (m == 8 && side == 1) return 0;                             // leftmost column: nothing to its left
  return blockStart + (m - 8) + (side == 2 ? 1 : 0);
}

std::array<int, 3> otherSides(const GameState& state, int line, int side) {
  const auto& step = state.sideStep;
  if (isHorizontal(line)) {
    const int sign = side == 1 ? -1 : 1;  // the square above lies a block back, the one below a block on
    return {line + sign * step[1], line + sign * step[2], line + sign * step[3]};
  }
  if (side == 1) return {line + step[2], line - step[3], line - step[4]};
  return {line - step[2], line + step[3], line + step[4]};
}

std::array<int, 4> sidesOfSquare(int square) {
  const int row = (square - 1) / 7;
  const int column = (square - 1) % 7 + 1;
  const int top = kLinesPerBlock * row + column;
  return {top, top + 15, top + 7, top + 8};
}

}  // namespace nokturna
