// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The computer player's source of chance: uniform fractions in [0, 1). Each game seeds it once, from the
// wall clock in play and with a fixed number in tests.
#pragma once

#include <cstdint>
#include <random>

namespace nokturna {

class Random {
 public:
  explicit Random(std::uint64_t seed = 0) : engine_(seed) {}

  void seed(std::uint64_t seed) { engine_.seed(seed); }
  double next() { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

  // The wall clock's reading: a different seed for every game.
  static std::uint64_t clockSeed();

 private:
  std::mt19937_64 engine_;
};

}  // namespace nokturna
