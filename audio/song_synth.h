// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The synthesizer that plays the game's songs: FluidSynth with a General MIDI SoundFont, and the player
// of the song it plays. Plain and single-threaded: the music engine's loading thread makes it, and from
// then on its renderer alone uses it (see audio_source.h).
//
// Memory. The synthesizer holds only the presets of the programs the songs played so far pick (in every
// bank, and program 0's): a song that starts brings in those it lacks, a few milliseconds of reading. It
// sounds exactly as with the whole font, for much less memory (under 2 MB against 7.5 MB with TimGM6mb).
#pragma once

#include <fluidsynth.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/soundfont_presets.h"

namespace nokturna {

// A song as the synthesizer plays it: the file's bytes, the tick its last track ends on, and the programs
// it picks.
struct Song {
  std::vector<std::uint8_t> bytes;
  std::int64_t endTick = 0;
  Programs programs;
};

class SongSynth {
 public:
  // The synthesizer with the first of `soundFonts` that loads, holding the presets of `programs`; null
  // when none loads. A large font takes seconds to read, unless the thread is asked to stop
  // (font_file.h).
  static std::unique_ptr<SongSynth> Load(const std::vector<std::string>& soundFonts,
                                         const Programs& programs);
  ~SongSynth();
  SongSynth(const SongSynth&) = delete;
  SongSynth& operator=(const SongSynth&) = delete;

  // Starts `song` from its beginning, or from `fromTick` of its own time on (its notes before that
  // tick are skipped, its programs and controllers are not), in place of any other, once the presets it
  // lacks are read. False when the player does not take the song.
  bool start(const Song& song, std::int64_t fromTick = 0);
  // Ends the song at once, leaving nothing ringing.
  void silence();
  // Writes the next `frames` stereo frames (interleaved) into `stereo`.
  void render(float* stereo, int frames);
  // While `cut()` says so, the song's events no longer reach the synthesizer: rendering a song that is
  // being cut off or shut down ends at once, however many notes it piles onto one moment.
  void cutWhen(std::function<bool()> cut) { cut_ = std::move(cut); }
  // True while a song plays and for a moment after its last note, while the reverb dies away; there is
  // nothing to render otherwise.
  bool audible() const;
  // True once the song has passed the last end-of-track mark, or was stopped.
  bool songOver() const;
  // The song's own time rendered so far, in MIDI ticks.
  std::int64_t tick() const;

 private:
  SongSynth(fluid_settings_t* settings, fluid_synth_t* synth);
  void clearSynth();
  bool skipTo(std::int64_t tick);
  static int PassEvent(void* self, fluid_midi_event_t* event);

  fluid_settings_t* settings_;
  fluid_synth_t* synth_;
  SynthPresets presets_;              // those the synthesizer holds; outlive it
  fluid_player_t* player_ = nullptr;  // plays the song
  std::int64_t playerEndTick_ = 0;
  long tailFrames_ = 0;  // left to render after the last voice ended
  std::vector<float> scratch_;
  std::function<bool()> cut_ = [] { return false; };
  bool skippingNotes_ = false;
};

}  // namespace nokturna
