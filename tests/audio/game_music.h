// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's sound over a music engine under test, without clips: the songs of one folder, played as the
// game plays them (the first one as the game starts, then each song chosen).
#pragma once

#include <string>

#include "audio/game_sound.h"
#include "audio/in_process_back_end.h"
#include "tests/audio/recording_clip_player.h"

namespace nokturna::testing {

class GameMusic {
 public:
  GameMusic(MusicEngine& engine, const std::string& songFolder)
      : backEnd_(clips_, engine), sound_(LookForSongs(songFolder)) {
    sound_.connect(&backEnd_);
  }
  ~GameMusic() { sound_.connect(nullptr); }
  GameMusic(const GameMusic&) = delete;
  GameMusic& operator=(const GameMusic&) = delete;

  GameSound& sound() { return sound_; }

 private:
  RecordingClipPlayer clips_;
  InProcessBackEnd backEnd_;
  GameSound sound_;
};

}  // namespace nokturna::testing
