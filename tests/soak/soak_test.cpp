// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The long soak: 100,000 seeded whole games, half in each mode, every invariant checked after every move.
// NOKTURNA_SOAK_GAMES sets another total (the sanitizer build runs a shorter soak).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "opponent/play_modes.h"
#include "whole_game.h"

namespace nokturna {
namespace {

std::uint64_t GamesPerMode() {
  std::uint64_t total = 100000;
  if (const char* games = std::getenv("NOKTURNA_SOAK_GAMES")) {
    const long long asked = std::atoll(games);
    if (asked > 1) total = static_cast<std::uint64_t>(asked);
  }
  return total / 2;
}

// Seeds start past the ones the whole-game tests use, so the soak plays games nobody played yet.
constexpr std::uint64_t kFirstSeed = 100001;

TEST(Soak, PersonAgainstComputer) {
  const std::uint64_t games = GamesPerMode();
  for (std::uint64_t seed = kFirstSeed; seed < kFirstSeed + games; ++seed) {
    testing::PlayWholeGame(seed, PlayMode::PersonVsComputer);
    if (HasFatalFailure()) FAIL() << "seed " << seed;
  }
}

TEST(Soak, PersonAgainstPerson) {
  const std::uint64_t games = GamesPerMode();
  for (std::uint64_t seed = kFirstSeed; seed < kFirstSeed + games; ++seed) {
    testing::PlayWholeGame(seed, PlayMode::PersonVsPerson);
    if (HasFatalFailure()) FAIL() << "seed " << seed;
  }
}

}  // namespace
}  // namespace nokturna
