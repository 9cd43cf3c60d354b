// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/in_process_back_end.h"

#include "audio/builtin_clips.h"

namespace nokturna {

namespace {
// Where the music engine is set each time it starts; the volume setting lifts it from there.
constexpr std::int32_t kStartVolume = -900;
}  // namespace

InProcessBackEnd::InProcessBackEnd(ClipPlayer& clips, MusicEngine& music) : clips_(clips), music_(music) {}

void InProcessBackEnd::bringTo(const WantedMusic& wanted) { bringTo(wanted, SongProgress{}); }

void InProcessBackEnd::bringTo(const WantedMusic& wanted, const SongProgress& resumeFrom) {
  if (wanted.choice != choiceBegun_) {
    choiceBegun_ = wanted.choice;
    const bool resumed = resumeFrom.choice == wanted.choice;
    heardOut_ = resumed && resumeFrom.over;
    if (!heardOut_) beginSong(wanted, resumed ? resumeFrom.heardTick : 0);
  }
  stopped_ = wanted.stopped;
  if (wanted.stopped) music_.Stop();
}

void InProcessBackEnd::beginSong(const WantedMusic& wanted, std::int64_t fromTick) {
  // The song that sounds ends even when the next one then fails to load and the engine keeps the old one,
  // which so begins again.
  music_.Stop();
  music_.Load(wanted.song);
  if (!music_.Start()) return;
  music_.SetVolume(kStartVolume);
  if (const auto volume = HundredthsOfADecibel(wanted.volumeSetting)) music_.SetVolume(*volume);
  if (wanted.stopped) return;
  if (fromTick > 0) {
    music_.PlayFrom(fromTick);
  } else {
    music_.Play();
  }
}

void InProcessBackEnd::play(Clip clip) {
  const std::span<const std::uint8_t> image = BuiltInClip(clip);
  clips_.play(image.data(), image.size());
}

SongProgress InProcessBackEnd::progress() {
  if (choiceBegun_ == 0) return {};
  // A song stopped is not over: it is the game's to say whether anything should sound.
  const bool over = heardOut_ || (!stopped_ && !music_.IsPlaying());
  return SongProgress{choiceBegun_, heardOut_ ? 0 : music_.HeardTick(), over};
}

}  // namespace nokturna
