// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Loudness: the game's four songs beside ordinary General MIDI music from other projects, each played
// through the real music engine at the start-up volume (+570 hundredths of a decibel) and rendered
// offline. Prints RMS and peak per file, the references' mean, and how far each of our songs sits from
// that mean; the goal is within 4 dB.
//
// The level of a file is its RMS over its first two minutes of music: from the first audible sample (the
// silence before it, anything below -60 dBFS, is not part of the music) to the last one, or 120 s after
// the first, whichever comes first. That is the whole of each of our songs (109 to 115 s) and of most
// references; some references play for ten minutes or more. Both channels count together; 0 dBFS is a
// full-scale square wave. The first 20 s are printed too: what a player hears on starting the game.
//
//   loudness_bench                 our songs against the reference set below
//   loudness_bench FILE.mid...     our songs against these files instead
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "audio/clip_player.h"
#include "audio/fluid_music_engine.h"
#include "audio/game_sound.h"
#include "audio/in_process_back_end.h"
#include "audio/offline_mixer.h"
#include "audio/sdl_audio_output.h"

namespace {

namespace fs = std::filesystem;
using nokturna::SdlAudioOutput;

constexpr int kRate = SdlAudioOutput::kOutputRate;
constexpr int kPeriod = SdlAudioOutput::kPeriodFrames;
constexpr double kSilence = 1e-3;  // -60 dBFS
constexpr double kGoalDb = 4.0;
constexpr double kSpan = 120.0;  // seconds of music measured at most

const char* const kOpenMsx = "/usr/share/games/openttd/baseset/openmsx/";
const char* const kBlupi = "/usr/share/planetblupi/music/";

// Eight styles, told by their arrangements: big-band swing (saxes, brass, piano), a blues (honky-tonk
// piano, guitars), a fast rock tune (muted and overdriven guitars, synth bass), a folk dance (harp, fiddle,
// flute, strings), a pop tune (piano, synth bass and brass), a piano ballad (two pianos, vibraphone), a
// funk groove (muted guitar, clavinet, slap bass) and a marimba piece (marimba, wood block, slap bass).
std::vector<std::string> ReferenceSet() {
  const std::string openMsx = kOpenMsx, blupi = kBlupi;
  return {
      openMsx + "keep_on_rolling.mid", openMsx + "city_blues_redfarn.mid",
      openMsx + "chuggachugga.mid",    openMsx + "linns_basket.mid",
      openMsx + "modern_motion.mid",   openMsx + "ttsong_iv_imuh3.mid",
      blupi + "music004.mid",          blupi + "music008.mid",
  };
}

struct Level {
  bool played = false;
  double seconds = 0;  // from the first audible sample to the last
  double rmsDb = -200;
  double firstRmsDb = -200;  // over the first 20 s of that
  double peak = 0;
};

double Db(double amplitude) { return amplitude > 0 ? 20 * std::log10(amplitude) : -200; }

// No clips here: the music alone.
class NoClips : public nokturna::ClipPlayer {
 public:
  void play(const std::uint8_t*, std::size_t) override {}
};

// Plays `path` the way the game's back end begins a song it is asked for, at the start-up volume, heard
// offline.
Level Measure(const std::string& path) {
  Level level;
  nokturna::OfflineMixer mixer;
  nokturna::FluidMusicEngine engine(mixer, {nokturna::DefaultSoundFont()});
  NoClips clips;
  nokturna::InProcessBackEnd backEnd(clips, engine);
  backEnd.bringTo({path, 1, false, nokturna::GameSound::kVolumeSetting});  // +570

  // The SoundFont loads on a thread of its own; the song starts from its beginning once it is in.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!mixer.sounding() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  const auto audible = [](float s) { return std::fabs(s) > kSilence; };
  std::vector<float> music;
  std::size_t from = SIZE_MAX;  // the first audible sample's frame, in samples
  const auto span = static_cast<std::size_t>(2 * kSpan * kRate);
  while (mixer.sounding() && (from == SIZE_MAX || music.size() < from + span)) {
    const std::vector<float> period = mixer.render(kPeriod);
    music.insert(music.end(), period.begin(), period.end());
    if (from == SIZE_MAX) {
      const auto first = std::find_if(music.begin(), music.end(), audible);
      if (first != music.end()) from = static_cast<std::size_t>(first - music.begin()) & ~std::size_t{1};
    }
  }
  if (from == SIZE_MAX) return level;
  music.resize(std::min(music.size(), from + span));
  const auto last = std::find_if(music.rbegin(), music.rend(), audible).base();
  const std::size_t to = (static_cast<std::size_t>(last - music.begin()) + 1) & ~std::size_t{1};
  const std::size_t firstTo = std::min(to, from + std::size_t{2} * 20 * kRate);
  double sum = 0, firstSum = 0;
  for (std::size_t i = from; i < to; ++i) {
    const double s = music[i];
    sum += s * s;
    if (i < firstTo) firstSum += s * s;
    level.peak = std::max(level.peak, std::fabs(s));
  }
  level.played = true;
  level.seconds = static_cast<double>(to - from) / (2.0 * kRate);
  level.rmsDb = Db(std::sqrt(sum / static_cast<double>(to - from)));
  level.firstRmsDb = Db(std::sqrt(firstSum / static_cast<double>(firstTo - from)));
  return level;
}

void PrintRow(const std::string& name, const Level& level) {
  if (!level.played) {
    std::printf("%-36s  (does not play)\n", name.c_str());
    return;
  }
  std::printf("%-36s %7.1f s %8.1f dBFS %8.1f dBFS %7.3f\n", name.c_str(), level.seconds, level.rmsDb,
              level.firstRmsDb, level.peak);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> references(argv + 1, argv + argc);
  if (references.empty()) references = ReferenceSet();
  std::printf("SoundFont %s, volume +570 hundredths of a dB, rendered offline at %d Hz\n",
              nokturna::DefaultSoundFont().c_str(), kRate);
  std::printf("%-36s %9s %13s %13s %7s\n", "file", "length", "RMS (song)", "RMS (0-20 s)", "peak");

  double sum = 0;
  int counted = 0;
  for (const std::string& path : references) {
    const Level level = Measure(path);
    PrintRow(fs::path(path).filename().string(), level);
    if (!level.played) continue;
    sum += level.rmsDb;
    ++counted;
  }
  if (counted == 0) {
    std::printf("no reference file played: install openttd-openmsx and planetblupi-music-midi\n");
    return 1;
  }
  const double mean = sum / counted;
  std::printf("references' mean: %.1f dBFS over %d files\n\n", mean, counted);

  bool allMet = true;
  for (int n = 1; n <= 4; ++n) {
    const std::string name = "Music" + std::to_string(n) + ".mid";
    const Level level = Measure(std::string(NOKTURNA_SOURCE_DIR) + "/SongAlbum/" + name);
    PrintRow(name, level);
    const bool met = level.played && std::fabs(level.rmsDb - mean) <= kGoalDb;
    allMet = allMet && met;
    std::printf("%-36s %+.1f dB from the references' mean: %s\n", "", level.rmsDb - mean,
                met ? "within 4 dB, met" : "NOT within 4 dB");
  }
  return allMet ? 0 : 1;
}
