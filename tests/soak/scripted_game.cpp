// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// One whole game through the real main window, with the real sound: the SDL output (on SDL's "disk"
// driver unless SDL_AUDIODRIVER says otherwise), the clip player and the FluidSynth music playing the
// first song. A person clicks free lines at random, the computer answers, the winner is crowned, and the
// window closes by its close button. Exit status 0 when all of that happened, and the sound reached the
// device.
//
//   scripted_game [PAUSE_MS] [--sound-here]
// The sound is the game's: its sound program (nokturna-sound), started and told what is wanted as the game
// does it. With --sound-here the same back end runs inside this process instead, on the window's thread,
// so that a tool that follows one process (valgrind's memcheck) sees the back end's code too.
//
// It is a test of its own (ctest label "scripted") and the program the hardening script runs under
// valgrind's memcheck (both ways), where a leak or a bad access in our code makes it fail.
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "audio/fluid_music_engine.h"
#include "audio/game_sound.h"
#include "audio/in_process_back_end.h"
#include "audio/sdl_audio_output.h"
#include "audio/sdl_clip_player.h"
#include "audio/sound_process.h"
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
  const bool soundHere = argc > 2 && std::strcmp(argv[2], "--sound-here") == 0;

  QApplication app(argc, argv);
  nokturna::GameSound sound(nokturna::FindSongAlbum(NOKTURNA_SOURCE_DIR));
  // The sound program, or the same back end here.
  std::unique_ptr<nokturna::SoundProcess> program;
  std::unique_ptr<nokturna::SdlAudioOutput> output;
  std::unique_ptr<nokturna::SdlClipPlayer> clips;
  std::unique_ptr<nokturna::FluidMusicEngine> music;
  std::unique_ptr<nokturna::InProcessBackEnd> backEnd;
  if (soundHere) {
    output = std::make_unique<nokturna::SdlAudioOutput>();
    if (!output->isOpen()) {
      std::fprintf(stderr, "scripted game: no sound device\n");
      return 2;
    }
    clips = std::make_unique<nokturna::SdlClipPlayer>(*output);
    music = std::make_unique<nokturna::FluidMusicEngine>(*output);
    backEnd = std::make_unique<nokturna::InProcessBackEnd>(*clips, *music);
    sound.connect(backEnd.get());
  } else {
    program = std::make_unique<nokturna::SoundProcess>(NOKTURNA_SOUND_PROGRAM);
    program->start();
    sound.connect(program.get());
  }

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
  backEnd.reset();
  music.reset();
  clips.reset();
  output.reset();
  program.reset();  // the sound program has left once this returns
  std::ifstream heard(recording, std::ios::binary | std::ios::ate);
  const bool sounded = heard && heard.tellg() > 0;
  std::remove(recording.c_str());
  std::printf("scripted game: %d person moves, %s, %s\n", moves, crowned ? "winner crowned" : "NO WINNER",
              sounded ? "sound heard" : "NO SOUND");
  return crowned && sounded ? 0 : 1;
}
