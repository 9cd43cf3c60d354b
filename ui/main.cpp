#include <QApplication>

#include "audio/music_player.h"
#include "audio/sound_effects.h"
#include "audio/sound_loader.h"
#include "ui/main_window.h"

int main(int argc, char* argv[]) {
  // The sound comes up on a thread of its own while the application starts, and goes down last of all.
  nokturna::SoundLoader sound;

  QApplication app(argc, argv);
  // Lets the desktop match the window to the game's menu entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.nokturna.Nokturna"));

  // The window starts the first song as it loads, so the players go in before it is built. The
  // synthesizer's SoundFont goes on loading in the background.
  if (nokturna::SoundSystem* system = sound.get(); system != nullptr) {
    nokturna::SetClipPlayer(&system->clips());
    nokturna::SetMusicEngine(&system->music());
  }

  int status = 0;
  {
    nokturna::MainWindow window;  // loads the board before it is first shown
    window.show();
    // Returns once the main window has closed: its shutDown has stopped the music and closed the
    // other windows.
    status = QApplication::exec();
  }

  // Nothing may reach the players after this; then the sound shuts down as `sound` goes.
  nokturna::SetClipPlayer(nullptr);
  nokturna::SetMusicEngine(nullptr);
  return status;
}
