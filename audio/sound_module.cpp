// The sound module: SDL2 and FluidSynth, and everything they bring in, live here and not in the program.
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
  return new nokturna::SdlSoundSystem;
}
