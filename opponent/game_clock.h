// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "engine/game_state.h"

namespace nokturna {

inline constexpr int kClockTickMs = 1000;

// One second of game time.
void ClockTicked(Game& game);

}  // namespace nokturna
