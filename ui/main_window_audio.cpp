// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window's audio menus: Sound, Music and Song Album. What each choice means for what is heard
// is the game's sound's to know (audio/game_sound.h); the window moves the check marks.
#include <QAction>
#include <QMenu>

#include "audio/game_sound.h"
#include "ui/main_window.h"

namespace nokturna {

void MainWindow::startAudio() {
  // The marks stay as the menus were made: "&Hidupkan ahli kubur" and "&Lagu Menyan" even when no song
  // was found.
  if (!sound_.album().hasFirstSong) songAlbumMenu_->menuAction()->setEnabled(false);
}

void MainWindow::onSoundSwitched(bool on) {
  soundActions_[0]->setChecked(on);
  soundActions_[1]->setChecked(!on);
  sound_.switchEffects(on);
}

void MainWindow::onMusicSwitched(bool on) {
  musicActions_[0]->setChecked(on);
  musicActions_[1]->setChecked(!on);
  songAlbumMenu_->menuAction()->setEnabled(on);
  sound_.switchMusic(on);
}

void MainWindow::onSongChosen(int song) {
  // With no song found at start the first entry still wears its start-up mark although none was chosen;
  // every mark but the chosen one goes, so only the song that plays is marked.
  for (int other = 1; other <= 4; ++other) {
    if (other != song) songActions_[other]->setChecked(false);
  }
  sound_.chooseSong(song);
  songActions_[song]->setChecked(true);
}

}  // namespace nokturna
