// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The last stage of the game's sound: a peak limiter on the finished mix of the music and the clips.
// Music at its ordinary level leaves little headroom, and a clip on top of a loud chord would pass full
// scale; the limiter turns the whole mix down for a moment instead of letting the device clip it.
//
// Below the threshold it does nothing at all: every sample comes out exactly as it went in, so a clip on
// its own keeps its level and shape. A frame louder than the threshold pulls the gain down within a couple
// of milliseconds; a frame that would pass the ceiling pulls it down at once, so nothing ever reaches full
// scale. The gain holds for a moment, then comes back smoothly (no pumping on the beat). Both channels
// always get the same gain, so the stereo picture stays put.
//
// Plain arithmetic on the caller's buffer: it never allocates or blocks, so it may run on the audio
// thread, with any number of frames at a time.
#pragma once

namespace nokturna {

class OutputLimiter {
 public:
  // -1 dBFS: loud enough that ordinary music is almost never touched.
  static constexpr float kThreshold = 0.891f;
  // -0.1 dBFS: the most any sample is ever let out with, float rounding included.
  static constexpr float kCeiling = 0.989f;

  explicit OutputLimiter(int sampleRate);

  // Limits `frames` interleaved stereo frames in place. A sample that is not a number or infinite (a
  // broken source) becomes silence before it can reach the device or the gain.
  void process(float* stereo, int frames);

  // Forgets any gain reduction: the next sound after a silence starts at full level.
  void reset();

 private:
  double attack_;   // share of the way to a lower gain covered per frame
  double release_;  // share of the way back up covered per frame
  int holdFrames_;  // how long a lowered gain is held before it comes back
  double gain_ = 1.0;
  int hold_ = 0;
};

}  // namespace nokturna
