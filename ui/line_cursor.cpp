#include "ui/line_cursor.h"

#include <algorithm>

#include "engine/board.h"

namespace nokturna {

namespace {
constexpr int kHorizontalPerRow = 7;  // the first lines of a block, one per gap between posts in a row
constexpr int kVerticalPerGap = 8;    // the rest, one hanging below each post of the row
}  // namespace

int CursorTarget(int line, CursorKey key) {
  const int block = (line - 1) / kLinesPerBlock;  // the row of posts the line lies on or hangs from, from 0
  const int place = (line - 1) % kLinesPerBlock;
  const bool horizontal = place < kHorizontalPerRow;
  const int column = horizontal ? place + 1 : place - kHorizontalPerRow + 1;
  const int columns = horizontal ? kHorizontalPerRow : kVerticalPerGap;
  const int lastBlock = (kLineCount - 1) / kLinesPerBlock;
  // A horizontal line leads to the vertical lines at its left post; a vertical line to the horizontal
  // lines starting at its posts, or ending there for the rightmost column.
  const int rowAbove = block * kLinesPerBlock + std::min(column, kHorizontalPerRow);
  switch (key) {
    case CursorKey::Left:
      return column > 1 ? line - 1 : line;
    case CursorKey::Right:
      return column < columns ? line + 1 : line;
    case CursorKey::Up:
      if (horizontal) return block > 0 ? line - kLinesPerBlock + kHorizontalPerRow : line;
      return rowAbove;
    case CursorKey::Down:
      if (horizontal) return block < lastBlock ? line + kHorizontalPerRow : line;
      return rowAbove + kLinesPerBlock;
    case CursorKey::Home:
      return 1;
    case CursorKey::End:
      return kLineCount;
  }
  return line;
}

}  // namespace nokturna
