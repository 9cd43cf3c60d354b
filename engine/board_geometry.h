// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Where every line and square of the board lies. 8 x 8 posts are joined by 112 lines around 49 squares.
// Rows and columns count from 1 at the top left. A line is placed by the post it starts from, its top or
// left end: a horizontal line runs across to the next post on the right, a vertical one down to the next
// post below. The numbers go in reading order, one row of posts at a time: the row's 7 horizontal lines,
// then the 8 vertical lines that hang below it; squares row by row. This is the only place that knows
// how the numbers and the places go together.
#pragma once

#include <array>

namespace nokturna {

inline constexpr int kPostsPerRow = 8;  // and per column
inline constexpr int kSquaresPerRow = kPostsPerRow - 1;
inline constexpr int kLineCount = kPostsPerRow * kSquaresPerRow * 2;  // 56 of each kind
inline constexpr int kSquareCount = kSquaresPerRow * kSquaresPerRow;

enum class LineKind { Vertical, Horizontal };

struct LinePlace {
  int row = 0;     // of the post the line starts from: 1..8 across, 1..7 down
  int column = 0;  // likewise: 1..7 across, 1..8 down
  LineKind kind = LineKind::Horizontal;
  bool operator==(const LinePlace&) const = default;
};

struct SquarePlace {
  int row = 0;  // 1..7
  int column = 0;
  bool operator==(const SquarePlace&) const = default;
};

namespace geometry_detail {
inline constexpr int kLinesPerPostRow = kSquaresPerRow + kPostsPerRow;  // across, then the ones hanging below
}  // namespace geometry_detail

constexpr bool IsHorizontal(int line) {
  return (line - 1) % geometry_detail::kLinesPerPostRow < kSquaresPerRow;
}

// For a line number 1..112.
LinePlace PlaceOfLine(int line);
// The line starting there, 0 where the board has none (off the board, or past its right or bottom edge).
int LineAt(const LinePlace& place);

// For a square number 1..49.
SquarePlace PlaceOfSquare(int square);
// The square there, 0 off the board.
int SquareAt(const SquarePlace& place);

// The squares on either side of a line: above then below a horizontal line, left then right of a
// vertical one; 0 where the line runs along the board's edge.
std::array<int, 2> SquaresBeside(int line);

// The four sides of a square: top, bottom, left, right.
std::array<int, 4> SidesOfSquare(int square);

}  // namespace nokturna
