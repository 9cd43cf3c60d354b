#include "opponent/game_clock.h"

#include <gtest/gtest.h>

#include "engine/new_game.h"
#include "recording_window.h"

namespace nokturna {
namespace {

using testing::TestGame;

std::string afterTicks(TestGame& t, int ticks) {
  for (int i = 0; i < ticks; ++i) Timer2_Timer(t.game);
  return t.window.caption(Label::timelbl);
}

TEST(GameClock, SecondsAndMinutesCarry) {
  TestGame t;
  NewGame(t.game);
  EXPECT_EQ(afterTicks(t, 1), "00:00:01");
  EXPECT_EQ(afterTicks(t, 58), "00:00:59");
  EXPECT_EQ(afterTicks(t, 1), "00:01:00");
  EXPECT_EQ(afterTicks(t, 3600 - 60 - 1), "00:59:59");
  EXPECT_EQ(afterTicks(t, 1), "01:00:00");
  EXPECT_EQ(t.state().clockHours, 1);
  EXPECT_EQ(t.state().clockMinutes, 0);
  EXPECT_EQ(t.state().clockSeconds, 0);
}

TEST(GameClock, HoursGrowPastTwoDigits) {
  TestGame t;
  NewGame(t.game);
  t.state().clockHours = 99;
  t.state().clockMinutes = 59;
  t.state().clockSeconds = 59;
  EXPECT_EQ(afterTicks(t, 1), "100:00:00");
  EXPECT_EQ(ClockText(123, 59, 59), "123:59:59");
  EXPECT_EQ(ClockText(1, 5, 30), "01:05:30");
  EXPECT_EQ(ClockText(10, 10, 10), "10:10:10");
}

TEST(GameClock, ANewGameRestartsTheCountButNotTheLabel) {
  TestGame t;
  NewGame(t.game);
  afterTicks(t, 75);
  NewGame(t.game);
  EXPECT_EQ(t.window.caption(Label::timelbl), "00:01:15");
  EXPECT_EQ(afterTicks(t, 1), "00:00:01");
}

}  // namespace
}  // namespace nokturna
