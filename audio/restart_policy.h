// SPDX-FileCopyrightText: 2026 The Nokturna team
// SPDX-License-Identifier: GPL-3.0-or-later
//
// When the game starts its sound program again, and when it gives up waiting on one. A sound program that
// died, or that fell silent (it reports four times a second: one that misses a second of reports is hung,
// whatever it is stuck in), is replaced, but only while something wants to sound, and never sooner than
// a second and a half after the last start: a sound library that crashes at once against a broken sound
// server (SDL's PulseAudio support does, against a server without any output) costs the game one start
// every second and a half, not a storm of them, and a server that is mended is heard well within 3 s.
// Plain C++; the caller brings the time.
#pragma once

#include <chrono>
#include <optional>

namespace nokturna {

class RestartPolicy {
 public:
  using Clock = std::chrono::steady_clock;

  // The least time from one start to the next.
  static constexpr std::chrono::milliseconds kLeastBetweenStarts{1500};
  // A running program that has said nothing for this long is hung...
  static constexpr std::chrono::milliseconds kLongestQuiet{1200};
  // ...and a fresh one is given longer for its first word: it loads the sound libraries first.
  static constexpr std::chrono::milliseconds kLongestStart{3000};

  void started(Clock::time_point now);
  // Something came from the program: it is alive.
  void heardFrom(Clock::time_point now);
  // The program is gone (it died, or was ended as hung).
  void gone();
  // The program said it leaves because its sound output stalled: it took a second to find that out by
  // itself, so its successor may start at once.
  void leaving();

  bool running() const { return running_; }
  // True when the running program has been quiet for too long.
  bool hung(Clock::time_point now) const;
  // With something wanting to sound, when a program may be started: now or later. Nothing while one runs.
  std::optional<Clock::time_point> nextStart(Clock::time_point now) const;

 private:
  bool running_ = false;
  bool spoke_ = false;         // the running program has said something
  bool leftByItself_ = false;  // the last program said it was leaving
  std::optional<Clock::time_point> lastStart_;
  Clock::time_point lastWord_{};
};

}  // namespace nokturna
