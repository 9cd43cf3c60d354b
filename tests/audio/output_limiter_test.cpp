// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The limiter on the finished mix: nothing reaches full scale, quiet sound passes bit for bit, and broken
// samples or odd period sizes change neither.
#include "audio/output_limiter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace nokturna {
namespace {

constexpr int kRate = 44100;

// Appends `seconds` of a stereo tone with the given peak levels on the left and the right.
void AddTone(std::vector<float>& stereo, double seconds, double hertz, float left, float right) {
  for (long i = 0; i < std::lround(seconds * kRate); ++i) {
    const auto wave = static_cast<float>(std::sin(2 * std::numbers::pi * hertz * double(i) / kRate));
    stereo.insert(stereo.end(), {left * wave, right * wave});
  }
}

// Runs the limiter over `stereo` in periods of the given sizes, in turn.
std::vector<float> Limited(std::vector<float> stereo, std::vector<int> periods = {512}) {
  OutputLimiter limiter(kRate);
  for (long done = 0, turn = 0, frames = long(stereo.size()) / 2; done < frames; ++turn) {
    const int count = int(std::min<long>(periods[turn % periods.size()], frames - done));
    limiter.process(stereo.data() + 2 * done, count);
    done += count;
  }
  return stereo;
}

float Peak(const std::vector<float>& stereo, std::size_t from, std::size_t to) {
  float peak = 0;
  for (std::size_t i = from; i < to; ++i) peak = std::max(peak, std::fabs(stereo[i]));
  return peak;
}

TEST(OutputLimiter, AFullScaleBurstUnderAClipStaysBelowFullScaleAndComesBackUntouched) {
  // A clip at its real level (peaks of 0.72) with a second of full-scale music in the right channel, then
  // the clip alone for two seconds.
  std::vector<float> in, burst;
  AddTone(in, 1.0, 440, 0.72f, 0.72f);
  AddTone(burst, 1.0, 97, 0.0f, 1.0f);
  for (std::size_t i = 0; i < burst.size(); ++i) in[i] += burst[i];
  AddTone(in, 2.0, 440, 0.72f, 0.72f);
  const std::vector<float> out = Limited(in);

  EXPECT_LE(Peak(out, 0, out.size()), OutputLimiter::kCeiling);
  // Turned down, not silenced, and both channels alike: the stereo picture holds.
  const std::size_t after = burst.size();
  EXPECT_GT(Peak(out, 0, after), 0.8f);
  for (std::size_t i = 0; i < after; i += 2) ASSERT_NEAR(out[i] * in[i + 1], out[i + 1] * in[i], 1e-5f) << i;
  // The gain comes back smoothly: still down just after the burst, back to exactly 1 within 1.2 s.
  EXPECT_LT(Peak(out, after, after + 2 * kRate / 50), 0.71f);
  for (std::size_t i = after + 2 * kRate * 6 / 5; i < out.size(); ++i) ASSERT_EQ(out[i], in[i]) << i;
}

TEST(OutputLimiter, QuietSoundPassesBitForBit) {
  // A clip alone, and a mix that peaks just under the threshold.
  for (const float level : {0.72f, OutputLimiter::kThreshold - 1e-4f}) {
    std::vector<float> in;
    AddTone(in, 0.5, 440, level, level * 0.5f);
    EXPECT_EQ(Limited(in), in) << "level " << level;
  }
}

TEST(OutputLimiter, BrokenSamplesBecomeSilenceAndPeriodSizesChangeNothing) {
  std::vector<float> in;
  AddTone(in, 0.3, 220, 1.4f, 1.4f);
  AddTone(in, 1.5, 220, 0.5f, 0.5f);
  const float broken[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity()};
  const std::size_t loud = 1000, quiet = in.size() - 101;  // a left sample mid-burst, a right one at the end
  for (int i = 0; i < 3; ++i) in[loud + 2 * i] = in[quiet - 2 * i] = broken[i];
  const std::vector<float> out = Limited(in);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(out[loud + 2 * i] + out[quiet - 2 * i], 0.0f) << broken[i];
  for (float s : out) ASSERT_LE(std::fabs(s), OutputLimiter::kCeiling);  // fails on NaN too
  // The broken samples left the gain alone: the quiet end passes untouched around them.
  EXPECT_EQ(out[quiet - 2000], in[quiet - 2000]);
  EXPECT_EQ(out.back(), in.back());

  // Whatever periods SDL hands over, from single frames to many thousands, the result is the same.
  EXPECT_EQ(Limited(in, {1}), out);
  EXPECT_EQ(Limited(in, {3, 511, 1, 8192, 64}), out);
}

}  // namespace
}  // namespace nokturna
