// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The music on its way from the synthesizer to the device: a ring of rendered blocks that the music
// renderer fills and the audio thread empties (see audio_source.h). One thread writes and one reads, so
// two counters are all it needs: no lock, and nothing either side ever waits for. A full ring is the
// renderer's cue to rest; an empty one is a gap in the music, never a wait on the audio thread.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "audio/sdl_audio_output.h"

namespace nokturna {

struct MusicBlock {
  static constexpr int kFrames = SdlAudioOutput::kPeriodFrames;
  std::uint32_t performance = 0;  // which playing of a song it belongs to (FluidMusicEngine's cue)
  bool songOver = false;          // the song passed its last note within this block
  bool last = false;              // the last block of the performance: after it the synthesizer rests
  std::int64_t tick = 0;          // the song's own time (MIDI ticks) at the block's end
  float stereo[2 * kFrames] = {};
};

class MusicRing {
 public:
  // Sixteen periods, 0.19 s: the renderer can be held up that long before the music has a gap.
  static constexpr std::size_t kBlocks = 16;

  // The writer's side: the block to fill next, or null while the ring is full; push() hands it over.
  MusicBlock* back() {
    const std::uint64_t pushed = pushed_.load(std::memory_order_relaxed);
    if (pushed - popped_.load(std::memory_order_acquire) == kBlocks) return nullptr;
    return &blocks_[pushed % kBlocks];
  }
  void push() { pushed_.store(pushed_.load(std::memory_order_relaxed) + 1, std::memory_order_release); }

  // The reader's side: how many blocks wait, the `i`th of them (the oldest first), and pop() to let the
  // oldest go back to the writer.
  std::size_t size() const {
    return static_cast<std::size_t>(pushed_.load(std::memory_order_acquire) -
                                    popped_.load(std::memory_order_relaxed));
  }
  const MusicBlock& at(std::size_t i) const {
    return blocks_[(popped_.load(std::memory_order_relaxed) + i) % kBlocks];
  }
  void pop() { popped_.store(popped_.load(std::memory_order_relaxed) + 1, std::memory_order_release); }

 private:
  std::array<MusicBlock, kBlocks> blocks_;
  std::atomic<std::uint64_t> pushed_{0};  // written by the writer alone
  std::atomic<std::uint64_t> popped_{0};  // written by the reader alone
};

}  // namespace nokturna
