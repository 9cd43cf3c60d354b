// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/board.h"

namespace nokturna {

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
