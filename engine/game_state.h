// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The state of the game the main window plays, and everything the rules act on: that state, the events
// they tell of what happens, and the computer's source of chance. Plain C++, no window.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <utility>

#include "engine/board.h"
#include "engine/game_events.h"
#include "engine/random.h"
#include "engine/sides.h"

namespace nokturna {

struct GameClock {
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
};

struct GameState {
  Board board;
  bool running = false;  // a game is being played: not before the first, nor once the last square is won
  PlayMode mode = PlayMode::PersonVsComputer;
  Side turn = Side::PlayerOne;
  std::array<int, 4> scores{};  // squares won in this game, by IndexOf(side)
  int squaresWon = 0;
  GameClock clock;

  int& score(Side side) { return scores[IndexOf(side)]; }
  int score(Side side) const { return scores[IndexOf(side)]; }
};

struct Game {
  using SeedClock = std::function<std::uint64_t()>;

  explicit Game(GameEvents& receiver, SeedClock clock = Random::clockSeed)
      : events(receiver), seedClock(std::move(clock)) {}

  GameState state;
  GameEvents& events;
  SeedClock seedClock;  // read once at the start of every game to seed `random`
  Random random;
};

}  // namespace nokturna
