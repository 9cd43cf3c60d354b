// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Shutdown with a song and a clip sounding: the game's own objects, put together as ui/main.cpp does, with
// its sound program on SDL's "disk" driver (real-time pacing). Once the song is heard a long clip starts,
// then the game is left by the menu ("menu": the exit command, its question answered OK) or by the
// window's close button ("close": a close of the window, which is what the button sends); with "stuck"
// the sound program is stopped (SIGSTOP) first, as one hung on a sound server would be. Prints the time
// from the answer or the close to the moment the sound program is gone and reaped; the goal is under
// 200 ms.
#include <signal.h>
#include <sys/types.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include "audio/game_sound.h"
#include "audio/sound_process.h"
#include "ui/main_window.h"

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

int main(int argc, char* argv[]) {
  const bool byMenu = argc > 1 && std::strcmp(argv[1], "menu") == 0;
  setenv("SDL_AUDIODRIVER", "disk", 0);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 0);
  unsetenv("SDL_DISKAUDIODELAY");

  const bool stuck = argc > 2 && std::strcmp(argv[2], "stuck") == 0;
  QApplication app(argc, argv);
  std::optional<Clock::time_point> asked;
  bool songHeard = false;
  pid_t program = 0;
  {
    nokturna::GameSound sound(nokturna::FindSongAlbum(NOKTURNA_SOURCE_DIR));  // the first song starts
    nokturna::SoundProcess process(NOKTURNA_SOUND_PROGRAM);
    std::atomic<bool> heard{false};
    process.listen([&](const nokturna::FromSound& report) {
      const auto* progress = std::get_if<nokturna::ProgressReport>(&report);
      if (progress != nullptr && progress->progress.heardTick > 0) heard = true;
    });
    process.start();
    sound.connect(&process);
    {
      nokturna::MainWindow window(sound);
      window.show();
      QTimer poll;
      QObject::connect(&poll, &QTimer::timeout, &window, [&] {
        if (!heard.load()) return;  // the SoundFont is still loading
        poll.stop();
        songHeard = true;
        sound.play(nokturna::Clip::About);  // the longest clip, over the song
        program = process.pid();
        if (stuck) kill(program, SIGSTOP);
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
    sound.connect(nullptr);
  }
  if (!songHeard || !asked) {
    std::fprintf(stderr, "shutdown: the song never sounded or the exit never came\n");
    return 1;
  }
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - *asked).count();
  const bool left = kill(program, 0) != 0 && errno == ESRCH;
  std::printf("shutdown by %s%s: %.1f ms, sound program %s\n", byMenu ? "menu" : "close button",
              stuck ? ", the sound program stuck" : "", ms, left ? "gone" : "STILL THERE");
  if (!left) return 1;
  return 0;
}
