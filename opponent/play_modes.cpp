// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "opponent/play_modes.h"

#include "engine/captions.h"
#include "engine/new_game.h"

namespace nokturna {

namespace {
void switchMode(Game& game, PlayMode mode) {
  game.state.mode = mode;
  game.events.modeChanged(mode);
}
}  // namespace

void ModeChosen(Game& game, PlayMode mode) {
  if (game.state.mode == mode) return;
  if (!game.state.running) {
    switchMode(game, mode);
    return;
  }
  if (game.events.ask(kModeChangeQuestion)) {
    switchMode(game, mode);
    StartNewGame(game);
  }
}

}  // namespace nokturna
