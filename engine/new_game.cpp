// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/new_game.h"

#include "engine/captions.h"

namespace nokturna {

void StartNewGame(Game& game) {
  GameState& s = game.state;
  // A computer turn still pending from the replaced game must not move for "Player 1" in this one.
  game.events.computerTurnCancelled();

  s.clock = {};
  s.squaresWon = 0;
  s.scores = {};
  for (Line& line : s.board.lines) line.claimed = false;
  s.turn = Side::PlayerOne;
  s.running = true;
  game.random.seed(game.seedClock());
  game.events.gameStarted(s.turn);
}

void PlayChosen(Game& game) {
  if (!game.state.running || game.events.ask(kRestartQuestion)) StartNewGame(game);
}

}  // namespace nokturna
