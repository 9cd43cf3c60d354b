// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/board_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace nokturna {
namespace {

// The board picture paints its posts on this lattice (pixels).
constexpr int kFirstPostX = 47, kFirstPostY = 42, kPostPitchX = 75, kPostPitchY = 63;

TEST(BoardLayout, EveryRowCopiesTheDesignersTopRowOneRowOfPostsLower) {
  const BoardLayout l = PlaceBoard();
  EXPECT_EQ(l.lines[106].left, 780);
  EXPECT_EQ(l.lines[106].top, 7195);
  EXPECT_EQ(l.lines[98].left, 660);
  EXPECT_EQ(l.lines[98].top, 6380);
  EXPECT_EQ(l.markers[49].left, 7660);
  EXPECT_EQ(l.markers[49].top, 6390);
  EXPECT_EQ(l.markers[1].left, 880);
  EXPECT_EQ(l.markers[1].top, 720);

  for (int r = 0; r <= 7; ++r) {
    for (int c = 1; c <= 7; ++c) {
      EXPECT_EQ(l.lines[15 * r + c].left, l.lines[c].left);
      EXPECT_EQ(l.lines[15 * r + c].top, 580 + 945 * r);
    }
  }
  for (int r = 0; r <= 6; ++r) {
    for (int c = 1; c <= 8; ++c) {
      EXPECT_EQ(l.lines[15 * r + 7 + c].left, l.lines[7 + c].left);
      EXPECT_EQ(l.lines[15 * r + 7 + c].top, 710 + 945 * r);
    }
  }
  for (int q = 1; q <= kSquareCount; ++q) {
    EXPECT_EQ(l.markers[q].left, 880 + 1130 * ((q - 1) % 7)) << q;
    EXPECT_EQ(l.markers[q].top, 720 + 945 * ((q - 1) / 7)) << q;
  }
}

TEST(BoardLayout, EveryLineImageLiesBetweenTheTwoPostsItJoins) {
  const BoardLayout layout = PlaceBoard();
  for (int line = 1; line <= kLineCount; ++line) {
    const TwipPoint p = layout.lines[line];
    const int left = TwipsToPixels(p.left), top = TwipsToPixels(p.top);
    const int block = (line - 1) / 15, m = (line - 1) % 15;
    if (IsHorizontal(line)) {
      const int postX = kFirstPostX + kPostPitchX * m, postY = kFirstPostY + kPostPitchY * block;
      const int right = left + kHorizontalLineWidth / kTwipsPerPixel;
      EXPECT_GT(left, postX) << line;
      EXPECT_LT(right, postX + kPostPitchX) << line;
      EXPECT_LE(std::abs(top + 4 - postY), 1) << line;  // bar centred on the post row
    } else {
      const int postX = kFirstPostX + kPostPitchX * (m - 7), postY = kFirstPostY + kPostPitchY * block;
      const int bottom = top + kVerticalLineHeight / kTwipsPerPixel;
      EXPECT_GT(top, postY) << line;
      EXPECT_LT(bottom, postY + kPostPitchY) << line;
      EXPECT_LE(std::abs(left + 4 - postX), 2) << line;
    }
  }
}

}  // namespace
}  // namespace nokturna
