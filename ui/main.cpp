#include <QApplication>
#include <QEvent>
#include <QMetaObject>

#include "audio/game_sound.h"
#include "audio/song_album.h"
#include "audio/sound_loader.h"
#include "ui/main_window.h"

namespace {

// The window first, then the sound: the sound starts loading once the main window's first frame has gone
// to the screen. Loaded beside the window's start, its libraries would hold that frame back.
class SoundAfterFirstPaint : public QObject {
 public:
  SoundAfterFirstPaint(QWidget& window, nokturna::SoundLoader& loader) : loader_(loader) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      // Queued, so the load starts only once this paint is over and its frame handed to the screen.
      QMetaObject::invokeMethod(
          this, [this] { loader_.start(); }, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  nokturna::SoundLoader& loader_;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Lets the desktop match the window to the game's menu entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.nokturna.Nokturna"));

  // What the player is to hear, from the first moment on; its back end, once the window shows.
  nokturna::GameSound sound(nokturna::FindSongAlbum(QCoreApplication::applicationDirPath().toStdString()));
  nokturna::SoundLoader loader(sound);

  int status = 0;
  {
    nokturna::MainWindow window(sound);  // loads the board before it is first shown
    SoundAfterFirstPaint soundStart(window, loader);
    window.show();
    // Returns once the main window has closed: its shutDown has stopped the music and closed the
    // other windows.
    status = QApplication::exec();
  }
  return status;
}
