// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Any bytes as a song file. The validator must answer without crashing; a file it lets through goes on
// the path the game takes with it: written to a file, loaded by the FluidSynth engine's loader, played
// and rendered for a while. Nothing the validator accepts may crash or hang the synthesizer's player.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/fluid_music_engine.h"
#include "audio/offline_mixer.h"
#include "audio/standard_midi_file.h"

namespace {

using nokturna::FluidMusicEngine;

constexpr int kPeriod = nokturna::SdlAudioOutput::kPeriodFrames;
constexpr int kPeriodsPerSong = 64;  // about three quarters of a second of each song

std::string SoundFont() {
  const std::string small = "/usr/share/sounds/sf2/TimGM6mb.sf2";
  return std::filesystem::exists(small) ? small : nokturna::DefaultSoundFont();
}

// The offline mixer waits for the engine to render each period, also for the SoundFont to load before the
// first song: every song really reaches the synthesizer's player.
struct Synth {
  Synth()
      : engine(mixer, {SoundFont()}),
        path(std::filesystem::temp_directory_path() /
             ("nokturna-song-fuzz-" + std::to_string(getpid()) + ".mid")) {
    ready = engine.Start();
    engine.SetVolume(570);
  }
  ~Synth() { std::filesystem::remove(path); }

  nokturna::OfflineMixer mixer;
  FluidMusicEngine engine;
  std::filesystem::path path;
  bool ready = false;
};

Synth& TheSynth() {
  static Synth* synth = new Synth;  // lives to the end of the run, like the game's engine
  return *synth;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> file(data, data + size);
  const auto song = nokturna::CheckMidiSong(file);
  if (!song) return 0;
  if (song->endTick < 0 || !song->programs.test(0)) std::abort();

  Synth& synth = TheSynth();
  if (!synth.ready) return 0;
  {
    std::ofstream out(synth.path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  // The loader must take what the validator took (the fuzzer's inputs stay far below the size limit).
  if (!synth.engine.Load(synth.path.string())) std::abort();
  if (!synth.engine.Play()) return 0;
  for (int period = 0; period < kPeriodsPerSong; ++period) {
    synth.mixer.render(kPeriod);
    if (!synth.engine.IsPlaying()) break;
  }
  synth.engine.Stop();
  return 0;
}
