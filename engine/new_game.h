#pragma once

#include "engine/game_state.h"

namespace nokturna {

extern const Question kRestartQuestion;

// Clears board, scores and clock, gives the turn to "Player 1" and starts the clock. Also cancels a
// computer turn still pending from the game it replaces.
void NewGame(Game& game);

// The Play command: starts at once between games, asks first during one.
void play1_Click(Game& game);

}  // namespace nokturna
