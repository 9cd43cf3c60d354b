// A music engine that plays nothing and writes down every call and release, for tests of the music module.
// Objects are numbered in the order they are made: "loader#2", "performance#3", "segment#4", "state#5".
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "audio/music_engine.h"

namespace nokturna::testing {

class RecordingMusicEngine : public MusicEngine {
 public:
  struct Record {
    std::vector<std::string> calls;
    std::set<std::string> unloadable;  // paths LoadSegment fails on
    bool initFails = false;
    std::set<std::string> sounding;  // states whose play has not ended or been stopped
    int made = 0;

    std::string make(const std::string& kind) { return kind + "#" + std::to_string(++made); }
  };

  std::unique_ptr<MusicRoot> CreateRoot() override {
    auto root = std::make_unique<Root>(record_, record_->make("root"));
    record_->calls.push_back("CreateRoot -> " + root->name);
    return root;
  }

  std::vector<std::string>& calls() { return record_->calls; }
  std::set<std::string>& unloadable() { return record_->unloadable; }
  void failInit() { record_->initFails = true; }
  bool sounding(const std::string& state) const { return record_->sounding.count(state) != 0; }
  void endSongs() { record_->sounding.clear(); }

 private:
  using Shared = std::shared_ptr<Record>;

  struct Object {
    Object(Shared record, std::string name) : record(std::move(record)), name(std::move(name)) {}
    ~Object() { record->calls.push_back("release " + name); }
    bool log(const std::string& call, bool result = true) {
      record->calls.push_back(name + "." + call);
      return result;
    }
    Shared record;
    std::string name;
  };

  struct Segment : MusicSegment, Object {
    using Object::Object;
    bool SetStandardMidiFile() override { return log("SetStandardMidiFile"); }
    bool SetStartPoint(std::int32_t time) override {
      return log("SetStartPoint(" + std::to_string(time) + ")");
    }
  };

  struct State : MusicSegmentState, Object {
    using Object::Object;
  };

  static std::string Name(const MusicSegment* segment) {
    return segment == nullptr ? "none" : dynamic_cast<const Segment*>(segment)->name;
  }
  static std::string Name(const MusicSegmentState* state) {
    return state == nullptr ? "none" : dynamic_cast<const State*>(state)->name;
  }

  struct Loader : MusicLoader, Object {
    using Object::Object;
    std::unique_ptr<MusicSegment> LoadSegment(const std::string& path) override {
      if (!log("LoadSegment(" + path + ")", record->unloadable.count(path) == 0)) return nullptr;
      return std::make_unique<Segment>(record, record->make("segment"));
    }
    bool SetSearchDirectory(const std::string& folder) override {
      return log("SetSearchDirectory(" + folder + ")");
    }
  };

  struct Performance : MusicPerformance, Object {
    using Object::Object;
    bool Init() override { return log("Init", !record->initFails); }
    bool SetPort(int port, int groups) override {
      return log("SetPort(" + std::to_string(port) + "," + std::to_string(groups) + ")");
    }
    bool SetMasterAutoDownload(bool on) override {
      return log(on ? "SetMasterAutoDownload(true)" : "SetMasterAutoDownload(false)");
    }
    bool SetMasterVolume(std::int32_t volume) override {
      return log("SetMasterVolume(" + std::to_string(volume) + ")");
    }
    bool IsPlaying(const MusicSegment* segment, const MusicSegmentState* state) override {
      const bool playing = state != nullptr && record->sounding.count(Name(state)) != 0;
      log("IsPlaying(" + Name(segment) + "," + Name(state) + ")");
      return playing;
    }
    std::unique_ptr<MusicSegmentState> PlaySegment(const MusicSegment& segment, std::int32_t flags,
                                                   std::int64_t start) override {
      auto state = std::make_unique<State>(record, record->make("state"));
      log("PlaySegment(" + Name(&segment) + "," + std::to_string(flags) + "," + std::to_string(start) +
          ") -> " + state->name);
      record->sounding.insert(state->name);
      return state;
    }
    bool Stop(const MusicSegment* segment, const MusicSegmentState* state, std::int64_t time,
              std::int32_t flags) override {
      if (state != nullptr) record->sounding.erase(Name(state));
      return log("Stop(" + Name(segment) + "," + Name(state) + "," + std::to_string(time) + "," +
                 std::to_string(flags) + ")");
    }
  };

  struct Root : MusicRoot, Object {
    using Object::Object;
    std::unique_ptr<MusicLoader> CreateLoader() override {
      auto loader = std::make_unique<Loader>(record, record->make("loader"));
      log("CreateLoader -> " + loader->name);
      return loader;
    }
    std::unique_ptr<MusicPerformance> CreatePerformance() override {
      auto performance = std::make_unique<Performance>(record, record->make("performance"));
      log("CreatePerformance -> " + performance->name);
      return performance;
    }
  };

  Shared record_ = std::make_shared<Record>();
};

}  // namespace nokturna::testing
