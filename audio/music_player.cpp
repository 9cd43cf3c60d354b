#include "audio/music_player.h"

#include <cstdint>
#include <string>

#include "audio/music_engine.h"
#include "audio/song_album.h"

namespace nokturna {

namespace {

// The engine starts quiet; the volume setting lifts it afterwards.
constexpr std::int32_t kInitialVolume = -900;
// A volume setting becomes setting x 42 - 3000 hundredths of a decibel.
constexpr std::int32_t kVolumeStep = 42;
constexpr std::int32_t kVolumeOffset = 3000;

// All the module knows; the song itself is the engine's.
struct MusicState {
  MusicEngine* engine = nullptr;
  bool ready = false;       // InitMusic succeeded, and the music was not shut down since
  bool songLoaded = false;  // the engine holds a song: some LoadSong succeeded
};

MusicState music;

bool FitsInt16(std::int32_t value) { return value >= INT16_MIN && value <= INT16_MAX; }

}  // namespace

void SetMusicEngine(MusicEngine* engine) { music = MusicState{engine}; }

void InitMusic() {
  music.ready = false;
  if (music.engine == nullptr || !music.engine->Start()) return;
  music.engine->SetVolume(kInitialVolume);
  music.ready = true;
}

void LoadSong(std::uint8_t n) {
  if (!music.ready || n < 1 || n > 4) return;
  // A new song ends the one that sounds, even when it then fails to load and the old one stays.
  music.engine->Stop();
  if (music.engine->Load(songFolder + songFile[n])) music.songLoaded = true;
}

void PlaySong() {
  if (!music.ready || !music.songLoaded) return;
  if (music.engine->IsPlaying()) return;
  music.engine->Play();
}

void StopSong() {
  if (!music.ready) return;
  music.engine->Stop();
}

void SetMusicVolume(std::int16_t setting) {
  if (!music.ready) return;
  // The volume is 16-bit arithmetic throughout: a setting outside -708..780 overflows it, and is ignored.
  const std::int32_t product = std::int32_t{setting} * kVolumeStep;
  if (!FitsInt16(product)) return;
  const std::int32_t volume = product - kVolumeOffset;
  if (!FitsInt16(volume)) return;
  music.engine->SetVolume(volume);
}

void ShutDownMusic() {
  StopSong();
  music.ready = false;
}

bool MusicReady() { return music.ready; }

}  // namespace nokturna
