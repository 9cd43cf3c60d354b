// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Waiting in the tests: on a condition, never on the clock. The patience is only a safety net that turns
// a hang into a failure; a passing run never comes near it, not even on a loaded machine or a sanitizer
// build.
#pragma once

#include <chrono>
#include <thread>

namespace nokturna::testing {

inline constexpr std::chrono::seconds kPatience{30};

// True as soon as `condition()` holds; false if it still does not after `kPatience`.
template <typename Condition>
bool WaitUntil(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));  // a poll, not a guess at how long it takes
  }
  return true;
}

}  // namespace nokturna::testing
