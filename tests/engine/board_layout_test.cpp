#include <gtest/gtest.h>

#include "recording_window.h"

namespace nokturna {
namespace {

using testing::TestGame;

// The board picture paints its posts on this lattice (pixels).
constexpr int kFirstPostX = 47, kFirstPostY = 42, kPostPitchX = 75, kPostPitchY = 63;

TEST(BoardLayout, LoadPlacesEveryRowFromTheDesignersTopRow) {
  TestGame t;
  const BoardLayout& l = t.game.layout;
  EXPECT_EQ(l.box[106].left, 780);
  EXPECT_EQ(l.box[106].top, 7195);
  EXPECT_EQ(l.box[98].left, 660);
  EXPECT_EQ(l.box[98].top, 6380);
  EXPECT_EQ(l.bola[49].left, 7660);
  EXPECT_EQ(l.bola[49].top, 6390);
  EXPECT_EQ(l.bola[1].left, 880);
  EXPECT_EQ(l.bola[1].top, 720);

  for (int r = 0; r <= 7; ++r) {
    for (int c = 1; c <= 7; ++c) {
      EXPECT_EQ(l.box[15 * r + c].left, l.box[c].left);
      EXPECT_EQ(l.box[15 * r + c].top, 580 + 945 * r);
    }
  }
  for (int r = 0; r <= 6; ++r) {
    for (int c = 1; c <= 8; ++c) {
      EXPECT_EQ(l.box[15 * r + 7 + c].left, l.box[7 + c].left);
      EXPECT_EQ(l.box[15 * r + 7 + c].top, 710 + 945 * r);
    }
  }
  for (int q = 1; q <= kSquareCount; ++q) {
    EXPECT_EQ(l.bola[q].left, 880 + 1130 * ((q - 1) % 7)) << q;
    EXPECT_EQ(l.bola[q].top, 720 + 945 * ((q - 1) / 7)) << q;
  }
}

TEST(BoardLayout, EveryLineImageLiesBetweenTheTwoPostsItJoins) {
  TestGame t;
  for (int line = 1; line <= kLineCount; ++line) {
    const TwipPoint p = t.game.layout.box[line];
    const int left = twipsToPixels(p.left), top = twipsToPixels(p.top);
    const int block = (line - 1) / 15, m = (line - 1) % 15;
    if (isHorizontal(line)) {
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

TEST(BoardLayout, LoadLeavesNoGameRunningInPersonAgainstComputerMode) {
  TestGame t;
  const GameState& s = t.state();
  EXPECT_TRUE(s.gameStopped);
  EXPECT_EQ(s.playMode, kPersonVsComputer);
  EXPECT_EQ(s.playerName[1], "Player 1");
  EXPECT_EQ(s.playerName[2], "Daviz Edezo");
  EXPECT_EQ(s.playerName[3], "Player 2");
  EXPECT_EQ(s.sideStep, (std::array<std::int16_t, 5>{0, 15, 7, 8, 1}));
  EXPECT_EQ(s.currentSong, 0);
  // Load sets no caption, picture or timer: the designer's board stays until the first game.
  EXPECT_TRUE(t.window.log.empty());
}

}  // namespace
}  // namespace nokturna
