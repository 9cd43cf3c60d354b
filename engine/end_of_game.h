// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "engine/game_state.h"

namespace nokturna {

// The side with more squares; 49 squares split between two sides never tie.
Side Winner(const GameState& state);

// Once the 49th square is won: the game stops and its winner is announced.
void EndGame(Game& game);

}  // namespace nokturna
