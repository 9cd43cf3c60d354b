// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/end_of_game.h"

namespace nokturna {

Side Winner(const GameState& state) {
  const Side second = OpponentIn(state.mode);
  return state.score(Side::PlayerOne) > state.score(second) ? Side::PlayerOne : second;
}

void EndGame(Game& game) {
  // Stopped before anyone hears of it: a click that slips in while the end sounds finds no game.
  game.state.running = false;
  game.events.gameEnded(Winner(game.state));
}

}  // namespace nokturna
