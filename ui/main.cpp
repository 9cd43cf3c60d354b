#include <QApplication>
#include <QEvent>
#include <QMetaObject>

#include "audio/sound_loader.h"
#include "ui/main_window.h"

namespace {

// The window first, then the sound: the sound starts loading once the main window's first frame has gone
// to the screen. Loaded beside the window's start, its libraries would hold that frame back.
class SoundAfterFirstPaint : public QObject {
 public:
  SoundAfterFirstPaint(QWidget& window, nokturna::SoundLoader& sound) : sound_(sound) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      // Queued, so the load starts only once this paint is over and its frame handed to the screen.
      QMetaObject::invokeMethod(
          this, [this] { sound_.start(); }, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  nokturna::SoundLoader& sound_;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Lets the desktop match the window to the game's menu entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.nokturna.Nokturna"));

  // Made before the window, which starts the first song as it loads: the music module keeps that until
  // the sound is up. The sound goes down last of all, after the window.
  nokturna::SoundLoader sound;

  int status = 0;
  {
    nokturna::MainWindow window;  // loads the board before it is first shown
    SoundAfterFirstPaint soundStart(window, sound);
    window.show();
    // Returns once the main window has closed: its shutDown has stopped the music and closed the
    // other windows.
    status = QApplication::exec();
  }
  return status;
}
