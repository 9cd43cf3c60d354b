// The real music engine: a FluidSynth synthesizer with a General MIDI SoundFont that plays standard MIDI
// files, sounding through the game's one SDL output alongside the sound effects.
//
// Threads. The engine is used on the UI thread; mixInto() runs on the audio thread. The first Start begins
// a thread that creates the synthesizer and loads the SoundFont (a large font takes seconds), so the
// window never waits for it. Until the font is in, the engine renders silence and remembers what it was
// asked: a song played before then starts from its beginning once the font is in, unless it was stopped in
// the meantime. One mutex guards the synthesizer, the player and the volume; no one holds it for longer
// than a few synthesizer calls, and the first load of the font happens outside it.
//
// Memory. The synthesizer holds only the presets of the programs the songs played so far pick (in every
// bank, and program 0's): a song that starts brings in those it lacks, a few milliseconds under the
// mutex. It sounds exactly as with the whole font, for much less memory (under 2 MB against 7.5 MB with
// TimGM6mb). A font whose layout does not allow this is read whole.
//
// The song moves on only as it is rendered: while the output has no device it is not rendered, and it
// picks up where its sound stopped once the device is back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/music_engine.h"
#include "audio/sdl_audio_output.h"

namespace nokturna {

// The General MIDI SoundFonts to play with, in this order: the small font from Debian's timgm6mb-soundfont
// package (6 MB: in memory in a blink, and light to render), then the system's default ones. A font that
// is missing, or there but fails to load (damaged, cut short, empty), gives way to the next.
std::vector<std::string> SoundFontCandidates();
// The first candidate that is there (the small font's path when none is).
std::string DefaultSoundFont();

class FluidMusicEngine : public MusicEngine, public AudioSource {
 public:
  // Plays through `output`, which must outlive the engine, with the first of `soundFonts` that loads.
  // Start fails when none of them looks like a SoundFont, and once all have failed to load.
  explicit FluidMusicEngine(SdlAudioOutput& output,
                            std::vector<std::string> soundFonts = SoundFontCandidates());
  FluidMusicEngine(SdlAudioOutput& output, std::string soundFontPath);
  // Joins no output: sound comes out only through mixInto() calls of the owner's own.
  explicit FluidMusicEngine(std::string soundFontPath);
  explicit FluidMusicEngine(std::vector<std::string> soundFonts);
  // Returns within a fraction of a second even while the SoundFont is loading; a load still going then
  // finishes on its own and is thrown away.
  ~FluidMusicEngine() override;
  FluidMusicEngine(const FluidMusicEngine&) = delete;
  FluidMusicEngine& operator=(const FluidMusicEngine&) = delete;

  bool Start() override;
  // Refuses a file over 8 MB, far more than any real song, without reading it.
  bool Load(const std::string& path) override;
  bool Play() override;
  void Stop() override;
  bool IsPlaying() override;
  void SetVolume(std::int32_t hundredthsOfADecibel) override;

  // Adds the music's next `frames` stereo frames to `stereo` (AudioSource).
  void mixInto(float* stereo, int frames) override;
  // True while a song plays and for a moment after its last note, while the reverb dies away; the
  // synthesizer is not run at all otherwise.
  bool sounding() override;

  struct Core;

 private:
  SdlAudioOutput* output_;
  std::shared_ptr<Core> core_;
};

}  // namespace nokturna
