#include <QApplication>

#include "audio/sdl_audio_output.h"
#include "audio/sdl_clip_player.h"
#include "audio/sound_effects.h"
#include "ui/form1.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);

  nokturna::SdlAudioOutput output;
  nokturna::SdlClipPlayer clips(output);
  nokturna::SetClipPlayer(&clips);

  int status = 0;
  {
    nokturna::form1 window;  // loads the board before it is first shown
    window.show();
    status = QApplication::exec();
  }

  // The player goes before the output; nothing may reach it after this.
  nokturna::SetClipPlayer(nullptr);
  return status;
}
