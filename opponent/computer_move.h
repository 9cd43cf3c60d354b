#pragma once

#include "engine/game_state.h"

namespace nokturna {

inline constexpr int kLastCountedDraw = 350;  // the computer gives up being careful on this draw

// "Daviz Edezo" claims one line: closes a three-sided square, else a random line that hands no square
// its third side, else whatever the 350th counted draw gives. Claims nothing if no line is free.
void ComputerMove(Game& game);

}  // namespace nokturna
