// The main window's audio: sound effects and the music started at load, and the Sound, Music and Song
// Album menus.
#include <QAction>
#include <QMenu>

#include "audio/music_player.h"
#include "audio/song_album.h"
#include "audio/sound_effects.h"
#include "ui/main_window.h"

namespace nokturna {

namespace {
constexpr std::int16_t kLoadVolume = 85;  // 85 x 42 - 3000 = 570 hundredths of a decibel
}  // namespace

void MainWindow::startAudio(const QString& programFolder) {
  soundOn = true;
  const SongSearch songs = FindSongs(programFolder.toStdString());
  if (songs.disableSongAlbum) songAlbumMenu_->menuAction()->setEnabled(false);
  if (musicOn) startMusic();
}

// The first song plays once at start-up when a song file was found.
void MainWindow::startMusic() {
  musicVolume = kLoadVolume;
  InitMusic();
  LoadSong(1);
  currentSong_ = 1;
  songActions_[1]->setChecked(true);
  SetMusicVolume(musicVolume);
  PlaySong();
}

void MainWindow::onSoundSwitched(bool on) {
  // A clip already sounding plays to its end; only later ones are kept quiet.
  soundActions_[0]->setChecked(on);
  soundActions_[1]->setChecked(!on);
  soundOn = on;
}

void MainWindow::onMusicSwitched(bool on) {
  musicActions_[0]->setChecked(on);
  musicActions_[1]->setChecked(!on);
  musicOn = on;
  songAlbumMenu_->menuAction()->setEnabled(on);
  // Music on starts nothing by itself: a song sounds again once one is chosen.
  if (!on) StopSong();
}

void MainWindow::onSongChosen(int song) {
  // With no song found at load the first entry still wears its start-up mark although no song is
  // current; every mark but the chosen one goes, so only the song that plays is marked.
  for (int other = 1; other <= 4; ++other) {
    if (other != song) songActions_[other]->setChecked(false);
  }
  currentSong_ = song;

  // Never started at load (no song was there then): start the engine first, at the volume a start at
  // load would have given, so that this first choice plays as every later one does.
  if (!MusicReady()) {
    musicVolume = kLoadVolume;
    InitMusic();
  }

  StopSong();
  LoadSong(static_cast<std::uint8_t>(currentSong_));
  InitMusic();
  SetMusicVolume(musicVolume);
  PlaySong();
  songActions_[currentSong_]->setChecked(true);
}

}  // namespace nokturna
