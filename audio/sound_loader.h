// Brings the sound back end up on a thread of its own while the application starts. Loading the sound
// libraries (SDL2 and FluidSynth pull in some forty more) and opening the device take as long as a good
// part of the start before the window, so the two run side by side.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "audio/sound_system.h"

namespace nokturna {

// The sound module's file beside the running program.
std::string SoundModulePath();

class SoundLoader {
 public:
  // Starts loading the module at `modulePath` at once.
  explicit SoundLoader(std::string modulePath = SoundModulePath());
  // Shuts the back end down (every sound stops, the device closes). The module stays loaded.
  ~SoundLoader();
  SoundLoader(const SoundLoader&) = delete;
  SoundLoader& operator=(const SoundLoader&) = delete;

  // Waits for the load; null when the module or a library it needs is missing or broken, and then the
  // game simply plays without sound.
  SoundSystem* get();

 private:
  std::unique_ptr<SoundSystem> system_;  // before the thread that fills it in
  std::once_flag joined_;
  std::thread loading_;
};

}  // namespace nokturna
