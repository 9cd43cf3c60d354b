#pragma once

#include <string>

#include "engine/game_state.h"

namespace nokturna {

inline constexpr int kClockTickMs = 1000;

// One second of game time.
void Timer2_Timer(Game& game);

// "hh:mm:ss" with at least two digits each; hours grow as wide as they need.
std::string ClockText(int hours, int minutes, int seconds);

}  // namespace nokturna
