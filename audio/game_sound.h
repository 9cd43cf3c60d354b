// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's sound, in the game's words: the sound effects on or off and a clip played by name; the song
// album beside the program, the music on or off, the song chosen and its volume. It keeps what the player
// should hear, and tells it to the back end that makes it heard (SoundBackEnd). That back end comes up
// only once the window is on the screen (see sound_process.h), and a later one may take its place: each
// one is told all that is wanted the moment it arrives. Used on the UI thread only.
#pragma once

#include <chrono>
#include <functional>
#include <optional>

#include "audio/clip.h"
#include "audio/song_album.h"
#include "audio/sound_back_end.h"

namespace nokturna {

class GameSound {
 public:
  using Clock = std::chrono::steady_clock;

  // The volume setting every song plays at (x 42 - 3000: +570 hundredths of a decibel).
  static constexpr std::int16_t kVolumeSetting = 85;
  // A clip asked for while there is no back end plays when one arrives within this time, and never
  // later (sound_back_end.h).
  static constexpr std::chrono::milliseconds kClipPatience = nokturna::kClipPatience;

  // The sound as every start begins: effects on; with a song in `album`, the music on and the first song
  // playing. `now` tells the time, for the clips that wait (tests bring a clock of their own).
  explicit GameSound(SongAlbum album, std::function<Clock::time_point()> now = Clock::now);
  // One sound for the whole game: the window and the loader hold on to it.
  GameSound(const GameSound&) = delete;
  GameSound& operator=(const GameSound&) = delete;

  // The back end that makes the sound heard; null while there is none. It is told at once all that is
  // wanted, and so is the same one connected again.
  void connect(SoundBackEnd* backEnd);

  bool effectsOn() const { return effectsOn_; }
  // Off silences the clips asked for later; one that sounds plays to its end.
  void switchEffects(bool on);
  // With the effects on, `clip` sounds at once, cutting off the clip that sounds.
  void play(Clip clip);

  const SongAlbum& album() const { return album_; }
  bool musicOn() const { return musicOn_; }
  // Off stops the song at once. On starts nothing: a song sounds again once one is chosen.
  void switchMusic(bool on);
  // Song 1..4 plays once from its beginning. If its file does not load, the song that played before it
  // begins again instead.
  void chooseSong(int song);
  // The song chosen last, 1..4; 0 while none was.
  int currentSong() const { return currentSong_; }

 private:
  struct WaitingClip {
    Clip clip;
    Clock::time_point askedAt;
  };

  void tellMusic();

  SongAlbum album_;
  std::function<Clock::time_point()> now_;
  SoundBackEnd* backEnd_ = nullptr;
  bool effectsOn_ = true;
  bool musicOn_ = false;
  int currentSong_ = 0;
  WantedMusic music_;
  std::optional<WaitingClip> waitingClip_;  // asked for while there was no back end
};

}  // namespace nokturna
