// Any bytes as a song file. The validator must answer without crashing; a file it lets through goes on
// the path the game takes with it: written to a file, loaded by the FluidSynth engine's loader, played
// and rendered for a while. Nothing the validator accepts may crash or hang the synthesizer's player.
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "audio/fluid_music_engine.h"
#include "audio/standard_midi_file.h"

namespace {

using nokturna::FluidMusicEngine;

constexpr int kPeriod = nokturna::SdlAudioOutput::kPeriodFrames;
constexpr int kPeriodsPerSong = 64;  // about three quarters of a second of each song

std::string SoundFont() {
  const std::string small = "/usr/share/sounds/sf2/TimGM6mb.sf2";
  return std::filesystem::exists(small) ? small : nokturna::DefaultSoundFont();
}

struct Synth {
  Synth()
      : engine(SoundFont()),
        path(std::filesystem::temp_directory_path() /
             ("nokturna-song-fuzz-" + std::to_string(getpid()) + ".mid")) {
    ready = engine.Start();
    engine.SetVolume(570);
    // Start begins loading the SoundFont in the background; the small font is in well within this, so
    // every song from the first on really reaches the synthesizer's player.
    if (ready) std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  }
  ~Synth() { std::filesystem::remove(path); }

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
  std::vector<float> stereo(2 * kPeriod);
  for (int period = 0; period < kPeriodsPerSong; ++period) {
    synth.engine.mixInto(stereo.data(), kPeriod);
    if (!synth.engine.IsPlaying()) break;
  }
  synth.engine.Stop();
  return 0;
}
