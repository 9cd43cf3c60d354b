// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The real music engine: FluidSynth with a General MIDI SoundFont (song_synth.h) playing standard MIDI
// files, heard through a mixer (the game's SDL output, beside the sound effects, or an offline render).
//
// Threads (see audio_source.h). The engine's operations come from the game's thread and return at once:
// each says what the game now wants (this song from its beginning, or silence), and the engine's renderer
// brings the synthesizer to it and renders ahead into a ring, which the mixer's thread plays from. The
// first Start begins the renderer and a thread that makes the synthesizer and reads the SoundFont (a large
// font takes seconds); until the font is in, a song asked for waits, and starts from its beginning once
// it is, unless it was stopped in the meantime.
//
// The song moves on only as it is heard: the renderer rests while the ring is full, so while the output
// has no device nothing more is rendered, and the song picks up where its sound stopped once the device
// is back.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_source.h"
#include "audio/music_engine.h"
#include "audio/music_ring.h"

namespace nokturna {

class SongSynth;
struct Song;

// The General MIDI SoundFonts to play with, in this order: the small font from Debian's timgm6mb-soundfont
// package (6 MB: in memory in a blink, and light to render), then the system's default ones. A font that
// is missing, or there but fails to load (damaged, cut short, empty), gives way to the next.
std::vector<std::string> SoundFontCandidates();
// The first candidate that is there (the small font's path when none is).
std::string DefaultSoundFont();

class FluidMusicEngine : public MusicEngine, private AudioSource {
 public:
  // Plays through `mixer`, which must outlive the engine, with the first of `soundFonts` that loads.
  // Start fails when none of them looks like a SoundFont, and once all have failed to load.
  explicit FluidMusicEngine(AudioMixer& mixer, std::vector<std::string> soundFonts = SoundFontCandidates());
  // Joins the engine's threads within milliseconds, whatever the SoundFont's load or the song is doing.
  ~FluidMusicEngine() override;
  FluidMusicEngine(const FluidMusicEngine&) = delete;
  FluidMusicEngine& operator=(const FluidMusicEngine&) = delete;

  bool Start() override;
  // Refuses a file over 8 MB, far more than any real song, without reading it.
  bool Load(const std::string& path) override;
  bool Play() override;
  bool PlayFrom(std::int64_t tick) override;
  void Stop() override;
  // True until the song's last note has been heard.
  bool IsPlaying() override;
  std::int64_t HeardTick() override;
  void SetVolume(std::int32_t hundredthsOfADecibel) override;

 private:
  enum class Font { NotAsked, Loading, In, Failed };
  // What the game last asked for: the `performance`th song played or stopped, counted from 1. Aligned to
  // its size, so that every compiler keeps it in one atomic word.
  struct alignas(8) Cue {
    std::uint32_t performance = 0;
    std::uint32_t plays = 0;  // 1 when it is a song played, 0 when it is silence
  };
  static_assert(std::atomic<Cue>::is_always_lock_free, "the mixer's thread reads the cue without a lock");

  void cue(std::shared_ptr<const Song> song, std::int64_t fromTick = 0);

  // The font loader's thread, and the renderer's.
  void loadFont(std::stop_token stop);
  void renderSongs(std::stop_token stop);
  bool renderBlock(SongSynth& synth, std::uint32_t performance, bool& songOver);
  void settle(std::uint32_t performance);

  // The music as the mixer hears it (AudioSource): on the mixer's thread.
  void mixInto(float* stereo, int frames) override;
  // True while the song the game asked for is rendered and not yet heard to its end; the synthesizer is
  // not run at all otherwise.
  bool sounding() override;
  void awaitFrames(int frames) override;
  void dropStale(std::uint32_t performance);
  void heard(const MusicBlock& block);

  AudioMixer& mixer_;
  const std::vector<std::string> soundFonts_;

  // The game's thread's alone.
  bool started_ = false;
  std::shared_ptr<const Song> kept_;  // the song Load read last
  std::uint32_t performances_ = 0;    // the last cue's number
  std::uint32_t playing_ = 0;         // the cue of the song played last, 0 once it is stopped
  std::int64_t playedFrom_ = 0;       // the tick it was played from

  // What the renderer is to play, under a lock held only to copy a pointer and a number (audio_source.h).
  std::mutex wantedMutex_;
  std::shared_ptr<const Song> wantedSong_;
  std::int64_t wantedFromTick_ = 0;
  std::uint32_t wantedPerformance_ = 0;

  // The loader's result: the loader writes `loaded_`, then `font_`; the renderer reads them in that order.
  std::atomic<Font> font_{Font::NotAsked};
  std::unique_ptr<SongSynth> loaded_;

  std::atomic<Cue> cue_{};                   // written by the game's thread
  std::atomic<float> amplitude_{1.0f};       // the master volume as a factor; the game's thread writes it
  std::atomic<std::uint32_t> streaming_{0};  // the performance the renderer renders; the renderer writes it
  std::atomic<std::uint32_t> settled_{0};    // the last the renderer is done with; the renderer writes it
  std::atomic<std::uint32_t> ended_{0};      // the last heard to its end; the mixer's thread writes it
  std::atomic<std::uint32_t> over_{0};       // the last whose song is over; both of those raise it
  // How far the mixer has heard a song: the tick at the end of the last block heard, written before the
  // performance it belongs to; the mixer's thread writes both.
  std::atomic<std::int64_t> heardTick_{0};
  std::atomic<std::uint32_t> heardPerformance_{0};
  // Rung (counted up and notified) when there is something new for the renderer, and for a mixer that
  // waits for it (awaitFrames): neither rings ever waits.
  std::atomic<std::uint32_t> rendererBell_{0};
  std::atomic<std::uint32_t> listenerBell_{0};
  MusicRing ring_;
  int readFrames_ = 0;  // how much of the oldest block has been heard; the mixer's thread's alone

  std::jthread renderer_;
  std::jthread loader_;
};

}  // namespace nokturna
