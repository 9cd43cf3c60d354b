// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "opponent/game_clock.h"

#include <gtest/gtest.h>

#include "engine/new_game.h"
#include "recording_events.h"

namespace nokturna {
namespace {

using testing::TestGame;

std::string afterTicks(TestGame& t, int ticks) {
  for (int i = 0; i < ticks; ++i) ClockTicked(t.game);
  return t.events.clock;
}

TEST(GameClock, SecondsAndMinutesCarry) {
  TestGame t;
  StartNewGame(t.game);
  EXPECT_EQ(afterTicks(t, 1), "00:00:01");
  EXPECT_EQ(afterTicks(t, 58), "00:00:59");
  EXPECT_EQ(afterTicks(t, 1), "00:01:00");
  EXPECT_EQ(afterTicks(t, 3600 - 60 - 1), "00:59:59");
  EXPECT_EQ(afterTicks(t, 1), "01:00:00");
  EXPECT_EQ(t.state().clock.hours, 1);
  EXPECT_EQ(t.state().clock.minutes, 0);
  EXPECT_EQ(t.state().clock.seconds, 0);
}

TEST(GameClock, HoursGrowPastTwoDigits) {
  TestGame t;
  StartNewGame(t.game);
  t.state().clock = {99, 59, 59};
  EXPECT_EQ(afterTicks(t, 1), "100:00:00");
}

TEST(GameClock, ANewGameRestartsTheCountButSaysNothingOfTheTime) {
  TestGame t;
  StartNewGame(t.game);
  afterTicks(t, 75);
  t.events.log.clear();
  StartNewGame(t.game);
  for (const std::string& event : t.events.log) EXPECT_EQ(event.rfind("clockMoved", 0), std::string::npos);
  EXPECT_EQ(afterTicks(t, 1), "00:00:01");
}

}  // namespace
}  // namespace nokturna
