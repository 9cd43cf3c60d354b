// SPDX-FileCopyrightText: 2026 The Nokturna team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/restart_policy.h"

#include <algorithm>

namespace nokturna {

void RestartPolicy::started(Clock::time_point now) {
  running_ = true;
  spoke_ = false;
  leftByItself_ = false;
  lastStart_ = now;
  lastWord_ = now;
}

void RestartPolicy::heardFrom(Clock::time_point now) {
  if (!running_) return;
  spoke_ = true;
  lastWord_ = now;
}

void RestartPolicy::gone() { running_ = false; }

void RestartPolicy::leaving() {
  if (running_) leftByItself_ = true;
}

bool RestartPolicy::hung(Clock::time_point now) const {
  return running_ && now - lastWord_ > (spoke_ ? kLongestQuiet : kLongestStart);
}

std::optional<RestartPolicy::Clock::time_point> RestartPolicy::nextStart(Clock::time_point now) const {
  if (running_) return std::nullopt;
  if (!lastStart_ || leftByItself_) return now;
  return std::max(now, *lastStart_ + kLeastBetweenStarts);
}

}  // namespace nokturna
