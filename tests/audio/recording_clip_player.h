// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A clip player that plays nothing and remembers every clip it was handed, for tests of the callers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "audio/clip_player.h"

namespace nokturna::testing {

class RecordingClipPlayer : public ClipPlayer {
 public:
  struct Play {
    const std::uint8_t* image;        // where the caller's bytes were
    std::vector<std::uint8_t> bytes;  // what they held at play() time
  };

  void play(const std::uint8_t* wavImage, std::size_t size) override {
    plays.push_back({wavImage, std::vector<std::uint8_t>(wavImage, wavImage + size)});
    if (onPlay) onPlay();
  }

  // The clip id, found by comparing the bytes with the clips a test loaded; 0 when none matches.
  int idOf(const Play& played, const std::vector<std::vector<std::uint8_t>>& clipsById) const {
    for (std::size_t id = 1; id < clipsById.size(); ++id) {
      if (clipsById[id] == played.bytes) return static_cast<int>(id);
    }
    return 0;
  }

  std::vector<Play> plays;
  std::function<void()> onPlay;  // lets a test note the moment of the call among other events
};

}  // namespace nokturna::testing
