#include "opponent/play_modes.h"

#include <gtest/gtest.h>

#include "engine/line_claiming.h"
#include "engine/new_game.h"
#include "recording_window.h"

namespace nokturna {
namespace {

using testing::TestGame;

TEST(PlayModes, ChoosingTheCheckedModeDoesNothing) {
  TestGame t;
  vsmode_Click(t.game, kPersonVsComputer);
  play1_Click(t.game);
  t.window.log.clear();
  vsmode_Click(t.game, kPersonVsComputer);
  EXPECT_TRUE(t.window.log.empty());
}

TEST(PlayModes, BetweenGamesTheModeSwitchesWithoutAQuestionOrAGame) {
  TestGame t;
  vsmode_Click(t.game, kPersonVsPerson);
  EXPECT_TRUE(t.window.questions.empty());
  EXPECT_EQ(t.state().playMode, kPersonVsPerson);
  EXPECT_TRUE(t.window.modeChecked[1]);
  EXPECT_FALSE(t.window.modeChecked[2]);
  EXPECT_TRUE(t.state().gameStopped);
  const std::vector<std::string> order = {"mode 2 unchecked", "mode 1 checked"};
  EXPECT_EQ(t.window.log, order);
}

TEST(PlayModes, DuringAGameNoLeavesModeBoardAndClockAlone) {
  TestGame t;
  play1_Click(t.game);
  box_Click(t.game, 5);
  t.window.answers = {false};
  vsmode_Click(t.game, kPersonVsPerson);
  ASSERT_EQ(t.window.questions.size(), 1u);
  EXPECT_EQ(t.window.questions[0].prompt, "If you change this mode you must restart the game");
  EXPECT_EQ(t.window.questions[0].title, "Caution !!");
  EXPECT_EQ(t.window.questions[0].buttons, Buttons::YesNo);
  EXPECT_EQ(t.state().playMode, kPersonVsComputer);
  EXPECT_TRUE(t.window.modeChecked[2]);
  EXPECT_TRUE(t.state().claimed(5));
  EXPECT_TRUE(t.window.timerOn(Timer::Timer2));
}

TEST(PlayModes, DuringAGameYesSwitchesAndStartsAFreshGameInTheNewMode) {
  TestGame t;
  play1_Click(t.game);
  box_Click(t.game, 5);  // the computer's turn is now pending
  t.window.answers = {true};
  vsmode_Click(t.game, kPersonVsPerson);
  EXPECT_EQ(t.state().playMode, kPersonVsPerson);
  EXPECT_TRUE(t.window.modeChecked[1]);
  EXPECT_FALSE(t.state().claimed(5));
  EXPECT_EQ(t.state().turn, kPlayer1);
  EXPECT_FALSE(t.window.timerOn(Timer::Timer1));  // no computer move in a person-against-person game
}

TEST(PlayModes, TheComputersTickDisarmsTheTimerAndAnswersWithOneLine) {
  TestGame t;
  play1_Click(t.game);
  box_Click(t.game, 5);
  t.window.log.clear();
  Timer1_Timer(t.game);
  ASSERT_FALSE(t.window.log.empty());
  EXPECT_EQ(t.window.log.front(), "Timer1 off");
  int claimed = 0;
  for (int line = 1; line <= kLineCount; ++line) claimed += t.state().claimed(line);
  EXPECT_EQ(claimed, 2);
  EXPECT_EQ(t.state().turn, kPlayer1);
  EXPECT_FALSE(t.window.timerOn(Timer::Timer1));
}

TEST(PlayModes, AStaleTickNeverMovesForAPerson) {
  TestGame t;
  play1_Click(t.game);
  Timer1_Timer(t.game);  // Player 1 to move
  for (int line = 1; line <= kLineCount; ++line) EXPECT_FALSE(t.state().claimed(line));
  t.state().gameStopped = true;
  t.state().turn = kComputer;
  Timer1_Timer(t.game);
  for (int line = 1; line <= kLineCount; ++line) EXPECT_FALSE(t.state().claimed(line));
}

}  // namespace
}  // namespace nokturna
