// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The move rule: a person's click on a line, and the claiming of a line by whoever is to move.
#pragma once

#include "engine/game_state.h"

namespace nokturna {

// A person's click on a line: ignored between games, on a claimed line, on a number that is no line, and
// while the computer is to move.
void LineClicked(Game& game, int line);

// Claims a free line for the side to move. A line that closes a square's fourth side wins it and earns
// another move; otherwise the turn passes. The last square ends the game.
void ClaimLine(Game& game, int line);

}  // namespace nokturna
