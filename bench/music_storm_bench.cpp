// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Clips and shutdown over a storm of notes: a valid song under the 8 MB limit that piles 100,000 notes
// onto each of its moments, so that the synthesizer renders it far slower than it plays. Through the game's
// own output (SDL's "disk" driver, real-time pacing), clip player and music engine: how long the clip
// player's play() call takes, and when the clip's first sample reaches the device, while the storm renders;
// then how long the engine takes to shut down in the middle of the storm. Goals: a clip within one device
// period + 1 ms, as over any music, and a play() call that never waits for the music; shutdown under 200 ms.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "audio/fluid_music_engine.h"
#include "audio/sdl_audio_output.h"
#include "audio/sdl_clip_player.h"

namespace {

using Clock = std::chrono::steady_clock;
using nokturna::SdlAudioOutput;

constexpr long kNotes = 900000;
constexpr long kNotesAMoment = 100000;
// Quiet enough that the storm never hides the clip from the probe.
constexpr std::int32_t kStormVolume = -3000;
constexpr int kClips = 40;
constexpr int kShutdowns = 5;

void PutBe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// One track of notes on the piano, each one on and off again at once, a tick after every kNotesAMoment.
std::vector<std::uint8_t> Storm() {
  std::vector<std::uint8_t> track{0x00, 0xC0, 0x00};
  for (long i = 0; i < kNotes; ++i) {
    const auto key = static_cast<std::uint8_t>(36 + i % 60);
    const std::uint8_t later = (i + 1) % kNotesAMoment == 0 ? 1 : 0;
    track.insert(track.end(), {0x00, 0x90, key, 100, later, key, 0x00});
  }
  track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
  std::vector<std::uint8_t> file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k'};
  PutBe(file, static_cast<std::uint32_t>(track.size()), 4);
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

// A tenth of a second at +0.5, 8-bit mono at 22,050 Hz, as the game's clips are.
std::vector<std::uint8_t> Clip() {
  const std::uint32_t frames = 2205;
  std::vector<std::uint8_t> image{'R', 'I', 'F', 'F'};
  PutLe(image, 36 + frames, 4);
  image.insert(image.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  for (std::uint32_t value : {16u, 1u | 1u << 16, 22050u, 22050u, 1u | 8u << 16}) PutLe(image, value, 4);
  image.insert(image.end(), {'d', 'a', 't', 'a'});
  PutLe(image, frames, 4);
  image.insert(image.end(), frames, 0xC0);
  return image;
}

// Mixed right after the clip player, before the music: notes when the clip's first sample is there.
class Probe : public nokturna::AudioSource {
 public:
  void mixInto(float* stereo, int frames) override {
    if (!armed.load()) return;
    for (int i = 0; i < 2 * frames; ++i) {
      if (stereo[i] > 0.25f) {
        heard.store(Clock::now().time_since_epoch().count());
        armed.store(false);
        return;
      }
    }
  }
  bool sounding() override { return false; }
  std::atomic<bool> armed{false};
  std::atomic<Clock::rep> heard{0};
};

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double At(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

}  // namespace

int main() {
  setenv("SDL_AUDIODRIVER", "disk", 0);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 0);
  unsetenv("SDL_DISKAUDIODELAY");
  const std::string song = (std::filesystem::temp_directory_path() / "nokturna-music-storm.mid").string();
  const std::vector<std::uint8_t> storm = Storm();
  std::ofstream(song, std::ios::binary)
      .write(reinterpret_cast<const char*>(storm.data()), static_cast<std::streamsize>(storm.size()));
  const std::vector<std::uint8_t> clip = Clip();

  SdlAudioOutput output;
  if (!output.isOpen()) {
    std::fprintf(stderr, "music storm: no sound device\n");
    return 2;
  }
  nokturna::SdlClipPlayer clips(output);
  Probe probe;
  output.addSource(&probe);
  const auto stormUp = [&](nokturna::FluidMusicEngine& music) {
    music.Start();
    music.SetVolume(kStormVolume);
    music.Load(song);
    music.Play();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the font is in, the storm renders
  };

  std::vector<double> callMs, heardMs;
  {
    nokturna::FluidMusicEngine music(output);
    stormUp(music);
    for (int i = 0; i < kClips; ++i) {
      probe.heard.store(0);
      probe.armed.store(true);
      const auto asked = Clock::now();
      clips.play(clip.data(), clip.size());
      callMs.push_back(Ms(Clock::now() - asked));
      while (probe.heard.load() == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
      heardMs.push_back(Ms(Clock::duration(probe.heard.load()) - asked.time_since_epoch()));
      std::this_thread::sleep_for(std::chrono::milliseconds(150));  // the clip ends before the next
    }
  }
  std::vector<double> shutdownMs;
  for (int i = 0; i < kShutdowns; ++i) {
    auto music = std::make_unique<nokturna::FluidMusicEngine>(output);
    stormUp(*music);
    const auto asked = Clock::now();
    music.reset();
    shutdownMs.push_back(Ms(Clock::now() - asked));
  }
  output.removeSource(&probe);
  std::filesystem::remove(song);

  const double goal = 1000.0 * SdlAudioOutput::kPeriodFrames / SdlAudioOutput::kOutputRate + 1.0;
  std::printf("music storm: %.1f MB song, %ld notes a moment\n", static_cast<double>(storm.size()) / 1e6,
              kNotesAMoment);
  std::printf("clips over the storm (%d): play() returns in median %.2f ms, worst %.2f ms\n", kClips,
              At(callMs, 0.5), At(callMs, 1.0));
  std::printf(
      "clips over the storm: first sample at the device after median %.2f ms, worst %.2f ms; "
      "goal <= %.2f ms -> %s\n",
      At(heardMs, 0.5), At(heardMs, 1.0), goal, At(heardMs, 1.0) <= goal ? "PASS" : "FAIL");
  std::printf(
      "engine shut down in the middle of the storm (%d): median %.1f ms, worst %.1f ms; goal < 200 ms -> "
      "%s\n",
      kShutdowns, At(shutdownMs, 0.5), At(shutdownMs, 1.0), At(shutdownMs, 1.0) < 200 ? "PASS" : "FAIL");
  return 0;
}
