// Brings the sound back end up on a thread of its own, once the window is on the screen. Loading the sound
// libraries (SDL2 and FluidSynth pull in some forty more) and opening the device take as long as a good
// part of the window's own start; done beside it they would hold its first frame back, competing for the
// cores and for the dynamic loader's lock that Qt's own plugins need too.
//
// Until the back end is up the game plays as it would without one, except for the music: a clip asked for
// meanwhile is dropped (no player is installed; a click heard late is worse than none), while the music
// module keeps its operations and carries them out, in order, once the engine is there.
#pragma once

#include <QObject>
#include <functional>
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
  // Brings up the back end of the module at `modulePath`. From now on the music module awaits its engine
  // (see AwaitMusicEngine), so the music the window starts as it loads is kept for it.
  explicit SoundLoader(std::string modulePath = SoundModulePath());
  // The same with the back end that `startSound` returns (null: no sound), called on the loader's thread.
  explicit SoundLoader(std::function<SoundSystem*()> startSound);
  // Waits for a load under way, uninstalls the clip player and the music engine (music operations still
  // kept are dropped), then shuts the back end down: every sound stops, the device closes. The module
  // stays loaded.
  ~SoundLoader();
  SoundLoader(const SoundLoader&) = delete;
  SoundLoader& operator=(const SoundLoader&) = delete;

  // Starts the load on a thread of its own. Once the back end is up, that thread hands it to the calling
  // thread's event loop, which installs its clip player and music engine: the music kept meanwhile plays
  // then. Without a back end (no module, a library missing or broken) the kept music is dropped and the
  // game simply plays without sound. Call it on the UI thread, with the Qt application there; only the
  // first call counts.
  void start();

  // Waits for the back end, loading it first (on a thread, handed to no one) if start() was never
  // called; null when there is none.
  SoundSystem* get();

 private:
  void load(bool handOver);
  void install();

  std::function<SoundSystem*()> startSound_;
  std::unique_ptr<SoundSystem> system_;  // filled in by the loader's thread
  std::unique_ptr<QObject> handOver_;    // on the thread that called start(); its events install
  std::once_flag started_;
  std::once_flag joined_;
  std::thread loading_;
};

}  // namespace nokturna
