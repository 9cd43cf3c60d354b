// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the game's sound (GameSound) asks of the back end that makes it heard. The back end is told the
// music that is wanted, always whole, never a step to take: one that is new (loaded late, or started
// again after it went) is simply told everything, and comes to the same sound as one that was there all
// along. Clips are the one thing told as they happen.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "audio/clip.h"

namespace nokturna {

// A clip asked for while no back end could play it plays when one can within this time, and never later: a
// sound that comes late belongs to no moment of the game.
inline constexpr std::chrono::milliseconds kClipPatience{500};

// The music that is wanted, whole.
struct WantedMusic {
  std::string song;      // the file of the song chosen last; empty while none was
  unsigned choice = 0;   // counts the song choices: a count not seen before begins `song` from its start
  bool stopped = false;  // Music off, or the game left: no song sounds until the next choice
  std::int16_t volumeSetting = 0;  // see HundredthsOfADecibel
};

// How far the song of one choice was heard: what a back end that takes over from one that went needs, to
// pick the song up where its sound stopped.
struct SongProgress {
  unsigned choice = 0;         // the song choice (WantedMusic::choice) it is about; 0: none begun
  std::int64_t heardTick = 0;  // the song's own time (MIDI ticks) that has been heard
  bool over = false;           // heard to its end: it is not begun again
  bool operator==(const SongProgress&) const = default;
};

// A volume setting in hundredths of a decibel: setting x 42 - 3000, worked out in 16 bits as the game has
// always done it, so a setting outside -708..780 gives none.
constexpr std::optional<std::int32_t> HundredthsOfADecibel(std::int16_t setting) {
  constexpr std::int32_t kStep = 42, kOffset = 3000;
  const auto fits = [](std::int32_t value) { return value >= INT16_MIN && value <= INT16_MAX; };
  const std::int32_t product = std::int32_t{setting} * kStep;
  if (!fits(product) || !fits(product - kOffset)) return std::nullopt;
  return product - kOffset;
}

class SoundBackEnd {
 public:
  virtual ~SoundBackEnd() = default;

  // Brings the music to `wanted`. A song begins once for each choice: told the same choice again, the
  // back end leaves the song as it is, sounding, stopped or over.
  virtual void bringTo(const WantedMusic& wanted) = 0;
  // Starts `clip` at once, cutting off the one that sounds. Failures only mean silence.
  virtual void play(Clip clip) = 0;
};

}  // namespace nokturna
