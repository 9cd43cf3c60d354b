// The game's one sound output: an SDL audio device that mixes every source of sound (the clips and the
// music synthesizer) into a single stream.
//
// Sound that comes back. A sound server that restarts or starts after the game, or a headset pulled out,
// leaves the output without its device. Nothing is mixed then, so a song waits where its sound stopped.
// A thread of the output's own (the keeper) opens a device again, trying at most every two seconds and
// only while something wants to sound: a source that sounds, or a clip played meanwhile. A game that sits
// silent pays nothing for it, and one without any sound device tries no more often than that.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/output_limiter.h"

namespace nokturna {

// Something that sounds through the output. Both calls run on the audio thread with the output locked.
// mixInto() adds the next `frames` stereo frames (interleaved left/right floats, kOutputRate Hz) to
// `stereo`, which already holds what the sources before it mixed. It must not block or allocate.
// sounding() says whether the source has anything to play: while no source has, the output mixes nothing
// and its thread sleeps. A source that starts sounding on its own (not under SdlAudioOutput::Lock) calls
// wake(), or is heard at the output's next look, a tenth of a second later at most (without a device,
// only once it calls wake()).
class AudioSource {
 public:
  virtual ~AudioSource() = default;
  virtual void mixInto(float* stereo, int frames) = 0;
  virtual bool sounding() = 0;
};

class SdlAudioOutput {
 public:
  // The format every source writes: float stereo at CD rate, in periods short enough that a clip starts
  // with the click that caused it.
  static constexpr int kOutputRate = 44100;
  static constexpr int kOutputChannels = 2;
  static constexpr int kPeriodFrames = 512;

  // Starts SDL's audio and opens the default device. Failing is silent: the keeper tries again later.
  SdlAudioOutput();
  ~SdlAudioOutput();
  SdlAudioOutput(const SdlAudioOutput&) = delete;
  SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

  // True while a device is open and SDL still plays through it.
  bool isOpen() const { return open_; }

  // Sources are mixed in the order they were added. A source must be removed before it is destroyed.
  void addSource(AudioSource* source);
  void removeSource(AudioSource* source);

  // Holds the audio thread off while a source changes what it plays; on release the output looks again
  // whether anything sounds, so a clip started under the lock is mixed into the very next period.
  class Lock {
   public:
    explicit Lock(SdlAudioOutput& output);
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    SdlAudioOutput& output_;
  };

  // Tells a sleeping output that a source may have started sounding. Must not be called while holding a
  // lock that the source's sounding() or mixInto() takes.
  void wake();

  // Asks for a device when there is none, for a sound that could not be heard for want of it: the keeper
  // tries to open one at its next chance.
  void wantDevice();

 private:
  static void fillPeriod(void* self, std::uint8_t* stream, int bytes);
  bool anySounding();
  bool openDevice();
  void closeDevice();
  void keepDevice();

  bool subsystemStarted_ = false;  // the keeper's alone once it runs
  std::atomic<bool> open_{false};
  std::thread keeper_;
  // Guards everything below; the audio thread holds it while it mixes and while it sleeps.
  std::mutex mutex_;
  std::condition_variable wakeUp_;  // the audio thread and the keeper both wait on it
  bool closing_ = false;
  std::uint32_t device_ = 0;  // SDL_AudioDeviceID; 0 = closed
  bool missing_ = true;       // no device open, or SDL gave up on it
  bool retiring_ = false;     // the device is being closed: its audio thread must leave the callback
  bool wanted_ = false;       // a sound asked for a device while there was none
  std::vector<AudioSource*> sources_;
  OutputLimiter limiter_{kOutputRate};  // the audio thread's alone
};

// Keeps SDL's and ALSA's own complaints off the terminal; the game reports no sound failures.
// SdlAudioOutput calls it before SDL starts; the music code may call it too. Safe to call repeatedly.
void QuietenAudioLibraries();

}  // namespace nokturna
