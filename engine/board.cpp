#include "engine/board.h"

namespace nokturna {

std::array<int, 2> SquaresBeside(int line) {
  const int m = line % kLinesPerBlock;
  const int squaresAbove = (line - m) / kLinesPerBlock * kSquaresPerRow;  // above this block's row of posts
  if (IsHorizontal(line)) {
    const int above = line <= 7 ? 0 : squaresAbove + m - 7;
    const int below = line >= 106 ? 0 : squaresAbove + m;
    return {above, below};
  }
  if (m == 0) return {line / kLinesPerBlock * kSquaresPerRow, 0};  // rightmost column: nothing to its right
  const int left = m == 8 ? 0 : squaresAbove + m - 8;              // leftmost column: nothing to its left
  return {left, squaresAbove + m - 7};
}

std::array<int, 4> SidesOfSquare(int square) {
  const int row = (square - 1) / kSquaresPerRow;
  const int top = kLinesPerBlock * row + (square - 1) % kSquaresPerRow + 1;
  return {top + kSideOffsets[0], top + kSideOffsets[1], top + kSideOffsets[2], top + kSideOffsets[3]};
}

Board::Board() {
  for (int line = 1; line <= kLineCount; ++line) {
    lines[line].kind = IsHorizontal(line) ? LineKind::Horizontal : LineKind::Vertical;
  }
}

int Board::claimedSides(int square) const {
  int count = 0;
  for (int side : SidesOfSquare(square)) count += claimed(side) ? 1 : 0;
  return count;
}

bool Board::anyLineFree() const {
  for (int line = 1; line <= kLineCount; ++line) {
    if (!claimed(line)) return true;
  }
  return false;
}

}  // namespace nokturna
