// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Changes a test makes to the whole process (an environment variable, a resource limit, how a signal is
// handled), undone, last first, when the guard goes out of scope: an assertion that returns early cannot
// leave them behind for the tests that run after it in the same process.
#pragma once

#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace nokturna::testing {

class ScopedProcessState {
 public:
  ScopedProcessState() = default;
  ~ScopedProcessState() {
    for (auto undo = undo_.rbegin(); undo != undo_.rend(); ++undo) (*undo)();
  }
  ScopedProcessState(const ScopedProcessState&) = delete;
  ScopedProcessState& operator=(const ScopedProcessState&) = delete;

  // Sets the variable, or removes it when `value` is null.
  void setEnv(const char* name, const char* value) {
    const char* old = std::getenv(name);
    undo_.push_back([name = std::string(name), old = old ? std::optional<std::string>(old) : std::nullopt] {
      Put(name.c_str(), old ? old->c_str() : nullptr);
    });
    Put(name, value);
  }

  void ignoreSignal(int signal) {
    const auto old = std::signal(signal, SIG_IGN);
    undo_.push_back([signal, old] { std::signal(signal, old); });
  }

  // Lowers the soft limit on the size of the files the process writes.
  bool limitFileSize(rlim_t bytes) {
    rlimit saved{};
    if (getrlimit(RLIMIT_FSIZE, &saved) != 0) return false;
    rlimit lowered = saved;
    lowered.rlim_cur = bytes;
    if (setrlimit(RLIMIT_FSIZE, &lowered) != 0) return false;
    undo_.push_back([saved] { setrlimit(RLIMIT_FSIZE, &saved); });
    return true;
  }

 private:
  static void Put(const char* name, const char* value) {
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }

  std::vector<std::function<void()>> undo_;
};

}  // namespace nokturna::testing
