// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "opponent/game_clock.h"

namespace nokturna {

void ClockTicked(Game& game) {
  GameClock& clock = game.state.clock;
  ++clock.seconds;  // the clock counts ticks, one second each
  if (clock.seconds >= 60) {
    ++clock.minutes;
    clock.seconds -= 60;
  }
  if (clock.minutes >= 60) {
    ++clock.hours;
    clock.minutes -= 60;
  }
  game.events.clockMoved(clock.hours, clock.minutes, clock.seconds);
}

}  // namespace nokturna
