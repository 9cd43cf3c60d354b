// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Where each key takes the keyboard's cursor. Horizontal line c of post row r is 15(r-1)+c; vertical line
// c between post rows g and g+1 is 15(g-1)+7+c.
#include "ui/line_cursor.h"

#include <gtest/gtest.h>

namespace nokturna {
namespace {

using enum CursorKey;

TEST(LineCursor, MovesInEveryDirectionAndStaysAtEveryEdge) {
  const struct {
    int from;
    CursorKey key;
    int to;
  } steps[] = {
      // clang-format off
      // Inside: horizontal 17 (row 2, column 2), vertical 24 (column 2, rows 2-3).
      {17, Left, 16}, {17, Right, 18}, {17, Up, 9}, {17, Down, 24},
      {24, Left, 23}, {24, Right, 25}, {24, Up, 17}, {24, Down, 32},
      // The rightmost vertical column meets the rows at their last horizontal line.
      {30, Up, 22}, {30, Down, 37}, {105, Down, 112},
      // Edges: the top and bottom rows, both ends of a row, the first and last vertical columns.
      {4, Up, 4}, {4, Down, 11}, {109, Down, 109}, {109, Up, 101}, {16, Left, 16}, {22, Right, 22},
      {8, Left, 8}, {8, Up, 1}, {15, Right, 15}, {98, Down, 106}, {1, Left, 1}, {112, Right, 112},
      {57, Home, 1}, {57, End, 112},
      // clang-format on
  };
  for (const auto& s : steps) {
    EXPECT_EQ(CursorTarget(s.from, s.key), s.to) << "from line " << s.from << ", key " << int(s.key);
  }
}

}  // namespace
}  // namespace nokturna
