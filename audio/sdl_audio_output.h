// The game's one sound output: an SDL audio device that mixes every source of sound (the clips now, the
// music synthesizer later) into a single stream.
#pragma once

#include <cstdint>
#include <vector>

namespace nokturna {

// Something that sounds through the output. mixInto() runs on the audio thread with the device locked;
// it adds its next `frames` stereo frames (interleaved left/right floats, kOutputRate Hz) to `stereo`,
// which already holds what the sources before it mixed. It must not block or allocate.
class AudioSource {
 public:
  virtual ~AudioSource() = default;
  virtual void mixInto(float* stereo, int frames) = 0;
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

  // Holds the audio thread off while a source changes what it plays. Does nothing while closed.
  class Lock {
   public:
    explicit Lock(SdlAudioOutput& output);
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    std::uint32_t device_;
  };

 private:
  static void fillPeriod(void* self, std::uint8_t* stream, int bytes);

  std::uint32_t device_ = 0;  // SDL_AudioDeviceID; 0 = closed
  bool subsystemStarted_ = false;
  std::vector<AudioSource*> sources_;
};

// Keeps SDL's and ALSA's own complaints off the terminal; the game reports no sound failures.
// SdlAudioOutput calls it before SDL starts; the music code may call it too. Safe to call repeatedly.
void QuietenAudioLibraries();

}  // namespace nokturna
