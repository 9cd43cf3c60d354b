// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/output_limiter.h"

#include <algorithm>
#include <cmath>

namespace nokturna {

namespace {

// Fast enough to catch a drum hit, slow enough not to buzz on a bass note's single cycles.
constexpr double kAttackSeconds = 0.002;
// As long as a cycle of the lowest bass notes, so the gain does not ripple along their waveform.
constexpr double kHoldSeconds = 0.02;
// Slow enough to be heard as nothing but a slightly softer note, quick enough not to duck the next beat.
constexpr double kReleaseSeconds = 0.15;

double Coefficient(double seconds, int sampleRate) { return 1.0 - std::exp(-1.0 / (seconds * sampleRate)); }

float Finite(float sample) { return std::isfinite(sample) ? sample : 0.0f; }

}  // namespace

OutputLimiter::OutputLimiter(int sampleRate)
    : attack_(Coefficient(kAttackSeconds, sampleRate)),
      release_(Coefficient(kReleaseSeconds, sampleRate)),
      holdFrames_(static_cast<int>(kHoldSeconds * sampleRate)) {}

void OutputLimiter::reset() {
  gain_ = 1.0;
  hold_ = 0;
}

void OutputLimiter::process(float* stereo, int frames) {
  for (int i = 0; i < frames; ++i) {
    float& left = stereo[2 * i];
    float& right = stereo[2 * i + 1];
    left = Finite(left);
    right = Finite(right);
    const double peak = std::max(std::fabs(left), std::fabs(right));
    const double wanted = peak > kThreshold ? kThreshold / peak : 1.0;
    if (wanted < gain_) {
      gain_ += (wanted - gain_) * attack_;
      hold_ = holdFrames_;
    } else if (hold_ > 0) {
      --hold_;
    } else if (gain_ < 1.0) {
      gain_ += (wanted - gain_) * release_;
      // The last hundredth of a decibel is skipped (no one hears it), so that quiet sound passes untouched
      // again soon after a loud moment rather than seconds later.
      if (gain_ > 0.999) gain_ = 1.0;
    }
    // What the smooth attack has not caught yet is caught here, at once.
    if (peak * gain_ > kCeiling) {
      gain_ = kCeiling / peak;
      hold_ = holdFrames_;
    }
    if (gain_ == 1.0) continue;
    const auto gain = static_cast<float>(gain_);
    left = std::clamp(left * gain, -kCeiling, kCeiling);
    right = std::clamp(right * gain, -kCeiling, kCeiling);
  }
}

}  // namespace nokturna
