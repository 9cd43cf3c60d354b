// A music engine that plays nothing and writes down every call that changes something, for tests of the
// music module: "Start", "Load(/songs/Music1.mid)", "Play(/songs/Music1.mid)" (the song it starts),
// "Stop", "SetVolume(570)". A song "sounds" from Play until Stop or endSong().
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "audio/music_engine.h"

namespace nokturna::testing {

class RecordingMusicEngine : public MusicEngine {
 public:
  bool Start() override { return log("Start", !startFails_); }
  bool Load(const std::string& path) override {
    if (!log("Load(" + path + ")", unloadable_.count(path) == 0)) return false;
    kept_ = path;
    return true;
  }
  bool Play() override {
    if (kept_.empty()) return log("Play()", false);
    sounding_ = kept_;
    return log("Play(" + kept_ + ")");
  }
  void Stop() override {
    sounding_.clear();
    log("Stop");
  }
  bool IsPlaying() override { return !sounding_.empty(); }
  void SetVolume(std::int32_t volume) override { log("SetVolume(" + std::to_string(volume) + ")"); }

  std::vector<std::string>& calls() { return calls_; }
  std::set<std::string>& unloadable() { return unloadable_; }  // paths Load fails on
  void failStart() { startFails_ = true; }
  // True while the song read from `path` sounds.
  bool sounding(const std::string& path) const { return !path.empty() && sounding_ == path; }
  void endSong() { sounding_.clear(); }

 private:
  bool log(const std::string& call, bool result = true) {
    calls_.push_back(call);
    return result;
  }

  std::vector<std::string> calls_;
  std::set<std::string> unloadable_;
  bool startFails_ = false;
  std::string kept_;      // the song Load read last
  std::string sounding_;  // the song that sounds; empty when none
};

}  // namespace nokturna::testing
