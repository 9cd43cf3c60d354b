// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/game_sound.h"

#include <utility>

namespace nokturna {

GameSound::GameSound(SongAlbum album, std::function<Clock::time_point()> now)
    : album_(std::move(album)), now_(std::move(now)), musicOn_(album_.hasSongs) {
  music_.volumeSetting = kVolumeSetting;
  // Even with only a later song there the first one is asked for: its file is missing, so nothing sounds.
  if (album_.hasSongs) chooseSong(1);
}

void GameSound::connect(SoundBackEnd* backEnd) {
  backEnd_ = backEnd;
  if (backEnd_ == nullptr) return;
  tellMusic();
  const std::optional<WaitingClip> waiting = std::exchange(waitingClip_, std::nullopt);
  if (waiting && now_() - waiting->askedAt <= kClipPatience) backEnd_->play(waiting->clip);
}

void GameSound::switchEffects(bool on) { effectsOn_ = on; }

void GameSound::play(Clip clip) {
  if (!effectsOn_) return;
  if (backEnd_ != nullptr) {
    backEnd_->play(clip);
  } else {
    // Only the last one counts: it would have cut off any asked for before it.
    waitingClip_ = WaitingClip{clip, now_()};
  }
}

void GameSound::switchMusic(bool on) {
  musicOn_ = on;
  if (on) return;
  music_.stopped = true;
  tellMusic();
}

void GameSound::chooseSong(int song) {
  if (song < 1 || song > SongAlbum::kSongCount) return;
  currentSong_ = song;
  music_.song = album_.songPath(song);
  ++music_.choice;
  music_.stopped = false;
  tellMusic();
}

void GameSound::tellMusic() {
  if (backEnd_ != nullptr) backEnd_->bringTo(music_);
}

}  // namespace nokturna
