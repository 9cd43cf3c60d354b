// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Plays a WAV image held in memory, the way the game's sound effects need it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nokturna {

class ClipPlayer {
 public:
  virtual ~ClipPlayer() = default;
  // Starts the clip and returns at once; a clip still sounding is cut off. The bytes are read while the
  // clip sounds, so they must stay valid until it ends or the next play() call. Every failure (no device,
  // a malformed image) is silent.
  virtual void play(const std::uint8_t* wavImage, std::size_t size) = 0;
};

}  // namespace nokturna
