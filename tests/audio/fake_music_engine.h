// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A music engine that plays nothing but knows what would be heard: which song sounds (by its file), at
// what level, how many times a song has begun from its beginning, and where one was picked up. Like the real
// engine it plays nothing before Start, keeps the song it had when a load fails, and plays a song once: the
// song sounds from Play until Stop or endSong().
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "audio/music_engine.h"

namespace nokturna::testing {

class FakeMusicEngine : public MusicEngine {
 public:
  bool Start() override { return started_ = !startFails_; }
  bool Load(const std::string& path) override {
    if (unloadable_.count(path) != 0) return false;
    kept_ = path;
    return true;
  }
  bool Play() override { return PlayFrom(0); }
  bool PlayFrom(std::int64_t tick) override {
    if (!started_ || kept_.empty()) return false;
    sounding_ = kept_;
    heardTick_ = tick;
    if (tick == 0) ++beginnings_;
    return true;
  }
  void Stop() override { sounding_.clear(); }
  bool IsPlaying() override { return !sounding_.empty(); }
  std::int64_t HeardTick() override { return heardTick_; }
  void SetVolume(std::int32_t hundredthsOfADecibel) override { level_ = hundredthsOfADecibel; }

  // The file of the song that sounds; empty in silence.
  const std::string& song() const { return sounding_; }
  // The level it sounds at, in hundredths of a decibel.
  std::int32_t level() const { return level_; }
  // How many times a song has begun from its beginning.
  int beginnings() const { return beginnings_; }

  void endSong() { sounding_.clear(); }
  // Where the song that sounds was picked up, or how far a test says it has been heard.
  std::int64_t& heardTick() { return heardTick_; }
  std::set<std::string>& unloadable() { return unloadable_; }  // files Load fails on
  void failStart() { startFails_ = true; }

 private:
  std::set<std::string> unloadable_;
  bool startFails_ = false;
  bool started_ = false;
  std::string kept_;      // the song Load read last
  std::string sounding_;  // empty in silence
  std::int32_t level_ = 0;
  std::int64_t heardTick_ = 0;
  int beginnings_ = 0;
};

}  // namespace nokturna::testing
