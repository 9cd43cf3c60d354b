// One whole game through the real main window, with the real sound: the SDL output (on SDL's "disk"
// driver unless SDL_AUDIODRIVER says otherwise), the clip player and the FluidSynth music playing the
// first song. A person clicks free lines at random, the computer answers, the winner is crowned, and the
// window closes by its close button. Exit status 0 when all of that happened.
//
// It is a test of its own (ctest label "scripted") and the program the hardening script runs under
// valgrind's memcheck, where a leak or a bad access in our code makes it fail.
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "audio/fluid_music_engine.h"
#include "audio/game_sound.h"
#include "audio/in_process_back_end.h"
#include "audio/sdl_audio_output.h"
#include "audio/sdl_clip_player.h"
#include "ui/clickable_image.h"
#include "ui/main_window.h"
#include "ui/winner_window.h"

int main(int argc, char* argv[]) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "disk", 0);
  const std::string recording = "/tmp/nokturna-scripted-game-" + std::to_string(getpid()) + ".raw";
  setenv("SDL_DISKAUDIOFILE", recording.c_str(), 0);
  // How long a tick of the computer's pause lasts (ms); valgrind runs everything many times slower.
  const int pauseMs = argc > 1 ? std::atoi(argv[1]) : 20;

  QApplication app(argc, argv);
  nokturna::SdlAudioOutput output;
  if (!output.isOpen()) {
    std::fprintf(stderr, "scripted game: no sound device\n");
    return 2;
  }
  nokturna::SdlClipPlayer clips(output);
  // The small SoundFont when there is one: the game's path all the same, in a fraction of the time.
  const std::string smallFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
  nokturna::FluidMusicEngine music(
      output, {access(smallFont.c_str(), R_OK) == 0 ? smallFont : nokturna::DefaultSoundFont()});
  nokturna::InProcessBackEnd backEnd(clips, music);
  nokturna::GameSound sound(nokturna::FindSongAlbum(NOKTURNA_SOURCE_DIR));
  sound.connect(&backEnd);

  bool crowned = false;
  int moves = 0;
  {
    nokturna::MainWindow window(sound);
    window.show();
    auto* pause = window.findChild<QTimer*>(QStringLiteral("computerPause"));
    pause->setInterval(pauseMs);
    window.findChild<QAction*>(QStringLiteral("playAction"))->trigger();

    std::mt19937 person(7);
    QTimer hand;
    QObject::connect(&hand, &QTimer::timeout, &window, [&] {
      if (nokturna::WinnerWindow* winner = window.winnerWindow(); winner != nullptr && winner->isVisible()) {
        crowned = true;
        hand.stop();
        window.close();  // the close button's way out: the music stops, the winner window goes
        QCoreApplication::quit();
        return;
      }
      if (pause->isActive()) return;  // the computer's turn
      std::vector<nokturna::ClickableImage*> free;
      for (int line = 1; line <= 112; ++line) {
        auto* image = window.findChild<nokturna::ClickableImage*>(QStringLiteral("line%1").arg(line));
        if (image != nullptr && image->pixmap().isNull()) free.push_back(image);
      }
      if (free.empty()) return;
      free[std::uniform_int_distribution<std::size_t>(0, free.size() - 1)(person)]->activate();
      ++moves;
    });
    hand.start(pauseMs);
    QTimer::singleShot(600000, &app, [] { QCoreApplication::exit(3); });
    QApplication::exec();
  }
  sound.connect(nullptr);
  std::remove(recording.c_str());
  std::printf("scripted game: %d person moves, %s\n", moves, crowned ? "winner crowned" : "NO WINNER");
  return crowned ? 0 : 1;
}
