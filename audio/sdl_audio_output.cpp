// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/sdl_audio_output.h"

#include <SDL.h>
#include <dlfcn.h>
#include <pthread.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <utility>

namespace nokturna {

namespace {

// True when SDL is linked to a PulseAudio server that is running but has no output at all (its only sink
// was removed). SDL's PulseAudio support crashes when started against such a server (it takes the
// missing default output's name for a string), so SDL's audio is then not started afresh: the device is
// only opened again, which works once an output is back.
bool OnlyOutputsGone() {
  const char* driver = SDL_GetCurrentAudioDriver();
  return driver != nullptr && std::strcmp(driver, "pulseaudio") == 0 && SDL_GetNumAudioDevices(0) == 0;
}

// How often a missing device is looked for while something wants to sound: a sound server that comes
// back is heard within this, and a game without any device tries no more often.
constexpr auto kRetryEvery = std::chrono::seconds(1);

std::int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void IgnoreSdlLog(void*, int, SDL_LogPriority, const char*) {}

// ALSA's handler type is variadic; the no-op only has to match it.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int err, const char* fmt,
                                  ...);
using AlsaSetErrorHandler = int (*)(AlsaErrorHandler);

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

void QuietenAlsa() {
  // SDL loads ALSA on its own at run time, so the game never links it either: open the same library SDL
  // will get, install the no-op handler, and keep the library loaded so the handler stays in place.
  void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
  if (alsa == nullptr) return;
  auto setHandler = reinterpret_cast<AlsaSetErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
  if (setHandler != nullptr) setHandler(&IgnoreAlsaError);
}

}  // namespace

void QuietenAudioLibraries() {
  static const bool done = [] {
    SDL_LogSetOutputFunction(&IgnoreSdlLog, nullptr);
    QuietenAlsa();
    return true;
  }();
  (void)done;
}

void SetSdlHints() {
  static const bool done = [] {
    // SDL's audio brings up its event subsystem, which would otherwise take over SIGINT and SIGTERM and
    // leave the game deaf to them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A clip cut short is taken for a broken one and stays silent rather than playing half a sound.
    SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "strict");
    return true;
  }();
  (void)done;
}

SdlAudioOutput::SdlAudioOutput() {
  QuietenAudioLibraries();
  SetSdlHints();
  openDevice();
  keeper_ = std::thread([this] { keepDevice(); });
}

