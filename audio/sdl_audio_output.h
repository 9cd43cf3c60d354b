// The game's one sound output: an SDL audio device that mixes every source of sound (the clips and the
// music synthesizer) into a single stream.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace nokturna {

// Something that sounds through the output. Both calls run on the audio thread with the output locked.
// mixInto() adds the next `frames` stereo frames (interleaved left/right floats, kOutputRate Hz) to
// `stereo`, which already holds what the sources before it mixed. It must not block or allocate.
// sounding() says whether the source has anything to play: while no source has, the output mixes nothing
// and its thread sleeps. A source that starts sounding on its own (not under SdlAudioOutput::Lock) calls
// wake(), or is heard at the output's next look, a tenth of a second later at most.
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

  // Starts SDL's audio and opens the default device. Failing is silent: the output then stays closed and
  // its sources are simply never asked for sound.
  SdlAudioOutput();
  ~SdlAudioOutput();
  SdlAudioOutput(const SdlAudioOutput&) = delete;
  SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

  bool isOpen() const { return device_ != 0; }

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

 private:
  static void fillPeriod(void* self, std::uint8_t* stream, int bytes);
  bool anySounding();

  std::uint32_t device_ = 0;  // SDL_AudioDeviceID; 0 = closed
  bool subsystemStarted_ = false;
  // Guards everything below; the audio thread holds it while it mixes and while it sleeps.
  std::mutex mutex_;
  std::condition_variable wakeUp_;
  bool closing_ = false;
  std::vector<AudioSource*> sources_;
};

// Keeps SDL's and ALSA's own complaints off the terminal; the game reports no sound failures.
// SdlAudioOutput calls it before SDL starts; the music code may call it too. Safe to call repeatedly.
void QuietenAudioLibraries();

}  // namespace nokturna
