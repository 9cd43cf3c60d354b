// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Where the main window's images and labels sit, and the winner window's verdict. The windows were
// designed in twips (15 to a logical pixel); the designer's numbers stay in this one table, and the
// windows ask for logical pixels. Plain C++: the board's shape without any window.
#pragma once

#include <array>

#include "engine/board_geometry.h"

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

// The top left corner of every line and marker image, in twips. The designer placed the top row of each
// kind; every further row copies its lefts one row of posts lower.
BoardLayout PlaceBoard();

constexpr int TwipsToPixels(int twips) { return (twips * 2 + kTwipsPerPixel) / (2 * kTwipsPerPixel); }

// In logical pixels from here on.
struct PixelPoint {
  int left = 0;
  int top = 0;
};

struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

PixelRect LineImageRect(int line);
PixelRect MarkerRect(int square);

// The labels' top left corners (they size themselves to their captions), and the clock's fixed rectangle.
PixelPoint TurnLabelAt();
PixelPoint PlayerOneScoreAt();
PixelPoint OpponentScoreAt();
PixelRect ClockRect();
// On the winner window, in the lower part of its picture.
PixelRect VerdictRect();

}  // namespace nokturna
