// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "opponent/play_modes.h"

#include <gtest/gtest.h>

#include "engine/line_claiming.h"
#include "engine/new_game.h"
#include "opponent/computer_player.h"
#include "recording_events.h"

namespace nokturna {
namespace {

using testing::TestGame;
using Log = std::vector<std::string>;

TEST(PlayModes, ChoosingTheCurrentModeDoesNothing) {
  TestGame t;
  PlayChosen(t.game);
  t.events.log.clear();
  ModeChosen(t.game, PlayMode::PersonVsComputer);
  EXPECT_TRUE(t.events.log.empty());
}

TEST(PlayModes, BetweenGamesTheModeSwitchesWithoutAQuestionOrAGame) {
  TestGame t;
  ModeChosen(t.game, PlayMode::PersonVsPerson);
  EXPECT_EQ(t.events.log, (Log{"modeChanged person"}));
  EXPECT_EQ(t.state().mode, PlayMode::PersonVsPerson);
  EXPECT_FALSE(t.state().running);
}

TEST(PlayModes, DuringAGameNoLeavesModeBoardAndClockAlone) {
  TestGame t;
  PlayChosen(t.game);
  LineClicked(t.game, 5);
  t.events.answers = {false};
  ModeChosen(t.game, PlayMode::PersonVsPerson);
  ASSERT_EQ(t.events.questions.size(), 1u);
  EXPECT_EQ(t.events.questions[0].prompt, "If you change this mode you must restart the game");
  EXPECT_EQ(t.events.questions[0].title, "Caution !!");
  EXPECT_EQ(t.events.questions[0].buttons, Buttons::YesNo);
  EXPECT_EQ(t.state().mode, PlayMode::PersonVsComputer);
  EXPECT_EQ(t.events.mode, PlayMode::PersonVsComputer);
  EXPECT_TRUE(t.state().board.claimed(5));
  EXPECT_TRUE(t.events.clockRunning);
}

TEST(PlayModes, DuringAGameYesSwitchesAndStartsAFreshGameInTheNewMode) {
  TestGame t;
  PlayChosen(t.game);
  LineClicked(t.game, 5);  // the computer's turn is now pending
  t.events.answers = {true};
  t.events.log.clear();
  ModeChosen(t.game, PlayMode::PersonVsPerson);
  EXPECT_EQ(t.events.log,
            (Log{"ask Caution !!", "modeChanged person", "computerTurnCancelled", "gameStarted Player 1"}));
  EXPECT_EQ(t.state().mode, PlayMode::PersonVsPerson);
  EXPECT_FALSE(t.state().board.claimed(5));
  EXPECT_FALSE(t.events.computerPending);  // no computer move in a person-against-person game
}

TEST(PlayModes, TheComputerAnswersAPersonWithOneLineAndHandsTheTurnBack) {
  TestGame t;
  PlayChosen(t.game);
  LineClicked(t.game, 5);
  t.events.log.clear();
  TakeComputerTurn(t.game);
  ASSERT_EQ(t.events.log.size(), 2u);
  EXPECT_EQ(t.events.log[0].rfind("lineClaimed ", 0), 0u);
  EXPECT_EQ(t.events.log[1], "turnPassed Player 1");
  int claimed = 0;
  for (int line = 1; line <= kLineCount; ++line) claimed += t.state().board.claimed(line);
  EXPECT_EQ(claimed, 2);
}

}  // namespace
}  // namespace nokturna
