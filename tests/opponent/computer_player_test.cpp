// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "opponent/computer_player.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/new_game.h"
#include "recording_events.h"

namespace nokturna {
namespace {

using testing::TestGame;

Board boardWith(std::initializer_list<int> claimed) {
  Board board;
  for (int line : claimed) board.lines[line].claimed = true;
  return board;
}

// The most sides any square beside the free `line` has claimed already.
int worstNeighbour(const Board& board, int line) {
  int worst = 0;
  for (int square : SquaresBeside(line)) {
    if (square == 0) continue;
    const auto sides = SidesOfSquare(square);
    worst = std::max<int>(worst,
                          std::count_if(sides.begin(), sides.end(), [&](int s) { return board.claimed(s); }));
  }
  return worst;
}

// A running game with the computer to move.
struct ComputerToMove : TestGame {
  explicit ComputerToMove(std::uint64_t seed = 7) : TestGame(seed) {
    StartNewGame(game);
    state().turn = Side::Computer;
    events.log.clear();
  }
};

TEST(ComputerPlayer, ClosesASquareWhoseOnlyFreeSideIsItsTop) {
  Random random(7);
  EXPECT_EQ(ChooseLine(boardWith({31 + 15, 31 + 7, 31 + 8}), random), 31);  // square 15
}

TEST(ComputerPlayer, ClosesTheLowestNumberedThreeSidedSquareFirst) {
  Random random(7);
  // Square 12 lacks its right side 28, square 26 its left side 57.
  EXPECT_EQ(ChooseLine(boardWith({20, 35, 27, 50, 65, 58}), random), 28);
  EXPECT_EQ(ChooseLine(boardWith({20, 35, 27, 28, 50, 65, 58}), random), 57);
}

TEST(ComputerPlayer, ALineSharedByTwoThreeSidedSquaresWinsBothAndTheComputerGoesOn) {
  ComputerToMove t;
  t.claimAll({1, 8, 16, 2, 10, 17});
  TakeComputerTurn(t.game);
  EXPECT_TRUE(t.state().board.claimed(9));
  EXPECT_EQ(t.state().score(Side::Computer), 2);
  EXPECT_EQ(t.events.log.back(), "computerTurnDue");  // a won square keeps the turn for another pause
}

TEST(ComputerPlayer, ARandomLineNeverHandsOverAThirdSideWhileASafeOneExists) {
  // Squares 1 and 9 have two sides each; lines around them are the dangerous ones.
  const Board board = boardWith({1, 8, 17, 32});
  for (std::uint64_t seed = 1; seed <= 300; ++seed) {
    Random random(seed);
    const int line = ChooseLine(board, random);
    ASSERT_FALSE(board.claimed(line)) << "seed " << seed;
    EXPECT_LE(worstNeighbour(board, line), 1) << "seed " << seed << " line " << line;
  }
}

TEST(ComputerPlayer, WhenEveryFreeLineIsUnsafeTheThreeHundredFiftiethCountedDrawIsTaken) {
  // Every vertical line claimed: each square has two sides, so every horizontal line is unsafe.
  // Draws that hit a claimed vertical line are not counted.
  Board board;
  for (int line = 1; line <= kLineCount; ++line) board.lines[line].claimed = !IsHorizontal(line);

  Random replay(11);
  int counted = 0, expected = 0;
  while (counted < kLastCountedDraw) {
    const int candidate = static_cast<int>(replay.next() * kLineCount) + 1;
    if (board.claimed(candidate)) continue;
    if (++counted == kLastCountedDraw) expected = candidate;
  }
  Random random(11);
  EXPECT_EQ(ChooseLine(board, random), expected);
}

TEST(ComputerPlayer, WithNoFreeLineItChoosesNothingAndTakesNoTurn) {
  ComputerToMove t;
  for (Line& line : t.state().board.lines) line.claimed = true;
  EXPECT_EQ(ChooseLine(t.state().board, t.game.random), 0);
  TakeComputerTurn(t.game);
  EXPECT_TRUE(t.events.log.empty());
}

TEST(ComputerPlayer, ATurnThatOutlivedItsGameOrItsTurnNeverMoves) {
  TestGame t;
  PlayChosen(t.game);  // Player 1 to move
  TakeComputerTurn(t.game);
  t.state().running = false;
  t.state().turn = Side::Computer;
  TakeComputerTurn(t.game);
  for (int line = 1; line <= kLineCount; ++line) EXPECT_FALSE(t.state().board.claimed(line)) << line;
}

TEST(ComputerPlayer, TurnsReadNoClockSoTheSameSeedPlaysTheSameGame) {
  ComputerToMove first(5), second(5);
  const std::uint64_t seeded = first.clockValue;
  for (ComputerToMove* t : {&first, &second}) {
    for (int move = 0; move < 20; ++move) {
      t->state().turn = Side::Computer;
      TakeComputerTurn(t->game);
    }
  }
  EXPECT_EQ(first.clockValue, seeded);
  EXPECT_EQ(first.events.log, second.events.log);
}

}  // namespace
}  // namespace nokturna
