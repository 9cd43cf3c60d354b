// The sound module: SDL2 and FluidSynth, and everything they bring in, live here and not in the program.
#include <SDL.h>

#include "audio/fluid_music_engine.h"
#include "audio/sdl_audio_output.h"
#include "audio/sdl_clip_player.h"
#include "audio/sound_system.h"

namespace nokturna {
namespace {

class SdlSoundSystem : public SoundSystem {
 public:
  ClipPlayer& clips() override { return clips_; }
  MusicEngine& music() override { return music_; }

 private:
  // Members are destroyed in reverse order: the music and the clips leave the output before it closes.
  SdlAudioOutput output_;
  SdlClipPlayer clips_{output_};
  FluidMusicEngine music_{output_};
};

}  // namespace
}  // namespace nokturna

extern "C" __attribute__((visibility("default"))) nokturna::SoundSystem* NokturnaStartSound() {
  auto* system = new nokturna::SdlSoundSystem;
  // SDL keeps data of its own (its last error message) for each thread that calls it, and frees it only
  // for threads it made itself. The loader's thread ends once the back end is up.
  SDL_TLSCleanup();
  return system;
}
