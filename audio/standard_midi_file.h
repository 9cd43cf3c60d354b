// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Checks a standard MIDI file before the synthesizer's player sees it. The player takes a damaged file
// without complaint and then plays garbage or nothing, so every chunk and event is walked here first.
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <vector>

namespace nokturna {

struct CheckedMidiSong {
  std::int64_t endTick = 0;  // the latest end-of-track mark over all tracks
  // The programs its channels may play, whose presets the synthesizer needs: those of its program
  // changes, and 0, where every channel starts.
  std::bitset<128> programs;
};

// What the engine needs to know of `file` when it is a complete, well-formed standard MIDI file with
// ticks per quarter note; nothing otherwise (truncated, not MIDI, SMPTE timing, an event that does not
// parse, a track without its end mark).
std::optional<CheckedMidiSong> CheckMidiSong(const std::vector<std::uint8_t>& file);

}  // namespace nokturna
