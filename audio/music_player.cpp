#include "audio/music_player.h"

#include <cstdint>
#include <memory>
#include <string>

#include "audio/music_engine.h"
#include "audio/song_album.h"

namespace nokturna {

namespace {

// The performance starts quiet; the volume setting lifts it afterwards.
constexpr std::int32_t kInitialMasterVolume = -900;
// A volume setting becomes setting x 42 - 3000 hundredths of a decibel.
constexpr std::int32_t kVolumeStep = 42;
constexpr std::int32_t kVolumeOffset = 3000;
// The default output port, with room for every channel a song may use.
constexpr int kDefaultPort = -1;
constexpr int kChannelGroups = 80;

MusicEngine* engine = nullptr;

bool musicReady = false;
std::unique_ptr<MusicRoot> musicRoot;
std::unique_ptr<MusicLoader> musicLoader;
std::unique_ptr<MusicPerformance> musicPerformance;
std::unique_ptr<MusicSegment> songSegment;
std::unique_ptr<MusicSegmentState> songState;

bool EnsureRoot() {
  if (!musicRoot && engine != nullptr) musicRoot = engine->CreateRoot();
  return musicRoot != nullptr;
}

bool FitsInt16(std::int32_t value) { return value >= INT16_MIN && value <= INT16_MAX; }

}  // namespace

void SetMusicEngine(MusicEngine* newEngine) {
  // Objects of the old engine go first, while it is still there.
  songState.reset();
  songSegment.reset();
  musicPerformance.reset();
  musicLoader.reset();
  musicRoot.reset();
  musicReady = false;
  engine = newEngine;
}

void InitMusic() {
  musicReady = false;
  if (!EnsureRoot()) return;
  musicLoader = musicRoot->CreateLoader();
  if (!musicLoader) return;
  // The callers stopped this performance's song before; dropping it is all that is left to do.
  musicPerformance = musicRoot->CreatePerformance();
  if (!musicPerformance) return;
  if (!musicPerformance->Init()) return;
  if (!musicPerformance->SetPort(kDefaultPort, kChannelGroups)) return;
  if (!musicPerformance->SetMasterAutoDownload(true)) return;
  if (!musicPerformance->SetMasterVolume(kInitialMasterVolume)) return;
  musicReady = true;
}

void LoadSong(std::uint8_t n) {
  if (!musicReady) return;
  if (n < 1 || n > 4) return;
  const std::string path = songFolder + songFile[n];

  // Every failure below leaves the song loaded before in place.
  if (songSegment && songState && musicPerformance &&
      musicPerformance->IsPlaying(songSegment.get(), songState.get())) {
    musicPerformance->Stop(songSegment.get(), songState.get(), 0, 0);
  }
  musicLoader.reset();
  if (!EnsureRoot()) return;
  musicLoader = musicRoot->CreateLoader();
  if (!musicLoader) return;
  std::unique_ptr<MusicSegment> loaded = musicLoader->LoadSegment(path);
  if (!loaded) return;
  const std::string::size_type lastSeparator = path.find_last_of('/');
  if (lastSeparator == std::string::npos) return;
  if (!musicLoader->SetSearchDirectory(path.substr(0, lastSeparator + 1))) return;
  if (!loaded->SetStandardMidiFile()) return;
  songSegment = std::move(loaded);
}

void PlaySong() {
  if (!musicReady || !songSegment || !musicPerformance) return;
  if (musicPerformance->IsPlaying(songSegment.get(), songState.get())) return;
  if (!songSegment->SetStartPoint(0)) return;
  // A play that fails to start leaves the last state, which no longer sounds either.
  if (std::unique_ptr<MusicSegmentState> started = musicPerformance->PlaySegment(*songSegment, 0, 0)) {
    songState = std::move(started);
  }
}

void StopSong() {
  if (!musicReady || !songState || !musicPerformance) return;
  musicPerformance->Stop(songSegment.get(), songState.get(), 0, 0);
}

void SetMusicVolume(std::int16_t setting) {
  if (!musicReady || !musicPerformance) return;
  // The volume is 16-bit arithmetic throughout: a setting outside -708..780 overflows it, and is ignored.
  const std::int32_t product = std::int32_t{setting} * kVolumeStep;
  if (!FitsInt16(product)) return;
  const std::int32_t volume = product - kVolumeOffset;
  if (!FitsInt16(volume)) return;
  musicPerformance->SetMasterVolume(volume);
}

void ShutDownMusic() {
  StopSong();
  musicPerformance.reset();
  musicLoader.reset();
}

bool MusicReady() { return musicReady; }

}  // namespace nokturna
