// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>
#include <QEvent>
#include <QMetaObject>

#include "audio/game_sound.h"
#include "audio/program_folder.h"
#include "audio/song_album.h"
#include "audio/sound_process.h"
#include "ui/main_window.h"

namespace {

// The window first, then the sound: the sound program starts once the main window's first frame has gone
// to the screen. Started beside the window's start, its loading of the sound libraries would hold that
// frame back.
class SoundAfterFirstPaint : public QObject {
 public:
  SoundAfterFirstPaint(QWidget& window, nokturna::SoundProcess& process) : process_(process) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      // Queued, so the program starts only once this paint is over and its frame handed to the screen.
      QMetaObject::invokeMethod(
          this, [this] { process_.start(); }, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  nokturna::SoundProcess& process_;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Lets the desktop match the window to the game's menu entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.nokturna.Nokturna"));

  // What the player is to hear, from the first moment on, and the program that makes it heard, started
  // once the window shows: until then it keeps what is wanted, a clip with the moment it was asked for,
  // which the program plays only if that is at most half a second ago. The song folder is the program's
  // own, as the bytes of its name are.
  nokturna::GameSound sound(nokturna::FindSongAlbum(nokturna::ProgramFolder()));
  nokturna::SoundProcess process;
  sound.connect(&process);

  int status = 0;
  {
    nokturna::MainWindow window(sound);  // loads the board before it is first shown
    SoundAfterFirstPaint soundStart(window, process);
    window.show();
    // Returns once the main window has closed: its shutDown has stopped the music and closed the
    // other windows.
    status = QApplication::exec();
  }
  // The sound program is ended at once when `process` goes (sound_process.h).
  sound.connect(nullptr);
  return status;
}
