#include "engine/new_game.h"

#include <gtest/gtest.h>

#include "engine/line_claiming.h"
#include "recording_window.h"

namespace nokturna {
namespace {

using testing::TestGame;

TEST(NewGame, PlayBeforeAnyGameStartsAtOnceOnABlankBoard) {
  TestGame t;
  play1_Click(t.game);
  EXPECT_TRUE(t.window.questions.empty());
  EXPECT_FALSE(t.state().gameStopped);
  EXPECT_EQ(t.state().turn, kPlayer1);
  EXPECT_EQ(t.window.caption(Label::scorelbl1), " 0");
  EXPECT_EQ(t.window.caption(Label::scorelbl2), " 0");
  EXPECT_EQ(t.window.caption(Label::commentlbl), "Giliran / Turn : Player 1");
  EXPECT_TRUE(t.window.timerOn(Timer::Timer2));
  for (int line = 1; line <= kLineCount; ++line) EXPECT_EQ(t.window.linePicture[line], 0) << line;
  for (int q = 1; q <= kSquareCount; ++q) EXPECT_EQ(t.window.markerPicture[q], 0) << q;
  // The clock keeps showing the last game's time until its first tick.
  EXPECT_EQ(t.window.captionWrites[Label::timelbl], 0);
}

TEST(NewGame, PlayDuringAGameAsksAndCancelLeavesEverything) {
  TestGame t;
  play1_Click(t.game);
  box_Click(t.game, 5);
  const GameState before = t.state();
  t.window.answers = {false};
  play1_Click(t.game);
  ASSERT_EQ(t.window.questions.size(), 1u);
  EXPECT_EQ(t.window.questions[0].prompt, "Mau Ngulang game ape takut KO ??");
  EXPECT_EQ(t.window.questions[0].title, "Ehem.. Ngulang-ngulanglu kayak cebok !!");
  EXPECT_EQ(t.window.questions[0].buttons, Buttons::OkCancel);
  EXPECT_TRUE(t.state().claimed(5));
  EXPECT_EQ(t.state().turn, before.turn);
  EXPECT_TRUE(t.window.timerOn(Timer::Timer2));
}

TEST(NewGame, PlayDuringAGameWithOkClearsEverythingAndPlayerOneMoves) {
  TestGame t;
  t.state().playMode = kPersonVsPerson;
  play1_Click(t.game);
  t.claimAll({1, 8, 16});
  box_Click(t.game, 9);
  box_Click(t.game, 40);  // Player 2 to move now
  t.state().clockSeconds = 42;
  t.window.answers = {true};
  play1_Click(t.game);
  EXPECT_EQ(t.state().turn, kPlayer1);
  EXPECT_EQ(t.state().score[kPlayer1], 0);
  EXPECT_EQ(t.state().squaresClosed, 0);
  EXPECT_EQ(t.state().clockSeconds, 0);
  for (int line = 1; line <= kLineCount; ++line) EXPECT_FALSE(t.state().claimed(line)) << line;
  EXPECT_EQ(t.window.markerPicture[1], 0);
}

TEST(NewGame, PlayAfterAGameEndedStartsWithoutAsking) {
  TestGame t;
  play1_Click(t.game);
  t.state().gameStopped = true;  // as the end of a game leaves it
  play1_Click(t.game);
  EXPECT_TRUE(t.window.questions.empty());
  EXPECT_FALSE(t.state().gameStopped);
}

TEST(NewGame, ARestartCancelsAComputerTurnStillPending) {
  TestGame t;
  play1_Click(t.game);
  box_Click(t.game, 50);
  ASSERT_TRUE(t.window.timerOn(Timer::Timer1));
  t.window.answers = {true};
  play1_Click(t.game);
  EXPECT_FALSE(t.window.timerOn(Timer::Timer1));
  EXPECT_EQ(t.state().turn, kPlayer1);
}

}  // namespace
}  // namespace nokturna
