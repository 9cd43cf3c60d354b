// The computer player's source of chance: uniform fractions in [0, 1), reseeded from a clock.
#pragma once

#include <cstdint>
#include <functional>
#include <random>

namespace nokturna {

class Random {
 public:
  using Clock = std::function<std::uint64_t()>;
  static std::uint64_t systemClock();

  explicit Random(Clock clock) : clock_(std::move(clock)) { reseedFromClock(); }

  void reseedFromClock() { engine_.seed(clock_()); }
  double next() { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

 private:
  Clock clock_;
  std::mt19937_64 engine_;
};

}  // namespace nokturna
