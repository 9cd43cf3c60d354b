#include "audio/sdl_audio_output.h"

#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
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

void SdlAudioOutput::fillPeriod(void* self, std::uint8_t* stream, int bytes) {
  auto* output = static_cast<SdlAudioOutput*>(self);
  float* stereo = reinterpret_cast<float*>(stream);
  const int frames = bytes / static_cast<int>(kOutputChannels * sizeof(float));
  std::memset(stream, 0, static_cast<std::size_t>(bytes));
  for (AudioSource* source : output->sources_) source->mixInto(stereo, frames);
  // Clips and music together can pass full scale; clamp rather than let the device wrap around.
  for (int i = 0; i < frames * kOutputChannels; ++i) stereo[i] = std::clamp(stereo[i], -1.0f, 1.0f);
}

SdlAudioOutput::Lock::Lock(SdlAudioOutput& output) : device_(output.device_) {
  if (device_ != 0) SDL_LockAudioDevice(device_);
}

SdlAudioOutput::Lock::~Lock() {
  if (device_ != 0) SDL_UnlockAudioDevice(device_);
}

}  // namespace nokturna
