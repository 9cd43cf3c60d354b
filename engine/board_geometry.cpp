// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/board_geometry.h"

namespace nokturna {

namespace {
using geometry_detail::kLinesPerPostRow;

int columnsOf(LineKind kind) { return kind == LineKind::Horizontal ? kSquaresPerRow : kPostsPerRow; }
int rowsOf(LineKind kind) { return kind == LineKind::Horizontal ? kPostsPerRow : kSquaresPerRow; }
}  // namespace

LinePlace PlaceOfLine(int line) {
  const int row = (line - 1) / kLinesPerPostRow + 1;
  const int place = (line - 1) % kLinesPerPostRow;
  if (place < kSquaresPerRow) return {row, place + 1, LineKind::Horizontal};
  return {row, place - kSquaresPerRow + 1, LineKind::Vertical};
}

int LineAt(const LinePlace& p) {
  if (p.row < 1 || p.row > rowsOf(p.kind) || p.column < 1 || p.column > columnsOf(p.kind)) return 0;
  const int firstOfRow = (p.row - 1) * kLinesPerPostRow + 1;
  return p.kind == LineKind::Horizontal ? firstOfRow + p.column - 1
                                        : firstOfRow + kSquaresPerRow + p.column - 1;
}

SquarePlace PlaceOfSquare(int square) {
  return {(square - 1) / kSquaresPerRow + 1, (square - 1) % kSquaresPerRow + 1};
}

int SquareAt(const SquarePlace& p) {
  if (p.row < 1 || p.row > kSquaresPerRow || p.column < 1 || p.column > kSquaresPerRow) return 0;
  return (p.row - 1) * kSquaresPerRow + p.column;
}

// A line starting at a post borders the square whose top left corner is that post, and the one before it
// across the line: above a horizontal line, to the left of a vertical one.
std::array<int, 2> SquaresBeside(int line) {
  const LinePlace p = PlaceOfLine(line);
  if (p.kind == LineKind::Horizontal) return {SquareAt({p.row - 1, p.column}), SquareAt({p.row, p.column})};
  return {SquareAt({p.row, p.column - 1}), SquareAt({p.row, p.column})};
}

std::array<int, 4> SidesOfSquare(int square) {
  const SquarePlace q = PlaceOfSquare(square);
  return {LineAt({q.row, q.column, LineKind::Horizontal}),
          LineAt({q.row + 1, q.column, LineKind::Horizontal}), LineAt({q.row, q.column, LineKind::Vertical}),
          LineAt({q.row, q.column + 1, LineKind::Vertical})};
}

}  // namespace nokturna
