// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The real music engine heard offline: FluidSynth on an OfflineMixer, which renders as fast as the engine
// gives the music and waits for it where a device would have had a gap. What it returns is what the
// output would have been given.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "audio/fluid_music_engine.h"
#include "audio/offline_mixer.h"
#include "audio/sdl_audio_output.h"
#include "tests/audio/wait_until.h"

namespace nokturna::testing {

inline constexpr int kRate = SdlAudioOutput::kOutputRate;
inline constexpr int kPeriod = SdlAudioOutput::kPeriodFrames;
inline constexpr double kAudible = 1e-3;

// The small font loads in a blink; any General MIDI font will do otherwise.
inline std::string TestSoundFont() {
  const std::string small = "/usr/share/sounds/sf2/TimGM6mb.sf2";
  return std::filesystem::exists(small) ? small : DefaultSoundFont();
}

inline double Peak(const std::vector<float>& stereo) {
  double peak = 0;
  for (float s : stereo) peak = std::max(peak, double{std::fabs(s)});
  return peak;
}

inline double Rms(const std::vector<float>& stereo, std::size_t from = 0, std::size_t to = SIZE_MAX) {
  to = std::min(to, stereo.size());
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += double{stereo[i]} * stereo[i];
  return std::sqrt(sum / static_cast<double>(to - from));
}

// How far `heard` is from `reference`, as a share of the reference's level: 0 is the very same sound.
// The same music started on a synthesizer that has played before differs from it on a fresh one by a
// trace: the reverb's slow modulation does not restart with a song, and where it stands depends on how
// far the renderer had got (under 0.2 over a first second). A late start, a song not restarted or another
// instrument differs by 1 or more.
inline double Difference(const std::vector<float>& heard, const std::vector<float>& reference) {
  std::vector<float> difference(reference.size());
  for (std::size_t i = 0; i < reference.size(); ++i) difference[i] = heard.at(i) - reference[i];
  return Rms(difference) / Rms(reference);
}

inline constexpr double kSameMusic = 0.25;

struct HeardMusic {
  explicit HeardMusic(std::vector<std::string> soundFonts = {TestSoundFont()})
      : engine(mixer, std::move(soundFonts)) {}

  std::vector<float> render(long frames) { return mixer.render(frames); }

  // `frames` frames from the first period that sounds on (the song's first ticks may be silent); empty
  // if nothing ever sounds.
  std::vector<float> fromFirstSound(long frames) {
    std::vector<float> period;
    if (!WaitUntil([&] {
          period = render(kPeriod);
          return Peak(period) > kAudible;
        })) {
      return {};
    }
    std::vector<float> rest = render(frames - kPeriod);
    period.insert(period.end(), rest.begin(), rest.end());
    return period;
  }

  OfflineMixer mixer;
  FluidMusicEngine engine;
};

}  // namespace nokturna::testing
