// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's one sound output: an SDL audio device that mixes every source of sound (the clips and the
// music) into a single stream. Its threads and locks are described in audio_source.h.
//
// Sound that comes back. A sound server that restarts or starts after the game, or a headset pulled out,
// leaves the output without its device. Nothing is mixed then, so a song waits where its sound stopped.
// A thread of the output's own (the keeper) opens a device again, trying at most every second and
// only while something wants to sound: a source that sounds, or a clip played meanwhile. A game that sits
// silent pays nothing for it, and one without any sound device tries no more often than that.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>

#include "audio/audio_source.h"
#include "audio/output_limiter.h"

namespace nokturna {

class SdlAudioOutput : public AudioMixer {
 public:
  // The format every source writes: float stereo at CD rate, in periods short enough that a clip starts
  // with the click that caused it.
  static constexpr int kOutputRate = 44100;
  static constexpr int kOutputChannels = 2;
  static constexpr int kPeriodFrames = 512;
  // Room for every source there is: the clips and the music, and a listener or two in a test or a
  // benchmark. Fixed, so that joining never allocates under the lock the audio thread takes; a source
  // beyond it is not mixed.
  static constexpr std::size_t kMostSources = 8;

  // Starts SDL's audio and opens the default device. Failing is silent: the keeper tries again later.
  SdlAudioOutput();
  ~SdlAudioOutput() override;
  SdlAudioOutput(const SdlAudioOutput&) = delete;
  SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

  // True while a device is open and SDL still plays through it.
  bool isOpen() const { return open_; }

  void addSource(AudioSource* source) override;
  void removeSource(AudioSource* source) override;
  // A resting output looks at its sources at once, and mixes a sound that started into the very next
  // period.
  void wake() override;

  // Asks for a device when there is none, for a sound that could not be heard for want of it: the keeper
  // tries to open one at its next chance.
  void wantDevice();

  // True when the output can no longer be trusted to come back by itself: its device stopped asking for
  // sound while something should sound (a sound server that went away without SDL noticing: the device
  // simply stops calling), or a call into SDL's audio has not returned for seconds (one stuck on a sound
  // server that hangs). Only a fresh process brings such an output back; the sound program leaves then.
  bool stalled();
  // How long the device may leave something that sounds without asking for it, and how long a call into
  // SDL may take.
  static constexpr std::chrono::milliseconds kLongestStall{1000};
  static constexpr std::chrono::milliseconds kLongestSdlCall{2500};

 private:
  static void fillPeriod(void* self, std::uint8_t* stream, int bytes);
  void mixOrRest(float* stereo, int frames);
  bool mixIfSounding(float* stereo, int frames);
  bool anySounding();  // with the source lock held
  void noticeLostDevice();
  bool openDevice();
  bool openDeviceNow();
  void closeDevice();
  void reopenDevice();
  void keepDevice();
  // Notes around each call into SDL that may wait on a sound server.
  void enterSdl();
  void leaveSdl();

  bool subsystemStarted_ = false;  // the keeper's alone once it runs
  std::atomic<bool> open_{false};

  // The state lock (see audio_source.h): the device and the flags below, and the conditions the audio
  // thread and the keeper rest on.
  std::mutex stateMutex_;
  std::condition_variable restEnds_;      // the audio thread rests on it
  std::condition_variable keeperCalled_;  // the keeper does
  bool closing_ = false;
  std::uint32_t device_ = 0;  // SDL_AudioDeviceID; 0 = closed
  bool missing_ = true;       // no device open, or SDL gave up on it
  bool retiring_ = false;     // the device is being closed: its audio thread must leave the callback
  bool rung_ = false;         // wake() came since the audio thread last looked at the sources
  bool asked_ = false;        // something may want a device: the keeper looks whether it really does
  bool wanted_ = false;       // a sound asked for a device while there was none

  // The source lock: the list, and each source's calls made under it.
  std::mutex sourcesMutex_;
  std::array<AudioSource*, kMostSources> sources_{};
  std::size_t sourceCount_ = 0;

  // For stalled(), in nanoseconds of the steady clock: the audio thread's last look at its sources (each
  // period it mixes, and every look while it rests), and since when a call into SDL is under way (0: none).
  std::atomic<std::int64_t> lastLookNs_{0};
  std::atomic<std::int64_t> sdlCallSinceNs_{0};

  OutputLimiter limiter_{kOutputRate};  // the audio thread's alone
  std::thread keeper_;
};

// Keeps SDL's and ALSA's own complaints off the terminal; the game reports no sound failures.
// SdlAudioOutput calls it before SDL starts; the music code may call it too. Safe to call repeatedly.
void QuietenAudioLibraries();

// Sets the SDL hints the back end relies on, once: before any thread of ours can start SDL's audio, which
// reads them. SdlAudioOutput and the clip decoder call it.
void SetSdlHints();

}  // namespace nokturna
