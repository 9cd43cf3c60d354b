#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "recording_window.h"

namespace nokturna {
namespace {

using testing::TestGame;

TEST(BoardNumbering, EveryLineFindsExactlyTheSquaresThatHaveItAsASide) {
  std::map<int, std::set<int>> squaresOfLine;
  for (int q = 1; q <= kSquareCount; ++q) {
    for (int side : sidesOfSquare(q)) squaresOfLine[side].insert(q);
  }
  for (int line = 1; line <= kLineCount; ++line) {
    std::set<int> found;
    for (int side = 1; side <= 2; ++side) {
      if (int q = squareOnSide(line, side)) found.insert(q);
    }
    EXPECT_EQ(found, squaresOfLine[line]) << "line " << line;
  }
}

TEST(BoardNumbering, SideStepsLeadToTheOtherThreeSidesOfThatVerySquare) {
  TestGame t;
  for (int line = 1; line <= kLineCount; ++line) {
    for (int side = 1; side <= 2; ++side) {
      const int q = squareOnSide(line, side);
      if (q == 0) continue;
      auto others = otherSides(t.state(), line, side);
      std::set<int> got(others.begin(), others.end());
      got.insert(line);
      auto sides = sidesOfSquare(q);
      EXPECT_EQ(got, std::set<int>(sides.begin(), sides.end())) << "line " << line << " side " << side;
    }
  }
}

TEST(BoardNumbering, EdgesAndNamedLines) {
  EXPECT_EQ(squareOnSide(15, 1), 7);
  EXPECT_EQ(squareOnSide(15, 2), 0);
  EXPECT_EQ(squareOnSide(8, 1), 0);
  EXPECT_EQ(squareOnSide(8, 2), 1);
  EXPECT_EQ(squareOnSide(1, 1), 0);
  EXPECT_EQ(squareOnSide(1, 2), 1);
  EXPECT_EQ(squareOnSide(112, 1), 49);
  EXPECT_EQ(squareOnSide(112, 2), 0);
  EXPECT_EQ(squareOnSide(61, 1), 22);
  EXPECT_EQ(squareOnSide(61, 2), 29);
  EXPECT_EQ(squareOnSide(23, 1), 0);
  EXPECT_EQ(squareOnSide(23, 2), 8);

  TestGame t;
  auto others = otherSides(t.state(), 23, 2);
  EXPECT_EQ(std::set<int>(others.begin(), others.end()), (std::set<int>{16, 31, 24}));
}

TEST(BoardNumbering, KindsAtLoadFollowTheBlocksOfFifteen) {
  TestGame t;
  int horizontal = 0;
  for (int line = 1; line <= kLineCount; ++line) {
    const bool expectHorizontal = (line - 1) % 15 < 7;
    EXPECT_EQ(isHorizontal(line), expectHorizontal) << line;
    EXPECT_EQ(t.state().lineState[line][1], expectHorizontal ? kHorizontal : kVertical) << line;
    horizontal += expectHorizontal;
  }
  EXPECT_EQ(horizontal, 56);
  for (int line : {1, 7, 106, 112}) EXPECT_TRUE(isHorizontal(line));
  for (int line : {8, 15, 98, 105}) EXPECT_FALSE(isHorizontal(line));
}

}  // namespace
}  // namespace nokturna
