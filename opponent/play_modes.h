#pragma once

#include "engine/game_state.h"

namespace nokturna {

inline constexpr int kComputerPauseMs = 250;

extern const Question kModeChangeQuestion;

// The mode menu: item 1 person against person, item 2 person against the computer.
void vsmode_Click(Game& game, int index);

// The computer's pause is over: one tick, one move.
void Timer1_Timer(Game& game);

}  // namespace nokturna
