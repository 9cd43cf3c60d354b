#include "ui/board_layout.h"

namespace nokturna {

namespace {
// Where the designer put the top row of each kind of image.
constexpr std::array<int, 7> kTopRowLefts = {780, 1900, 3030, 4160, 5280, 6400, 7530};
constexpr std::array<int, 8> kHangingRowLefts = {660, 1780, 2910, 4030, 5160, 6290, 7410, 8540};
constexpr int kTopRowTop = 580;
constexpr int kHangingRowTop = 710;
constexpr TwipPoint kFirstMarker = {880, 720};
}  // namespace

BoardLayout PlaceBoard() {
  BoardLayout layout;
  for (int row = 0; row < 8; ++row) {
    const int firstLine = row * kLinesPerBlock + 1;
    for (int c = 0; c < 7; ++c) {
      layout.lines[firstLine + c] = {kTopRowLefts[c], kTopRowTop + row * kRowPitchTwips};
    }
    if (row == 7) break;  // no lines hang below the last row of posts
    for (int c = 0; c < 8; ++c) {
      layout.lines[firstLine + 7 + c] = {kHangingRowLefts[c], kHangingRowTop + row * kRowPitchTwips};
    }
  }
  for (int square = 1; square <= kSquareCount; ++square) {
    const int row = (square - 1) / kSquaresPerRow, column = (square - 1) % kSquaresPerRow;
    layout.markers[square] = {kFirstMarker.left + column * kSquarePitchTwips,
                              kFirstMarker.top + row * kRowPitchTwips};
  }
  return layout;
}

}  // namespace nokturna
