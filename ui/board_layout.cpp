// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/board_layout.h"

namespace nokturna {

namespace {
// Where the designer put the top row of each kind of image, by column.
constexpr std::array<int, kSquaresPerRow> kTopRowLefts = {780, 1900, 3030, 4160, 5280, 6400, 7530};
constexpr std::array<int, kPostsPerRow> kHangingRowLefts = {660, 1780, 2910, 4030, 5160, 6290, 7410, 8540};
constexpr int kTopRowTop = 580;
constexpr int kHangingRowTop = 710;
constexpr TwipPoint kFirstMarker = {880, 720};

// The labels, and the clock's fixed size.
constexpr TwipPoint kTurnLabelAt{240, 240};
constexpr TwipPoint kPlayerOneScoreAt{2040, 7800};
constexpr TwipPoint kOpponentScoreAt{5040, 7800};
constexpr TwipPoint kClockAt{6720, 7920};
constexpr int kClockWidth = 2295, kClockHeight = 375;
constexpr TwipPoint kVerdictAt{240, 2880};
constexpr int kVerdictWidth = 3495, kVerdictHeight = 855;

PixelPoint pointInPixels(TwipPoint at) { return {TwipsToPixels(at.left), TwipsToPixels(at.top)}; }

PixelRect inPixels(TwipPoint at, int width, int height) {
  return {TwipsToPixels(at.left), TwipsToPixels(at.top), TwipsToPixels(width), TwipsToPixels(height)};
}
}  // namespace

BoardLayout PlaceBoard() {
  BoardLayout layout;
  for (int line = 1; line <= kLineCount; ++line) {
    const LinePlace p = PlaceOfLine(line);
    const int rowsDown = (p.row - 1) * kRowPitchTwips;
    layout.lines[line] = p.kind == LineKind::Horizontal
                             ? TwipPoint{kTopRowLefts[p.column - 1], kTopRowTop + rowsDown}
                             : TwipPoint{kHangingRowLefts[p.column - 1], kHangingRowTop + rowsDown};
  }
  for (int square = 1; square <= kSquareCount; ++square) {
    const SquarePlace q = PlaceOfSquare(square);
    layout.markers[square] = {kFirstMarker.left + (q.column - 1) * kSquarePitchTwips,
                              kFirstMarker.top + (q.row - 1) * kRowPitchTwips};
  }
  return layout;
}

PixelRect LineImageRect(int line) {
  static const BoardLayout layout = PlaceBoard();
  const bool horizontal = IsHorizontal(line);
  return inPixels(layout.lines[line], horizontal ? kHorizontalLineWidth : kVerticalLineWidth,
                  horizontal ? kHorizontalLineHeight : kVerticalLineHeight);
}

PixelRect MarkerRect(int square) {
  static const BoardLayout layout = PlaceBoard();
  return inPixels(layout.markers[square], kMarkerWidth, kMarkerHeight);
}

PixelPoint TurnLabelAt() { return pointInPixels(kTurnLabelAt); }
PixelPoint PlayerOneScoreAt() { return pointInPixels(kPlayerOneScoreAt); }
PixelPoint OpponentScoreAt() { return pointInPixels(kOpponentScoreAt); }
PixelRect ClockRect() { return inPixels(kClockAt, kClockWidth, kClockHeight); }
PixelRect VerdictRect() { return inPixels(kVerdictAt, kVerdictWidth, kVerdictHeight); }

}  // namespace nokturna
