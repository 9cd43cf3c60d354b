// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The sound back end inside the process that makes the sound: the sound program's (sound_program.h), or a
// test's or a benchmark's. It is told what is wanted by plain calls on one thread: a clip goes to the clip
// player as its built-in WAV image (builtin_clips.h), the music to the music engine.
#pragma once

#include "audio/clip_player.h"
#include "audio/music_engine.h"
#include "audio/sound_back_end.h"

namespace nokturna {

class InProcessBackEnd : public SoundBackEnd {
 public:
  // Both must outlive it.
  InProcessBackEnd(ClipPlayer& clips, MusicEngine& music);

  void bringTo(const WantedMusic& wanted) override;
  // The same for a back end that takes over from one that went: a choice it has not begun yet, which
  // `resumeFrom` is about, is picked up where that one's sound stopped, and not begun at all when it was
  // heard to its end.
  void bringTo(const WantedMusic& wanted, const SongProgress& resumeFrom);
  void play(Clip clip) override;

  // How far the song of the choice carried out last has been heard.
  SongProgress progress();

 private:
  void beginSong(const WantedMusic& wanted, std::int64_t fromTick);

  ClipPlayer& clips_;
  MusicEngine& music_;
  unsigned choiceBegun_ = 0;  // the last song choice carried out
  bool stopped_ = false;
  bool heardOut_ = false;  // that choice was heard to its end before this back end took over
};

}  // namespace nokturna
