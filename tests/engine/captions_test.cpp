// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/captions.h"

#include <gtest/gtest.h>

namespace nokturna {
namespace {

TEST(Captions, NamesTurnVerdictAndScoresReadAsTheGameSaysThem) {
  EXPECT_EQ(SideName(Side::PlayerOne), "Player 1");
  EXPECT_EQ(SideName(Side::Computer), "Daviz Edezo");
  EXPECT_EQ(SideName(Side::PlayerTwo), "Player 2");
  EXPECT_EQ(TurnCaption(Side::PlayerTwo), "Giliran / Turn : Player 2");
  EXPECT_EQ(VerdictCaption(Side::Computer), "Pemenangnya adalah / Master Kubur is Daviz Edezo");
  EXPECT_EQ(WinnerCaption(Side::PlayerOne), "Player 1 adalah Raja Kubur");
  EXPECT_EQ(NewGameScoreCaption(), " 0");  // the blank a sign would take
  EXPECT_EQ(ScoreCaption(1), "1");         // no such blank during play
  EXPECT_EQ(ScoreCaption(49), "49");
}

TEST(Captions, TheClockShowsTwoDigitsEachAndHoursGrowAsWideAsTheyNeed) {
  EXPECT_EQ(ClockCaption(0, 0, 0), "00:00:00");
  EXPECT_EQ(ClockCaption(1, 5, 30), "01:05:30");
  EXPECT_EQ(ClockCaption(10, 10, 10), "10:10:10");
  EXPECT_EQ(ClockCaption(123, 59, 59), "123:59:59");
}

}  // namespace
}  // namespace nokturna
