// Shutdown with a song and a clip sounding: the game's own objects, put together as ui/main.cpp does,
// on SDL's "disk" driver (real-time pacing). Once the song is audible a long clip starts, then the game
// is left by the menu ("menu": the exit command, its question answered OK) or by the window's close
// button ("close": a close of the window, which is what the button sends). Prints the time from the
// answer or the close to the moment the last sound object is gone; the goal is under 200 ms.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include "audio/fluid_music_engine.h"
#include "audio/game_sound.h"
#include "audio/in_process_back_end.h"
#include "audio/sdl_audio_output.h"
#include "audio/sdl_clip_player.h"
#include "ui/main_window.h"

namespace {

using Clock = std::chrono::steady_clock;

// Mixed last: tells when the output carries sound.
class Listener : public nokturna::AudioSource {
 public:
  void mixInto(float* stereo, int frames) override {
    for (int i = 0; i < frames * 2; ++i) {
      if (stereo[i] != 0.0f) {
        heard.store(true);
        return;
      }
    }
  }
  bool sounding() override { return false; }  // only listens
  std::atomic<bool> heard{false};
};

}  // namespace

int main(int argc, char* argv[]) {
  const bool byMenu = argc > 1 && std::strcmp(argv[1], "menu") == 0;
  setenv("SDL_AUDIODRIVER", "disk", 0);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 0);
  unsetenv("SDL_DISKAUDIODELAY");

  QApplication app(argc, argv);
  std::optional<Clock::time_point> asked;
  bool songHeard = false;
  {
    nokturna::SdlAudioOutput output;
    if (!output.isOpen()) {
      std::fprintf(stderr, "shutdown: no sound device\n");
      return 2;
    }
    nokturna::SdlClipPlayer clips(output);
    nokturna::FluidMusicEngine music(output);
    nokturna::InProcessBackEnd backEnd(clips, music);
    nokturna::GameSound sound(nokturna::FindSongAlbum(NOKTURNA_SOURCE_DIR));  // the first song starts
    sound.connect(&backEnd);
    Listener listener;
    output.addSource(&listener);
    {
      nokturna::MainWindow window(sound);
      window.show();
      QTimer poll;
      QObject::connect(&poll, &QTimer::timeout, &window, [&] {
        if (!listener.heard.load()) return;  // the SoundFont is still loading
        poll.stop();
        songHeard = true;
        sound.play(nokturna::Clip::About);  // the longest clip, over the song
        if (!byMenu) {
          asked = Clock::now();
          window.close();
          return;
        }
        QTimer::singleShot(0, &window, [&] {
          // The question is up in its own loop: answer OK, as a person would.
          auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
          if (box == nullptr) return;
          asked = Clock::now();
          box->button(QMessageBox::Ok)->click();
        });
        window.findChild<QAction*>(QStringLiteral("exitAction"))->trigger();
      });
      poll.start(5);
      QTimer::singleShot(60000, &app, [] { QCoreApplication::exit(3); });
      QApplication::exec();
    }
    output.removeSource(&listener);
    sound.connect(nullptr);
  }
  if (!songHeard || !asked) {
    std::fprintf(stderr, "shutdown: the song never sounded or the exit never came\n");
    return 1;
  }
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - *asked).count();
  std::printf("shutdown by %s: %.1f ms\n", byMenu ? "menu" : "close button", ms);
  return 0;
}
