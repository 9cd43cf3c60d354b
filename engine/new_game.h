// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "engine/game_state.h"

namespace nokturna {

// Clears board, scores and clock, seeds the computer's chance, gives the turn to "Player 1" and starts
// the clock. A computer turn still pending from the game it replaces is cancelled first.
void StartNewGame(Game& game);

// The Play command: starts at once between games, asks first during one.
void PlayChosen(Game& game);

}  // namespace nokturna
