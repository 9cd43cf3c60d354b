// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/line_cursor.h"

#include <algorithm>

#include "engine/board_geometry.h"

namespace nokturna {

int CursorTarget(int line, CursorKey key) {
  const LinePlace here = PlaceOfLine(line);
  const auto orStay = [line](int target) { return target != 0 ? target : line; };
  const bool horizontal = here.kind == LineKind::Horizontal;
  // A horizontal line leads to the vertical lines at its left post; a vertical line to the horizontal
  // lines starting at its posts, or ending there for the rightmost column.
  const int across = std::min(here.column, kSquaresPerRow);
  switch (key) {
    case CursorKey::Left:
      return orStay(LineAt({here.row, here.column - 1, here.kind}));
    case CursorKey::Right:
      return orStay(LineAt({here.row, here.column + 1, here.kind}));
    case CursorKey::Up:
      if (horizontal) return orStay(LineAt({here.row - 1, here.column, LineKind::Vertical}));
      return LineAt({here.row, across, LineKind::Horizontal});
    case CursorKey::Down:
      if (horizontal) return orStay(LineAt({here.row, here.column, LineKind::Vertical}));
      return LineAt({here.row + 1, across, LineKind::Horizontal});
    case CursorKey::Home:
      return 1;
    case CursorKey::End:
      return kLineCount;
  }
  return line;
}

}  // namespace nokturna
