// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/line_claiming.h"

#include <gtest/gtest.h>

#include "engine/new_game.h"
#include "recording_events.h"

namespace nokturna {
namespace {

using testing::TestGame;
using Log = std::vector<std::string>;

struct Running : TestGame {
  explicit Running(PlayMode mode = PlayMode::PersonVsComputer) {
    state().mode = mode;
    StartNewGame(game);
    events.log.clear();
  }
};

TEST(LineClaiming, ClosingTheFourthSideWinsTheSquareAndKeepsTheTurn) {
  Running t;
  t.claimAll({1, 8, 16});
  ClaimLine(t.game, 9);
  // The line first, then the square and the score; no word of the turn, which stays.
  EXPECT_EQ(t.events.log, (Log{"lineClaimed 9 Player 1", "squareWon 1 Player 1", "scoreChanged Player 1 1"}));
  EXPECT_EQ(t.state().score(Side::PlayerOne), 1);
  EXPECT_EQ(t.state().squaresWon, 1);
  EXPECT_EQ(t.state().turn, Side::PlayerOne);
  EXPECT_FALSE(t.events.computerPending);
}

TEST(LineClaiming, OneLineClosingTwoSquaresWinsBothAndTellsTheScoreOnce) {
  Running t;
  t.claimAll({2, 10, 17, 1, 8, 16});
  ClaimLine(t.game, 9);
  EXPECT_EQ(t.events.log, (Log{"lineClaimed 9 Player 1", "squareWon 1 Player 1", "squareWon 2 Player 1",
                               "scoreChanged Player 1 2"}));
  EXPECT_EQ(t.state().squaresWon, 2);
}

TEST(LineClaiming, EdgeLinesLookOnlyAtTheSquareInsideTheBoard) {
  // Each edge line completes its one square when that square's other sides are down.
  struct Case {
    int line;
    std::initializer_list<int> others;
    int square;
  };
  for (const Case& c : {Case{8, {1, 16, 9}, 1}, Case{15, {7, 22, 14}, 7}, Case{3, {18, 10, 11}, 3},
                        Case{108, {93, 100, 101}, 45}}) {
    Running t;
    t.claimAll(c.others);
    ClaimLine(t.game, c.line);
    EXPECT_EQ(t.state().squaresWon, 1) << c.line;
    EXPECT_EQ(t.events.squareOwner[c.square], Side::PlayerOne) << c.line;
  }
}

TEST(LineClaiming, TurnPassesBetweenTheTwoPeopleInPersonAgainstPersonMode) {
  Running t(PlayMode::PersonVsPerson);
  ClaimLine(t.game, 50);
  ClaimLine(t.game, 8);
  EXPECT_EQ(t.events.log, (Log{"lineClaimed 50 Player 1", "turnPassed Player 2", "lineClaimed 8 Player 2",
                               "turnPassed Player 1"}));
  EXPECT_TRUE(t.state().board.claimed(50));
  EXPECT_EQ(t.events.lineOwner[8], Side::PlayerTwo);
  EXPECT_EQ(t.state().turn, Side::PlayerOne);
}

TEST(LineClaiming, PassingToTheComputerMakesItsTurnDueAndBlocksClicks) {
  Running t;
  LineClicked(t.game, 50);
  EXPECT_EQ(t.events.log, (Log{"lineClaimed 50 Player 1", "turnPassed Daviz Edezo", "computerTurnDue"}));
  EXPECT_EQ(t.state().turn, Side::Computer);
  LineClicked(t.game, 51);
  EXPECT_FALSE(t.state().board.claimed(51));
}

TEST(LineClaiming, TheOpponentWinningASquareKeepsTheTurnAndTheComputerIsDueAgain) {
  for (const PlayMode mode : {PlayMode::PersonVsComputer, PlayMode::PersonVsPerson}) {
    Running t(mode);
    const Side opponent = OpponentIn(mode);
    t.state().turn = opponent;
    t.claimAll({1, 8, 16});
    ClaimLine(t.game, 9);
    const std::string name = SideName(opponent);
    Log expected = {"lineClaimed 9 " + name, "squareWon 1 " + name, "scoreChanged " + name + " 1"};
    if (opponent == Side::Computer) expected.push_back("computerTurnDue");
    EXPECT_EQ(t.events.log, expected);
    EXPECT_EQ(t.state().turn, opponent);
    EXPECT_EQ(t.state().score(opponent), 1);
  }
}

TEST(LineClaiming, ClicksAreIgnoredBeforeAGameOnATakenLineAndOutOfRange) {
  TestGame idle;
  LineClicked(idle.game, 5);
  EXPECT_FALSE(idle.state().board.claimed(5));
  EXPECT_TRUE(idle.events.log.empty());

  Running t(PlayMode::PersonVsPerson);
  LineClicked(t.game, 5);
  t.events.log.clear();
  LineClicked(t.game, 5);
  LineClicked(t.game, 0);
  LineClicked(t.game, 113);
  EXPECT_TRUE(t.events.log.empty());
  EXPECT_EQ(t.state().turn, Side::PlayerTwo);
}

}  // namespace
}  // namespace nokturna
