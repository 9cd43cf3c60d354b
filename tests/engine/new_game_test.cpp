// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/new_game.h"

#include <gtest/gtest.h>

#include "engine/line_claiming.h"
#include "recording_events.h"

namespace nokturna {
namespace {

using testing::TestGame;
using Log = std::vector<std::string>;

TEST(NewGame, BeforeTheFirstGameNothingRunsInPersonAgainstComputerMode) {
  TestGame t;
  EXPECT_FALSE(t.state().running);
  EXPECT_EQ(t.state().mode, PlayMode::PersonVsComputer);
  EXPECT_TRUE(t.events.log.empty());  // the board as designed stays until the first game
}

TEST(NewGame, PlayBeforeAnyGameStartsAtOnceOnABlankBoard) {
  TestGame t;
  PlayChosen(t.game);
  EXPECT_TRUE(t.events.questions.empty());
  // No clock moves: it shows the last game's time until its first tick.
  EXPECT_EQ(t.events.log, (Log{"computerTurnCancelled", "gameStarted Player 1"}));
  EXPECT_TRUE(t.state().running);
  EXPECT_EQ(t.state().turn, Side::PlayerOne);
}

TEST(NewGame, PlayDuringAGameAsksAndCancelLeavesEverything) {
  TestGame t;
  PlayChosen(t.game);
  LineClicked(t.game, 5);
  t.events.answers = {false};
  t.events.log.clear();
  PlayChosen(t.game);
  ASSERT_EQ(t.events.questions.size(), 1u);
  EXPECT_EQ(t.events.questions[0].prompt, "Mau Ngulang game ape takut KO ??");
  EXPECT_EQ(t.events.questions[0].title, "Ehem.. Ngulang-ngulanglu kayak cebok !!");
  EXPECT_EQ(t.events.questions[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(t.events.log, (Log{"ask Ehem.. Ngulang-ngulanglu kayak cebok !!"}));
  EXPECT_TRUE(t.state().board.claimed(5));
  EXPECT_EQ(t.state().turn, Side::Computer);
}

TEST(NewGame, PlayDuringAGameWithOkClearsEverythingAndPlayerOneMoves) {
  TestGame t;
  t.state().mode = PlayMode::PersonVsPerson;
  PlayChosen(t.game);
  t.claimAll({1, 8, 16});
  LineClicked(t.game, 9);
  LineClicked(t.game, 40);  // Player 2 to move now
  t.state().clock.seconds = 42;
  t.events.answers = {true};
  PlayChosen(t.game);
  EXPECT_EQ(t.events.log.back(), "gameStarted Player 1");
  EXPECT_EQ(t.state().turn, Side::PlayerOne);
  EXPECT_EQ(t.state().score(Side::PlayerOne), 0);
  EXPECT_EQ(t.state().squaresWon, 0);
  EXPECT_EQ(t.state().clock.seconds, 0);
  for (int line = 1; line <= kLineCount; ++line) EXPECT_FALSE(t.state().board.claimed(line)) << line;
}

TEST(NewGame, PlayAfterAGameEndedStartsWithoutAsking) {
  TestGame t;
  PlayChosen(t.game);
  t.state().running = false;  // as the end of a game leaves it
  PlayChosen(t.game);
  EXPECT_TRUE(t.events.questions.empty());
  EXPECT_TRUE(t.state().running);
}

TEST(NewGame, ARestartCancelsAComputerTurnStillPending) {
  TestGame t;
  PlayChosen(t.game);
  LineClicked(t.game, 50);
  ASSERT_TRUE(t.events.computerPending);
  t.events.answers = {true};
  PlayChosen(t.game);
  EXPECT_FALSE(t.events.computerPending);
  EXPECT_EQ(t.state().turn, Side::PlayerOne);
}

TEST(NewGame, EveryGameSeedsTheComputersChanceOnceFromTheClock) {
  TestGame t(40);
  StartNewGame(t.game);
  EXPECT_EQ(t.clockValue, 41u);
  Random same(40);
  EXPECT_EQ(t.game.random.next(), same.next());
  StartNewGame(t.game);
  EXPECT_EQ(t.clockValue, 42u);
  Random next(41);
  EXPECT_EQ(t.game.random.next(), next.next());
}

}  // namespace
}  // namespace nokturna
