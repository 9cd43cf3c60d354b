// The real music engine: a FluidSynth synthesizer with a General MIDI SoundFont that plays standard MIDI
// files, sounding through the game's one SDL output alongside the sound effects.
//
// Threads. The engine's objects are used on the UI thread; mixInto() runs on the audio thread. The first
// performance to Init starts a thread that creates the synthesizer and loads the SoundFont (a large font
// takes seconds), so the window never waits for it. Until the font is in, the engine renders silence and
// remembers what it was asked: a segment played before then starts from its beginning once the font is in,
// unless it was stopped in the meantime. One mutex guards the synthesizer, the players and the volume; no
// one holds it for longer than a few synthesizer calls, and the font is loaded outside it.
//
// One synthesizer. Every performance plays on the same synthesizer, one song at a time: starting a play
// stops any other that still sounds, and the master volume is the synthesizer's.
#pragma once

#include <memory>
#include <string>

#include "audio/music_engine.h"
#include "audio/sdl_audio_output.h"

namespace nokturna {

// The General MIDI SoundFont to play with: the small font from Debian's timgm6mb-soundfont package (6 MB:
// in memory in a blink, and light to render), or the system's default one when the small font is missing.
std::string DefaultSoundFont();

class FluidMusicEngine : public MusicEngine, public AudioSource {
 public:
  // Plays through `output`, which must outlive the engine. Performances fail to Init while the output is
  // closed (no sound device) or the SoundFont is missing or is no SoundFont.
  explicit FluidMusicEngine(SdlAudioOutput& output, std::string soundFontPath = DefaultSoundFont());
  // Joins no output: sound comes out only through mixInto() calls of the owner's own.
  explicit FluidMusicEngine(std::string soundFontPath);
  // Returns within a fraction of a second even while the SoundFont is loading; a load still going then
  // finishes on its own and is thrown away. Objects of the engine may outlive it; they go quiet.
  ~FluidMusicEngine() override;
  FluidMusicEngine(const FluidMusicEngine&) = delete;
  FluidMusicEngine& operator=(const FluidMusicEngine&) = delete;

  std::unique_ptr<MusicRoot> CreateRoot() override;

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
