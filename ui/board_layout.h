// Where the line and marker images sit on the main window. Positions and sizes are in twips, the unit the
// window was designed in (15 to a logical pixel); TwipsToPixels turns them into logical pixels. Plain
// C++: the board's shape without any window.
#pragma once

#include <array>

#include "engine/board.h"

namespace nokturna {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kRowPitchTwips = 945;      // vertical distance between rows of posts (63 px)
inline constexpr int kSquarePitchTwips = 1130;  // horizontal distance between neighbouring markers

// Sizes never change: a line image keeps its rectangle whether or not it shows a picture.
inline constexpr int kHorizontalLineWidth = 1005, kHorizontalLineHeight = 120;  // 67 x 8 px
inline constexpr int kVerticalLineWidth = 120, kVerticalLineHeight = 825;       // 8 x 55 px
inline constexpr int kMarkerWidth = 795, kMarkerHeight = 735;                   // 53 x 49 px

struct TwipPoint {
  int left = 0;
  int top = 0;
};

struct BoardLayout {
  std::array<TwipPoint, kLineCount + 1> lines{};      // line images 1..112
  std::array<TwipPoint, kSquareCount + 1> markers{};  // marker images 1..49
};

// The top left corner of every line and marker image. The designer placed the top row of each kind; every
// further row copies its lefts one row of posts lower.
BoardLayout PlaceBoard();

constexpr int TwipsToPixels(int twips) { return (twips * 2 + kTwipsPerPixel) / (2 * kTwipsPerPixel); }

}  // namespace nokturna
