// The music engine the music module plays through: a root object hands out loaders and performances,
// a loader reads a song file into a segment, and a performance plays segments, each play being one
// segment state. Releasing an object is dropping it. No call throws: failures come back as false or null.
// The real engine is FluidMusicEngine; tests use a recording fake.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace nokturna {

// A loaded song.
class MusicSegment {
 public:
  virtual ~MusicSegment() = default;
  // Treats the segment as a standard MIDI file.
  virtual bool SetStandardMidiFile() = 0;
  // Where the next play of the segment begins, in music time; 0 is the start of the song.
  virtual bool SetStartPoint(std::int32_t musicTime) = 0;
};

// One play of a segment, as PlaySegment returned it. Dropping it does not stop the play.
class MusicSegmentState {
 public:
  virtual ~MusicSegmentState() = default;
};

class MusicLoader {
 public:
  virtual ~MusicLoader() = default;
  // The song file at `path` (a full path); null when it is missing, unreadable or not a song.
  virtual std::unique_ptr<MusicSegment> LoadSegment(const std::string& path) = 0;
  // Where the loader looks for files that a segment refers to; `folder` ends in a separator.
  virtual bool SetSearchDirectory(const std::string& folder) = 0;
};

class MusicPerformance {
 public:
  // Dropping a performance silences whatever it still plays.
  virtual ~MusicPerformance() = default;
  // Sets up the performance's own sound output. False when there is nothing to play through.
  virtual bool Init() = 0;
  // Opens a MIDI port for `channelGroups` groups of 16 channels; port -1 is the default port.
  virtual bool SetPort(int port, int channelGroups) = 0;
  // On: instruments reach the synthesizer by themselves when a segment plays.
  virtual bool SetMasterAutoDownload(bool on) = 0;
  // The overall volume, in hundredths of a decibel.
  virtual bool SetMasterVolume(std::int32_t volume) = 0;
  // True while the play `state` of `segment` sounds. With no state: while any play of the segment does.
  virtual bool IsPlaying(const MusicSegment* segment, const MusicSegmentState* state) = 0;
  // Starts a play of `segment` as soon as possible (flags 0, start time 0). Null on failure.
  virtual std::unique_ptr<MusicSegmentState> PlaySegment(const MusicSegment& segment, std::int32_t flags,
                                                         std::int64_t startTime) = 0;
  // Stops the play `state` of `segment` at once (time 0, flags 0).
  virtual bool Stop(const MusicSegment* segment, const MusicSegmentState* state, std::int64_t time,
                    std::int32_t flags) = 0;
};

// The root object.
class MusicRoot {
 public:
  virtual ~MusicRoot() = default;
  virtual std::unique_ptr<MusicLoader> CreateLoader() = 0;
  virtual std::unique_ptr<MusicPerformance> CreatePerformance() = 0;
};

class MusicEngine {
 public:
  virtual ~MusicEngine() = default;
  // Null when the engine cannot be used at all.
  virtual std::unique_ptr<MusicRoot> CreateRoot() = 0;
};

}  // namespace nokturna
