// The main window's audio: the music started at load, and the Sound, Music and Song Album menus.
#include <QAction>
#include <QMenu>

#include "audio/music_player.h"
#include "audio/song_album.h"
#include "audio/sound_effects.h"
#include "ui/form1.h"

namespace nokturna {

namespace {
constexpr std::int16_t kLoadVolume = 85;  // 85 x 42 - 3000 = 570 hundredths of a decibel
}  // namespace

// The first song plays once at start-up when a song file was found.
void form1::StartMusic() {
  musicVolume = kLoadVolume;
  InitMusic();
  LoadSong(1);
  game_.state.currentSong = 1;
  song[1]->setChecked(true);
  SetMusicVolume(musicVolume);
  PlaySong();
}

void form1::sound1_Click(int index) {
  // A clip already sounding plays to its end; only later ones are kept quiet.
  const bool on = index == 1;
  sound1[1]->setChecked(on);
  sound1[2]->setChecked(!on);
  nokturna::soundOn = on;
}

void form1::music1_Click(int index) {
  const bool on = index == 1;
  music1[1]->setChecked(on);
  music1[2]->setChecked(!on);
  musicOn = on;
  musik1->menuAction()->setEnabled(on);
  // Music on starts nothing by itself: a song sounds again once one is chosen.
  if (!on) StopSong();
}

void form1::song_Click(int index) {
  std::int16_t& currentSong = game_.state.currentSong;
  // With no song found at load the first entry still wears its start-up mark although no song is
  // current; every mark but the chosen one goes, so only the song that plays is marked.
  for (int i = 1; i <= 4; ++i) {
    if (i != index) song[i]->setChecked(false);
  }
  currentSong = static_cast<std::int16_t>(index);

  // Never started at load (no song was there then): start the engine first, at the volume a start at
  // load would have given, so that this first choice plays as every later one does.
  if (!MusicReady()) {
    musicVolume = kLoadVolume;
    InitMusic();
  }

  StopSong();
  LoadSong(static_cast<std::uint8_t>(currentSong));
  InitMusic();
  SetMusicVolume(musicVolume);
  PlaySong();
  song[currentSong]->setChecked(true);
}

}  // namespace nokturna
