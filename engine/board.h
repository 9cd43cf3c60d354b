// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The state of the board's lines: which are claimed. Where each line and square lies, and which squares
// a line borders, is the board's geometry (board_geometry.h).
#pragma once

#include <array>

#include "engine/board_geometry.h"

namespace nokturna {

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
