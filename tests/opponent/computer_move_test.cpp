#include "opponent/computer_move.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/new_game.h"
#include "recording_window.h"

namespace nokturna {
namespace {

using testing::TestGame;

struct ComputerToMove : TestGame {
  explicit ComputerToMove(std::uint64_t seed = 7) : TestGame(seed) {
    NewGame(game);
    state().turn = kComputer;
    window.log.clear();
  }
  std::vector<int> claimedLines() const {
    std::vector<int> lines;
    for (int line = 1; line <= kLineCount; ++line) {
      if (game.state.claimed(line)) lines.push_back(line);
    }
    return lines;
  }
  int onlyNewLine(const std::vector<int>& before) const {
    std::vector<int> now = claimedLines();
    EXPECT_EQ(now.size(), before.size() + 1);
    for (int line : now) {
      if (std::find(before.begin(), before.end(), line) == before.end()) return line;
    }
    return 0;
  }
};

// How many of the other three sides of each square next to `line` are claimed; the largest count.
int worstNeighbour(const GameState& s, int line) {
  int worst = 0;
  for (int side = 1; side <= 2; ++side) {
    if (!squareOnSide(line, side)) continue;
    int count = 0;
    for (int other : otherSides(s, line, side)) count += s.lineState[other][2];
    worst = std::max(worst, count);
  }
  return worst;
}

TEST(ComputerMove, ClosesASquareWhoseOnlyFreeSideIsItsTop) {
  ComputerToMove t;
  t.claimAll({31 + 15, 31 + 7, 31 + 8});  // square 15: top 31 free
  ComputerMove(t.game);
  EXPECT_TRUE(t.state().claimed(31));
  EXPECT_EQ(t.window.markerPicture[15], kComputer);
}

TEST(ComputerMove, ClosesTheLowestNumberedThreeSidedSquareFirst) {
  ComputerToMove t;
  t.claimAll({20, 35, 27});  // square 12, right side 28 free
  t.claimAll({50, 65, 58});  // square 26, left side 57 free
  ComputerMove(t.game);
  EXPECT_TRUE(t.state().claimed(28));
  EXPECT_FALSE(t.state().claimed(57));
  EXPECT_EQ(t.state().turn, kComputer);  // a closed square keeps the turn for the next tick
  EXPECT_TRUE(t.window.timerOn(Timer::Timer1));
  ComputerMove(t.game);
  EXPECT_TRUE(t.state().claimed(57));
}

TEST(ComputerMove, ALineSharedByTwoThreeSidedSquaresClosesBoth) {
  ComputerToMove t;
  t.claimAll({1, 8, 16, 2, 10, 17});
  ComputerMove(t.game);
  EXPECT_TRUE(t.state().claimed(9));
  EXPECT_EQ(t.state().score[kComputer], 2);
}

TEST(ComputerMove, ARandomLineNeverHandsOverAThirdSideWhileASafeOneExists) {
  for (std::uint64_t seed = 1; seed <= 300; ++seed) {
    ComputerToMove t(seed);
    // Squares 1 and 9 have two sides each; lines around them are the dangerous ones.
    t.claimAll({1, 8, 17, 32});
    const auto before = t.claimedLines();
    ComputerMove(t.game);
    const int line = t.onlyNewLine(before);
    t.state().lineState[line][2] = 0;
    EXPECT_LE(worstNeighbour(t.state(), line), 1) << "seed " << seed << " line " << line;
  }
}

TEST(ComputerMove, WhenEveryFreeLineIsUnsafeTheThreeHundredFiftiethCountedDrawIsTaken) {
  // Every vertical line claimed: each square has two sides, so every horizontal line is unsafe.
  // Draws that hit a claimed vertical line are not counted.
  ComputerToMove t(11);
  for (int line = 1; line <= kLineCount; ++line) t.state().lineState[line][2] = !isHorizontal(line);

  // Predict the draws: the same generator, reseeded with the clock value the move will read.
  Random replay([v = t.clockValue]() mutable { return v; });
  int counted = 0, expected = 0;
  while (counted < kLastCountedDraw) {
    const int candidate = static_cast<int>(replay.next() * kLineCount) + 1;
    if (t.state().claimed(candidate)) continue;
    if (++counted == kLastCountedDraw) expected = candidate;
  }

  const auto before = t.claimedLines();
  ComputerMove(t.game);
  EXPECT_EQ(t.onlyNewLine(before), expected);
}

TEST(ComputerMove, WithNoFreeLineItReturnsWithoutAMove) {
  ComputerToMove t;
  for (int line = 1; line <= kLineCount; ++line) t.state().lineState[line][2] = 1;
  ComputerMove(t.game);
  EXPECT_TRUE(t.window.log.empty());
}

TEST(ComputerMove, ReseedsFromTheClockOnEveryRandomSearch) {
  ComputerToMove t;
  const std::uint64_t before = t.clockValue;
  ComputerMove(t.game);
  EXPECT_EQ(t.clockValue, before + 1);
}

}  // namespace
}  // namespace nokturna
