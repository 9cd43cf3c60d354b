#include <QApplication>

#include "audio/fluid_music_engine.h"
#include "audio/music_player.h"
#include "audio/sdl_audio_output.h"
#include "audio/sdl_clip_player.h"
#include "audio/sound_effects.h"
#include "ui/form1.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);

  // Every sound goes through this one output, which is closed last of all.
  nokturna::SdlAudioOutput output;
  nokturna::SdlClipPlayer clips(output);
  nokturna::SetClipPlayer(&clips);

  // The synthesizer plays into the same output; its SoundFont loads in the background.
  nokturna::FluidMusicEngine music(output);
  nokturna::SetMusicEngine(&music);

  int status = 0;
  {
    nokturna::form1 window;  // loads the board before it is first shown
    window.show();
    // Returns once the main window has closed: its Form_Unload has stopped the music and closed the
    // other windows.
    status = QApplication::exec();
  }

  // Nothing may reach the players after this; then the output closes as `clips` and `output` go.
  nokturna::SetClipPlayer(nullptr);
  nokturna::SetMusicEngine(nullptr);
  return status;
}
