// SPDX-FileCopyrightText: 2026 The Nokturna team
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What the game and its sound program (nokturna-sound) say to each other, one message a packet over a
// socket pair of sequenced packets: a packet arrives whole or not at all, so neither side ever holds half
// a message. Each message is its length (4 bytes), its kind (1 byte) and its fields, integers little-endian.
// A song's path travels as the bytes it is, whatever they are: never trimmed, never re-encoded.
//
// The game tells the sound program the music that is wanted, always whole, and each clip as it is asked
// for. The sound program tells the game, every quarter of a second, how far the song was heard: that is
// how the game knows it is alive, and where a fresh sound program is to pick the song up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <variant>
#include <vector>

#include "audio/clip.h"
#include "audio/sound_back_end.h"

namespace nokturna {

// The game to the sound program.
struct MusicMessage {
  WantedMusic wanted;
  // Where a sound program that has not begun `wanted.choice` yet takes it up: told to a fresh one, after
  // the one before it went, when it had heard some of that song.
  SongProgress resumeFrom;
};
struct ClipMessage {
  Clip clip = Clip::LineClaimed;
  std::int64_t askedAtNs = 0;  // CLOCK_MONOTONIC, the same clock in both processes: a late clip is dropped
};
using ToSound = std::variant<MusicMessage, ClipMessage>;

// The sound program to the game.
struct ProgressReport {
  SongProgress progress;
};
// Only from a sound program started to measure itself (see sound_program.h): when a clip's first sample
// went to the device.
struct ClipHeardReport {
  std::int64_t heardAtNs = 0;  // CLOCK_MONOTONIC
  std::int64_t periodNs = 0;   // the last interval between two of the device's calls
};
// The program leaves because its output stalled (SdlAudioOutput::stalled): a fresh one is wanted at once.
struct LeavingReport {};
using FromSound = std::variant<ProgressReport, ClipHeardReport, LeavingReport>;

// Room enough for any message: a song path is at most PATH_MAX bytes.
inline constexpr std::size_t kLargestMessage = 8192;

std::vector<std::uint8_t> Encode(const ToSound& message);
std::vector<std::uint8_t> Encode(const FromSound& message);
// The message in `packet`, or nothing when it is not one whole message of its kind.
std::optional<ToSound> DecodeToSound(std::span<const std::uint8_t> packet);
std::optional<FromSound> DecodeFromSound(std::span<const std::uint8_t> packet);

// CLOCK_MONOTONIC now, in nanoseconds.
std::int64_t MonotonicNs();

}  // namespace nokturna
