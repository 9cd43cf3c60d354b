// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The music engine the game's sound plays through: it keeps one song, read from a standard MIDI file,
// and plays it once from its beginning. One song sounds at a time. No call throws: failures come back as
// false, and only mean silence. The real engine is FluidMusicEngine; tests use a fake.
#pragma once

#include <cstdint>
#include <string>

namespace nokturna {

class MusicEngine {
 public:
  virtual ~MusicEngine() = default;

  // Makes the engine ready to play; calling it again is cheap. False when it never can (no usable
  // SoundFont). A sound device is not needed yet: a song played before there is one is heard once there is.
  virtual bool Start() = 0;
  // Reads the song file at `path` (a full path) and keeps it as the song to play. False when the file is
  // missing, unreadable, too large or not a song; the song kept before then stays.
  virtual bool Load(const std::string& path) = 0;
  // Plays the kept song once from its beginning, cutting off any song that still sounds. False without
  // a song or before Start.
  virtual bool Play() = 0;
  // The same from `tick` of the song's own time (MIDI ticks) on: a song picked up where it was last heard,
  // by an engine that was not there when it began.
  virtual bool PlayFrom(std::int64_t tick) = 0;
  // Ends the song at once.
  virtual void Stop() = 0;
  // True from Play until the song has passed its last note or is stopped.
  virtual bool IsPlaying() = 0;
  // How far the song played last has been heard, in its own ticks: where it would be picked up.
  virtual std::int64_t HeardTick() = 0;
  // The overall volume, in hundredths of a decibel.
  virtual void SetVolume(std::int32_t hundredthsOfADecibel) = 0;
};

}  // namespace nokturna
