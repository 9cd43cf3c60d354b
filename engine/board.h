// The board's numbering and the state of its lines. 8 x 8 posts are joined by 112 lines around 49
// squares; lines and squares are numbered from 1 in reading order, block by block: a row of posts carries
// 7 horizontal lines, then the 8 vertical lines that hang below it.
#pragma once

#include <array>

namespace nokturna {

inline constexpr int kLineCount = 112;     // 8 rows of 7 horizontal lines, 7 gaps of 8 vertical lines
inline constexpr int kSquareCount = 49;    // 7 by 7 squares
inline constexpr int kLinesPerBlock = 15;  // one post row: 7 horizontal lines, then the 8 hanging below it
inline constexpr int kSquaresPerRow = 7;

// From a square's top side to its four sides (top, bottom, left, right): the bottom one is a block of
// lines further on, the left and right ones hang from the top side's row of posts 7 and 8 lines on.
inline constexpr std::array<int, 4> kSideOffsets = {0, kLinesPerBlock, 7, 8};

enum class LineKind { Vertical, Horizontal };

constexpr bool IsHorizontal(int line) { return (line - 1) % kLinesPerBlock < 7; }

// The squares on either side of a line: above then below a horizontal line, left then right of a
// vertical one; 0 where the line runs along the board's edge.
std::array<int, 2> SquaresBeside(int line);

// The four sides of a square: top, bottom, left, right.
std::array<int, 4> SidesOfSquare(int square);

struct Line {
  LineKind kind = LineKind::Horizontal;
  bool claimed = false;
};

struct Board {
  Board();  // every line free

  bool claimed(int line) const { return lines[line].claimed; }
  // How many of the square's four sides are claimed.
  int claimedSides(int square) const;
  bool anyLineFree() const;

  std::array<Line, kLineCount + 1> lines;  // lines 1..112; entry 0 is no line
};

}  // namespace nokturna
