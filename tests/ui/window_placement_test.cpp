// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Where a window goes on its screen: centred where it fits, its top-left corner never off the screen.
#include "ui/window_placement.h"

#include <gtest/gtest.h>

namespace nokturna {
namespace {

TEST(WindowPlacement, CentresWhereItFitsAndKeepsTheCornerOnTheScreenWhereNot) {
  EXPECT_EQ(PlaceInArea({623, 576}, {0, 0, 1024, 768}), QPoint(200, 96));
  // Taller than a small screen: centred across, top on the screen's top.
  EXPECT_EQ(PlaceInArea({623, 576}, {0, 0, 640, 480}), QPoint(8, 0));
  // The available area leaves out a panel at the top and one at the left.
  EXPECT_EQ(PlaceInArea({623, 576}, {48, 32, 592, 448}), QPoint(48, 32));
  EXPECT_EQ(PlaceInArea({393, 339}, {48, 32, 592, 448}), QPoint(147, 86));
}

}  // namespace
}  // namespace nokturna
