// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/song_synth.h"

#include <algorithm>
#include <utility>

#include "audio/font_file.h"
#include "audio/music_level.h"
#include "audio/sdl_audio_output.h"

namespace nokturna {

namespace {

// Notes cut off by a stop fade out over a few of the synthesizer's 64-frame blocks; this is twice as long.
constexpr int kSettleFrames = 512;
// The synthesizer keeps rendering this long after its last voice has ended: the reverb's tail.
constexpr long kTailFrames = 2L * SdlAudioOutput::kOutputRate;
// Enough voices for the game's songs and the General MIDI music like them; a storm of notes steals the
// oldest rather than piling up.
constexpr int kVoices = 96;

}  // namespace

std::unique_ptr<SongSynth> SongSynth::Load(const std::vector<std::string>& soundFonts,
                                           const Programs& programs) {
  fluid_settings_t* settings = new_fluid_settings();
  if (settings == nullptr) return nullptr;
  fluid_settings_setnum(settings, "synth.sample-rate", SdlAudioOutput::kOutputRate);
  fluid_settings_setnum(settings, "synth.gain", kReferenceGain);
  // The players keep time by the samples rendered, so an offline render plays the song exactly as well.
  fluid_settings_setstr(settings, "player.timing-source", "sample");
  // Only the samples of the instruments a song picks are read into memory, not the whole SoundFont (the
  // default General MIDI font is some 140 MB).
  fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
  // General MIDI songs send nothing to the chorus unless they ask (controller 93 starts at 0), and the
  // game's songs never ask: the chorus would only burn time rendering silence.
  fluid_settings_setint(settings, "synth.chorus.active", 0);
  fluid_settings_setint(settings, "synth.polyphony", kVoices);
  fluid_synth_t* synth = new_fluid_synth(settings);
  if (synth == nullptr) {
    delete_fluid_settings(settings);
    return nullptr;
  }
  AddImageLoader(synth, settings);
  std::unique_ptr<SongSynth> made(new SongSynth(settings, synth));
  // A font that is there may still fail to load (damaged, cut short): the next one is tried then, as for
  // one that is missing.
  for (const std::string& font : soundFonts) {
    if (FontReadingStopped()) break;
    if (LooksLikeSoundFont(font) && made->presets_.readFont(synth, font, programs)) return made;
  }
  return nullptr;
}

SongSynth::SongSynth(fluid_settings_t* settings, fluid_synth_t* synth)
    : settings_(settings), synth_(synth), scratch_(2 * kSettleFrames) {}

SongSynth::~SongSynth() {
  if (player_ != nullptr) delete_fluid_player(player_);
  delete_fluid_synth(synth_);
  delete_fluid_settings(settings_);
}

bool SongSynth::audible() const {
  if (tailFrames_ > 0) return true;
  return player_ != nullptr && fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING;
}

bool SongSynth::songOver() const {
  // The player calls itself done only seconds after the end of the song; the song is over as soon as the
  // player has passed the last end-of-track mark.
  return player_ == nullptr || fluid_player_get_status(player_) != FLUID_PLAYER_PLAYING ||
         fluid_player_get_current_tick(player_) > playerEndTick_;
}

std::int64_t SongSynth::tick() const {
  return player_ != nullptr ? fluid_player_get_current_tick(player_) : 0;
}

void SongSynth::silence() {
  if (player_ == nullptr) return;
  fluid_player_stop(player_);
  delete_fluid_player(std::exchange(player_, nullptr));
  clearSynth();
}

// Cuts every sound. A stopped player leaves its notes ringing, and the notes cut still fade for a moment
// into the reverb, whose echoes come back tens of milliseconds later: so all sounds go off, that fade is
// rendered away, and the reset after it empties the effects.
void SongSynth::clearSynth() {
  fluid_synth_system_reset(synth_);
  fluid_synth_all_sounds_off(synth_, -1);
  fluid_synth_write_float(synth_, kSettleFrames, scratch_.data(), 0, 2, scratch_.data(), 1, 2);
  fluid_synth_system_reset(synth_);
  tailFrames_ = 0;
}

// A fresh player for every start: seeking an old player back to 0 loses the notes of the first tick.
bool SongSynth::start(const Song& song, std::int64_t fromTick) {
  presets_.bringIn(synth_, song.programs);
  silence();
  clearSynth();
  fluid_player_t* fresh = new_fluid_player(synth_);
  if (fresh == nullptr) return false;
  fluid_player_set_playback_callback(fresh, &SongSynth::PassEvent, this);
  // The player takes a copy of the song. A loop count of 1 plays the song once.
  if (fluid_player_add_mem(fresh, song.bytes.data(), song.bytes.size()) != FLUID_OK ||
      fluid_player_set_loop(fresh, 1) != FLUID_OK || fluid_player_play(fresh) != FLUID_OK) {
    delete_fluid_player(fresh);
    return false;
  }
  player_ = fresh;
  if (fromTick > 0 && fromTick < song.endTick && !skipTo(fromTick)) {
    silence();
    return false;
  }
  playerEndTick_ = song.endTick;
  tailFrames_ = kTailFrames;
  return true;
}

// The player reads its song only on its first call, and takes a seek only once it has: so it is called
// once, for a moment rendered away with no note let through, and then sent on to the tick. On its way
// there it sends the song's programs and controllers, but none of its notes.
bool SongSynth::skipTo(std::int64_t tick) {
  constexpr int kFirstCallFrames = 64;
  skippingNotes_ = true;
  fluid_synth_write_float(synth_, kFirstCallFrames, scratch_.data(), 0, 2, scratch_.data(), 1, 2);
  skippingNotes_ = false;
  return fluid_player_seek(player_, static_cast<int>(tick)) == FLUID_OK;
}

int SongSynth::PassEvent(void* self, fluid_midi_event_t* event) {
  auto* synth = static_cast<SongSynth*>(self);
  if (synth->cut_()) return FLUID_OK;
  constexpr int kNoteOn = 0x90;
  if (synth->skippingNotes_ && fluid_midi_event_get_type(event) == kNoteOn) return FLUID_OK;
  return fluid_synth_handle_midi_event(synth->synth_, event);
}

void SongSynth::render(float* stereo, int frames) {
  fluid_synth_write_float(synth_, frames, stereo, 0, 2, stereo, 1, 2);
  if (fluid_synth_get_active_voice_count(synth_) > 0) {
    tailFrames_ = kTailFrames;
  } else {
    tailFrames_ = std::max(0L, tailFrames_ - frames);
  }
}

}  // namespace nokturna
