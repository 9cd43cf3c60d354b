#include "audio/music_player.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "audio/music_engine.h"
#include "audio/song_album.h"

namespace nokturna {

namespace {

// The engine starts quiet; the volume setting lifts it afterwards.
constexpr std::int32_t kInitialVolume = -900;
// A volume setting becomes setting x 42 - 3000 hundredths of a decibel.
constexpr std::int32_t kVolumeStep = 42;
constexpr std::int32_t kVolumeOffset = 3000;

// An operation asked for while the engine was on its way, with its argument.
struct KeptCall {
  enum class Operation { Init, Load, Play, Stop, Volume, ShutDown } operation;
  std::int16_t argument = 0;
};

// All the module knows; the song itself is the engine's.
struct MusicState {
  MusicEngine* engine = nullptr;
  bool ready = false;       // InitMusic succeeded, and the music was not shut down since
  bool songLoaded = false;  // the engine holds a song: some LoadSong succeeded
  bool awaiting = false;    // an engine is on its way: operations are kept in `kept`
  std::vector<KeptCall> kept;
};

MusicState music;

// True when the operation was kept for the engine to come, rather than to be carried out now.
bool Kept(KeptCall::Operation operation, std::int16_t argument = 0) {
  if (!music.awaiting) return false;
  music.kept.push_back({operation, argument});
  return true;
}

void CarryOut(const KeptCall& call) {
  switch (call.operation) {
    case KeptCall::Operation::Init:
      return InitMusic();
    case KeptCall::Operation::Load:
      return LoadSong(static_cast<std::uint8_t>(call.argument));
    case KeptCall::Operation::Play:
      return PlaySong();
    case KeptCall::Operation::Stop:
      return StopSong();
    case KeptCall::Operation::Volume:
      return SetMusicVolume(call.argument);
    case KeptCall::Operation::ShutDown:
      return ShutDownMusic();
  }
}

bool FitsInt16(std::int32_t value) { return value >= INT16_MIN && value <= INT16_MAX; }

}  // namespace

void SetMusicEngine(MusicEngine* engine) {
  const std::vector<KeptCall> kept = std::move(music.kept);
  music = MusicState{};
  music.engine = engine;
  if (engine == nullptr) return;
  for (const KeptCall& call : kept) CarryOut(call);
}

void AwaitMusicEngine() {
  music = MusicState{};
  music.awaiting = true;
}

void InitMusic() {
  if (Kept(KeptCall::Operation::Init)) {
    // The window decides by this whether a song choice must start the engine first.
    music.ready = true;
    return;
  }
  music.ready = false;
  if (music.engine == nullptr || !music.engine->Start()) return;
  music.engine->SetVolume(kInitialVolume);
  music.ready = true;
}

void LoadSong(std::uint8_t n) {
  if (Kept(KeptCall::Operation::Load, n)) return;
  if (!music.ready || n < 1 || n > 4) return;
  // A new song ends the one that sounds, even when it then fails to load and the old one stays.
  music.engine->Stop();
  if (music.engine->Load(songFolder + songFile[n])) music.songLoaded = true;
}

void PlaySong() {
  if (Kept(KeptCall::Operation::Play)) return;
  if (!music.ready || !music.songLoaded) return;
  if (music.engine->IsPlaying()) return;
  music.engine->Play();
}

void StopSong() {
  if (Kept(KeptCall::Operation::Stop)) return;
  if (!music.ready) return;
  music.engine->Stop();
}

void SetMusicVolume(std::int16_t setting) {
  if (Kept(KeptCall::Operation::Volume, setting)) return;
  if (!music.ready) return;
  // The volume is 16-bit arithmetic throughout: a setting outside -708..780 overflows it, and is ignored.
  const std::int32_t product = std::int32_t{setting} * kVolumeStep;
  if (!FitsInt16(product)) return;
  const std::int32_t volume = product - kVolumeOffset;
  if (!FitsInt16(volume)) return;
  music.engine->SetVolume(volume);
}

void ShutDownMusic() {
  if (Kept(KeptCall::Operation::ShutDown)) {
    music.ready = false;
    return;
  }
  StopSong();
  music.ready = false;
}

bool MusicReady() { return music.ready; }

}  // namespace nokturna