SdlAudioOutput::~SdlAudioOutput() {
  {
    std::lock_guard<std::mutex> state(stateMutex_);
    closing_ = true;
  }
  // SDL waits for the audio thread to leave the callback, so it must not rest in there.
  restEnds_.notify_all();
  keeperCalled_.notify_all();
  keeper_.join();
  // The device is this thread's alone now that the keeper is gone; the audio thread only reads it.
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  if (subsystemStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudioOutput::enterSdl() { sdlCallSinceNs_.store(NowNs(), std::memory_order_relaxed); }
void SdlAudioOutput::leaveSdl() { sdlCallSinceNs_.store(0, std::memory_order_relaxed); }

bool SdlAudioOutput::stalled() {
  const std::int64_t now = NowNs();
  const std::int64_t since = sdlCallSinceNs_.load(std::memory_order_relaxed);
  if (since != 0 && now - since > std::chrono::nanoseconds(kLongestSdlCall).count()) return true;
  if (!open_) return false;
  bool sounding;
  {
    std::lock_guard<std::mutex> sources(sourcesMutex_);
    sounding = anySounding();
  }
  return sounding &&
         now - lastLookNs_.load(std::memory_order_relaxed) > std::chrono::nanoseconds(kLongestStall).count();
}

bool SdlAudioOutput::openDevice() {
  enterSdl();
  const bool opened = openDeviceNow();
  leaveSdl();
  return opened;
}

bool SdlAudioOutput::openDeviceNow() {
  if (!subsystemStarted_) subsystemStarted_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  if (!subsystemStarted_) return false;
  SDL_AudioSpec wanted{};
  wanted.freq = kOutputRate;
  wanted.format = AUDIO_F32SYS;
  wanted.channels = kOutputChannels;
  wanted.samples = kPeriodFrames;
  wanted.callback = &SdlAudioOutput::fillPeriod;
  wanted.userdata = this;
  // No changes allowed: SDL converts to whatever the hardware wants, so the sources always see this format.
  SDL_AudioSpec obtained{};
  const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (device == 0) return false;
  {
    std::lock_guard<std::mutex> state(stateMutex_);
    device_ = device;
    missing_ = false;
  }
  lastLookNs_.store(NowNs(), std::memory_order_relaxed);  // the device has had no chance to ask yet
  open_ = true;
  SDL_PauseAudioDevice(device, 0);
  return true;
}

void SdlAudioOutput::closeDevice() {
  SDL_AudioDeviceID device;
  {
    std::lock_guard<std::mutex> state(stateMutex_);
    device = std::exchange(device_, 0);
    missing_ = true;
    retiring_ = true;
  }
  open_ = false;
  restEnds_.notify_all();
  enterSdl();
  if (device != 0) SDL_CloseAudioDevice(device);
  leaveSdl();
  std::lock_guard<std::mutex> state(stateMutex_);
  retiring_ = false;
}

void SdlAudioOutput::reopenDevice() {
  closeDevice();
  // A device that came back to a sound server SDL is still linked to needs only opening again. Else
  // SDL's audio starts afresh: its link to a server that went away is dead, and only a fresh start finds
  // a server that came up after the game.
  const bool fresh = !subsystemStarted_;
  if (!openDevice() && !fresh && !OnlyOutputsGone()) {
    enterSdl();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    leaveSdl();
    subsystemStarted_ = false;
    openDevice();
  }
}

void SdlAudioOutput::keepDevice() {
  pthread_setname_np(pthread_self(), "nokturna output");
  using Clock = std::chrono::steady_clock;
  auto nextTry = Clock::now() + kRetryEvery;  // the constructor's try counts
  for (;;) {
    bool wanted;
    {
      // With a device the keeper rests here and costs nothing.
      std::unique_lock<std::mutex> state(stateMutex_);
      keeperCalled_.wait(state, [this] { return closing_ || (missing_ && asked_); });
      if (closing_) break;
      asked_ = false;
      wanted = wanted_;
    }
    // The sources are asked outside the state lock, which is never held while they are.
    bool sounding;
    {
      std::lock_guard<std::mutex> sources(sourcesMutex_);
      sounding = anySounding();
    }
    if (!wanted && !sounding) continue;  // nothing waits for a device after all
    if (Clock::now() < nextTry) {
      std::unique_lock<std::mutex> state(stateMutex_);
      if (keeperCalled_.wait_until(state, nextTry, [this] { return closing_; })) break;
      asked_ = true;  // and look again whether anything still wants to sound
      continue;
    }
    {
      std::lock_guard<std::mutex> state(stateMutex_);
      wanted_ = false;
    }
    reopenDevice();
    nextTry = Clock::now() + kRetryEvery;
    // Still without a device, whatever sounds is looked at again at the next try.
    std::lock_guard<std::mutex> state(stateMutex_);
    asked_ = true;
  }
  // SDL frees the data it keeps for each thread that calls it (its last error) only for its own.
  SDL_TLSCleanup();
}

void SdlAudioOutput::addSource(AudioSource* source) {
  {
    std::lock_guard<std::mutex> sources(sourcesMutex_);
    const auto end = sources_.begin() + static_cast<std::ptrdiff_t>(sourceCount_);
    if (sourceCount_ == kMostSources || std::find(sources_.begin(), end, source) != end) return;
    sources_[sourceCount_++] = source;
  }
  wake();
}

void SdlAudioOutput::removeSource(AudioSource* source) {
  std::lock_guard<std::mutex> sources(sourcesMutex_);
  const auto end = sources_.begin() + static_cast<std::ptrdiff_t>(sourceCount_);
  const auto kept = std::remove(sources_.begin(), end, source);
  std::fill(kept, end, nullptr);
  sourceCount_ = static_cast<std::size_t>(kept - sources_.begin());
}

void SdlAudioOutput::wake() {
  bool missing;
  {
    std::lock_guard<std::mutex> state(stateMutex_);
    rung_ = true;
    asked_ = true;
    missing = missing_;
  }
  restEnds_.notify_all();
  if (missing) keeperCalled_.notify_all();
}

void SdlAudioOutput::wantDevice() {
  {
    std::lock_guard<std::mutex> state(stateMutex_);
    if (!missing_) return;
    wanted_ = true;
    asked_ = true;
  }
  keeperCalled_.notify_all();
}

bool SdlAudioOutput::anySounding() {
  const auto end = sources_.begin() + static_cast<std::ptrdiff_t>(sourceCount_);
  return std::any_of(sources_.begin(), end, [](AudioSource* source) { return source->sounding(); });
}

void SdlAudioOutput::fillPeriod(void* self, std::uint8_t* stream, int bytes) {
  std::memset(stream, 0, static_cast<std::size_t>(bytes));
  const int frames = bytes / static_cast<int>(kOutputChannels * sizeof(float));
  static_cast<SdlAudioOutput*>(self)->mixOrRest(reinterpret_cast<float*>(stream), frames);
}

void SdlAudioOutput::noticeLostDevice() {
  // SDL goes on calling for a device it gave up on (its sound server gone, a headset pulled out), only to
  // throw the sound away. Nothing is mixed for it any more, and the keeper hears of it.
  if (missing_ || device_ == 0 || SDL_GetAudioDeviceStatus(device_) != SDL_AUDIO_STOPPED) return;
  missing_ = true;
  open_ = false;
  asked_ = true;
  keeperCalled_.notify_all();
}

void SdlAudioOutput::mixOrRest(float* stereo, int frames) {
  // The periodic look catches a source that started without a wake().
  constexpr auto kLookEvery = std::chrono::milliseconds(100);
  for (;;) {
    lastLookNs_.store(NowNs(), std::memory_order_relaxed);
    bool missing;
    {
      std::lock_guard<std::mutex> state(stateMutex_);
      if (closing_ || retiring_) return;
      noticeLostDevice();
      missing = missing_;
      // A wake() from here on either comes before the look below, which then sees its sound, or ends
      // the rest after it.
      rung_ = false;
    }
    if (!missing && mixIfSounding(stereo, frames)) return;
    // With nothing to play the audio thread rests here rather than mix silence 86 times a second; the
    // device runs dry meanwhile, which sounds the same. Waking mixes the new sound into this very period.
    // After a silence the next sound starts at its own level, whatever the last one was turned down to.
    limiter_.reset();
    std::unique_lock<std::mutex> state(stateMutex_);
    restEnds_.wait_for(state, kLookEvery, [this] { return rung_ || closing_ || retiring_; });
  }
}

bool SdlAudioOutput::mixIfSounding(float* stereo, int frames) {
  std::lock_guard<std::mutex> sources(sourcesMutex_);
  if (!anySounding()) return false;
  for (std::size_t i = 0; i < sourceCount_; ++i) sources_[i]->mixInto(stereo, frames);
  // Clips and music together can pass full scale: turned down for a moment rather than clipped.
  limiter_.process(stereo, frames);
  return true;
}

}  // namespace nokturna
