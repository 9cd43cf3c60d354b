#include "audio/sdl_audio_output.h"

#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace nokturna {

namespace {

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
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  subsystemStarted_ = true;

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
  if (device == 0) return;
  device_ = device;
  SDL_PauseAudioDevice(device_, 0);
}

SdlAudioOutput::~SdlAudioOutput() {
  {
    // SDL waits for the audio thread to leave the callback, so it must not be asleep in there.
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  wakeUp_.notify_all();
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  if (subsystemStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
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

bool SdlAudioOutput::anySounding() {
  return std::any_of(sources_.begin(), sources_.end(),
                     [](AudioSource* source) { return source->sounding(); });
}

void SdlAudioOutput::fillPeriod(void* self, std::uint8_t* stream, int bytes) {
  auto* output = static_cast<SdlAudioOutput*>(self);
  std::unique_lock<std::mutex> lock(output->mutex_);
  // With nothing to play the audio thread sleeps here rather than mix silence 86 times a second; the
  // device runs dry meanwhile, which sounds the same. Waking mixes the new sound into this very period.
  // The periodic look catches a source that started on another thread without a wake().
  constexpr auto kLookEvery = std::chrono::milliseconds(100);
  while (!output->closing_ && !output->anySounding()) output->wakeUp_.wait_for(lock, kLookEvery);

  float* stereo = reinterpret_cast<float*>(stream);
  const int frames = bytes / static_cast<int>(kOutputChannels * sizeof(float));
  std::memset(stream, 0, static_cast<std::size_t>(bytes));
  for (AudioSource* source : output->sources_) source->mixInto(stereo, frames);
  // Clips and music together can pass full scale; clamp rather than let the device wrap around.
  for (int i = 0; i < frames * kOutputChannels; ++i) stereo[i] = std::clamp(stereo[i], -1.0f, 1.0f);
}

SdlAudioOutput::Lock::Lock(SdlAudioOutput& output) : output_(output) { output_.mutex_.lock(); }

SdlAudioOutput::Lock::~Lock() {
  output_.mutex_.unlock();
  output_.wakeUp_.notify_all();
}

}  // namespace nokturna
