#include "audio/sdl_audio_output.h"

#include <SDL.h>
#include <dlfcn.h>

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
constexpr auto kRetryEvery = std::chrono::seconds(2);

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

SdlAudioOutput::SdlAudioOutput() {
  QuietenAudioLibraries();
  // SDL's audio brings up its event subsystem, which would otherwise take over SIGINT and SIGTERM and
  // leave the game deaf to them.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  openDevice();
  keeper_ = std::thread([this] { keepDevice(); });
}

SdlAudioOutput::~SdlAudioOutput() {
  {
    // SDL waits for the audio thread to leave the callback, so it must not be asleep in there.
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  wakeUp_.notify_all();
  keeper_.join();
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  if (subsystemStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudioOutput::openDevice() {
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
    std::lock_guard<std::mutex> lock(mutex_);
    device_ = device;
    missing_ = false;
  }
  open_ = true;
  SDL_PauseAudioDevice(device, 0);
  return true;
}

void SdlAudioOutput::closeDevice() {
  SDL_AudioDeviceID device;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    device = std::exchange(device_, 0);
    missing_ = true;
    retiring_ = true;
  }
  open_ = false;
  wakeUp_.notify_all();
  if (device != 0) SDL_CloseAudioDevice(device);
  std::lock_guard<std::mutex> lock(mutex_);
  retiring_ = false;
}

void SdlAudioOutput::keepDevice() {
  using Clock = std::chrono::steady_clock;
  auto nextTry = Clock::now() + kRetryEvery;  // the constructor's try counts
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    // The sources are asked only while the device is missing: with a device the keeper costs nothing.
    wakeUp_.wait(lock, [this] { return closing_ || (missing_ && (wanted_ || anySounding())); });
    if (closing_) {
      // SDL frees the data it keeps for each thread that calls it (its last error) only for its own.
      SDL_TLSCleanup();
      return;
    }
    if (Clock::now() < nextTry) {
      wakeUp_.wait_until(lock, nextTry, [this] { return closing_; });
      continue;  // and look again whether anything still wants to sound
    }
    wanted_ = false;
    lock.unlock();
    closeDevice();
    // A device that came back to a sound server SDL is still linked to needs only opening again. Else
    // SDL's audio starts afresh: its link to a server that went away is dead, and only a fresh start
    // finds a server that came up after the game.
    const bool fresh = !subsystemStarted_;
    if (!openDevice() && !fresh && !OnlyOutputsGone()) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      subsystemStarted_ = false;
      openDevice();
    }
    nextTry = Clock::now() + kRetryEvery;
    lock.lock();
  }
}

void SdlAudioOutput::addSource(AudioSource* source) {
  Lock lock(*this);
  if (std::find(sources_.begin(), sources_.end(), source) == sources_.end()) sources_.push_back(source);
}

void SdlAudioOutput::removeSource(AudioSource* source) {
  Lock lock(*this);
  sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

void SdlAudioOutput::wake() {
  { std::lock_guard<std::mutex> lock(mutex_); }  // a sleeper is either before its look or fully asleep
  wakeUp_.notify_all();
}

void SdlAudioOutput::wantDevice() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!missing_) return;
    wanted_ = true;
  }
  wakeUp_.notify_all();
}

bool SdlAudioOutput::anySounding() {
  return std::any_of(sources_.begin(), sources_.end(),
                     [](AudioSource* source) { return source->sounding(); });
}

void SdlAudioOutput::fillPeriod(void* self, std::uint8_t* stream, int bytes) {
  auto* output = static_cast<SdlAudioOutput*>(self);
  std::unique_lock<std::mutex> lock(output->mutex_);
  // SDL goes on calling for a device it gave up on (its sound server gone, a headset pulled out), only to
  // throw the sound away. Nothing is mixed for it any more, and the keeper hears of it.
  if (!output->missing_ && output->device_ != 0 &&
      SDL_GetAudioDeviceStatus(output->device_) == SDL_AUDIO_STOPPED) {
    output->missing_ = true;
    output->open_ = false;
    output->wakeUp_.notify_all();
  }
  // With nothing to play the audio thread sleeps here rather than mix silence 86 times a second; the
  // device runs dry meanwhile, which sounds the same. Waking mixes the new sound into this very period.
  // The periodic look catches a source that started on another thread without a wake().
  constexpr auto kLookEvery = std::chrono::milliseconds(100);
  while (!output->closing_ && !output->retiring_ && (output->missing_ || !output->anySounding())) {
    // After a silence the next sound starts at its own level, whatever the last one was turned down to.
    output->limiter_.reset();
    output->wakeUp_.wait_for(lock, kLookEvery);
  }

  float* stereo = reinterpret_cast<float*>(stream);
  const int frames = bytes / static_cast<int>(kOutputChannels * sizeof(float));
  std::memset(stream, 0, static_cast<std::size_t>(bytes));
  if (output->missing_ || output->retiring_) return;
  for (AudioSource* source : output->sources_) source->mixInto(stereo, frames);
  // Clips and music together can pass full scale: turned down for a moment rather than clipped.
  output->limiter_.process(stereo, frames);
}

SdlAudioOutput::Lock::Lock(SdlAudioOutput& output) : output_(output) { output_.mutex_.lock(); }

SdlAudioOutput::Lock::~Lock() {
  output_.mutex_.unlock();
  output_.wakeUp_.notify_all();
}

}  // namespace nokturna
