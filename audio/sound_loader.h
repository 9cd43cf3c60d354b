// Brings the sound back end up on a thread of its own, once the window is on the screen. Loading the sound
// libraries (SDL2 and FluidSynth pull in some forty more) and opening the device take as long as a good
// part of the window's own start; done beside it they would hold its first frame back, competing for the
// cores and for the dynamic loader's lock that Qt's own plugins need too.
//
// Until the back end is up the game's sound (GameSound) keeps what is wanted; once it is, the loader
// connects it, and what was wanted meanwhile sounds then.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "audio/game_sound.h"
#include "audio/in_process_back_end.h"
#include "audio/sound_system.h"

namespace nokturna {

// The sound module's file beside the running program.
std::string SoundModulePath();

class SoundLoader {
 public:
  // Brings up the back end of the module at `modulePath` for `sound`, which must outlive the loader.
  explicit SoundLoader(GameSound& sound, std::string modulePath = SoundModulePath());
  // The same with the back end that `startSound` returns (null: no sound), called on the loader's thread.
  SoundLoader(GameSound& sound, std::function<SoundSystem*()> startSound);
  // Waits for a load under way, takes the back end away from the game's sound, then shuts it down: every
  // sound stops, the device closes. The module stays loaded.
  ~SoundLoader();
  SoundLoader(const SoundLoader&) = delete;
  SoundLoader& operator=(const SoundLoader&) = delete;

  // Starts the load on a thread of its own. Once the back end is up, that thread hands it to the calling
  // thread's event loop, which connects it to the game's sound. Without a back end (no module, a library
  // missing or broken) the game simply plays without sound. Call it on the UI thread, with the Qt
  // application there; only the first call counts.
  void start();

  // Waits for the back end, loading it first (on a thread, handed to no one) if start() was never
  // called; null when there is none.
  SoundSystem* get();

 private:
  void load(bool handOver);
  void connect();

  GameSound& sound_;
  std::function<SoundSystem*()> startSound_;
  std::unique_ptr<SoundSystem> system_;        // filled in by the loader's thread
  std::unique_ptr<InProcessBackEnd> backEnd_;  // over system_, once connected
  std::unique_ptr<QObject> handOver_;          // on the thread that called start(); its events connect
  std::once_flag started_;
  std::once_flag joined_;
  std::thread loading_;
};

}  // namespace nokturna
