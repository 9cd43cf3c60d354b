// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/board.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

namespace nokturna {
namespace {

TEST(Board, EveryLineFindsExactlyTheSquaresThatHaveItAsASide) {
  std::map<int, std::set<int>> squaresOfLine;
  for (int q = 1; q <= kSquareCount; ++q) {
    for (int side : SidesOfSquare(q)) squaresOfLine[side].insert(q);
  }
  for (int line = 1; line <= kLineCount; ++line) {
    std::set<int> found;
    for (int q : SquaresBeside(line)) {
      if (q != 0) found.insert(q);
    }
    EXPECT_EQ(found, squaresOfLine[line]) << "line " << line;
  }
}

TEST(Board, SquaresBesideALineComeAboveOrLeftFirstWithNoneOffTheEdge) {
  const std::map<int, std::array<int, 2>> expected = {{1, {0, 1}},  {8, {0, 1}},    {15, {7, 0}},
                                                      {23, {0, 8}}, {61, {22, 29}}, {112, {49, 0}}};
  for (const auto& [line, squares] : expected) EXPECT_EQ(SquaresBeside(line), squares) << line;
  EXPECT_EQ(SidesOfSquare(8), (std::array<int, 4>{16, 31, 23, 24}));  // top, bottom, left, right
}

TEST(BoardGeometry, EveryNumberHasOnePlaceOnTheBoardAndBack) {
  std::set<std::tuple<int, int, bool>> places;
  for (int line = 1; line <= kLineCount; ++line) {
    const LinePlace p = PlaceOfLine(line);
    EXPECT_EQ(LineAt(p), line);
    EXPECT_EQ(p.kind == LineKind::Horizontal, IsHorizontal(line)) << line;
    places.insert({p.row, p.column, IsHorizontal(line)});
  }
  EXPECT_EQ(places.size(), std::size_t{kLineCount});
  EXPECT_EQ(PlaceOfLine(23), (LinePlace{2, 1, LineKind::Vertical}));
  EXPECT_EQ(PlaceOfLine(112), (LinePlace{8, 7, LineKind::Horizontal}));
  // Past the right and bottom edges, where no line starts.
  EXPECT_EQ(LineAt({1, 8, LineKind::Horizontal}), 0);
  EXPECT_EQ(LineAt({8, 1, LineKind::Vertical}), 0);
  for (int q = 1; q <= kSquareCount; ++q) EXPECT_EQ(SquareAt(PlaceOfSquare(q)), q);
  EXPECT_EQ(PlaceOfSquare(12), (SquarePlace{2, 5}));
  EXPECT_EQ(SquareAt({0, 3}), 0);
}

TEST(Board, ANewBoardHasEveryLineFreeAndOfItsBlocksKind) {
  const Board board;
  int horizontal = 0;
  for (int line = 1; line <= kLineCount; ++line) {
    const bool expectHorizontal = (line - 1) % 15 < 7;
    EXPECT_EQ(IsHorizontal(line), expectHorizontal) << line;
    EXPECT_EQ(board.lines[line].kind, expectHorizontal ? LineKind::Horizontal : LineKind::Vertical) << line;
    EXPECT_FALSE(board.claimed(line)) << line;
    horizontal += expectHorizontal;
  }
  EXPECT_EQ(horizontal, 56);
  EXPECT_TRUE(board.anyLineFree());
}

TEST(Board, ClaimedSidesCountOnlyTheSquaresOwnSides) {
  Board board;
  for (int line : {1, 8, 9}) board.lines[line].claimed = true;  // square 1: top, left, right
  EXPECT_EQ(board.claimedSides(1), 3);
  EXPECT_EQ(board.claimedSides(2), 1);  // line 9 is square 2's left side
  EXPECT_EQ(board.claimedSides(8), 0);
  for (Line& line : board.lines) line.claimed = true;
  EXPECT_FALSE(board.anyLineFree());
}

}  // namespace
}  // namespace nokturna
