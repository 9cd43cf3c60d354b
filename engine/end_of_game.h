#pragma once

#include "engine/game_state.h"

namespace nokturna {

// Announces the winner once the 49th square is closed, stops the clock and shows the winner window.
void EndGame(Game& game);

}  // namespace nokturna
