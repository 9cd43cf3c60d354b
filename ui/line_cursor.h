// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Where the keyboard's cursor goes on the board's lines. Plain C++: the board's geometry alone,
// no window. Left and Right keep to the lines of one kind in one row; Up and Down cross between a row of
// horizontal lines and the vertical lines hanging from or reaching up to its posts; at an edge the cursor
// stays where it is.
#pragma once

namespace nokturna {

enum class CursorKey { Left, Right, Up, Down, Home, End };

// The line the cursor reaches from `line` (1..112) with `key`.
int CursorTarget(int line, CursorKey key);

}  // namespace nokturna
