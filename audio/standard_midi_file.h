// Checks a standard MIDI file before the synthesizer's player sees it. The player takes a damaged file
// without complaint and then plays garbage or nothing, so every chunk and event is walked here first.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace nokturna {

// The tick of the song's end (the latest end-of-track mark over all tracks) when `file` is a complete,
// well-formed standard MIDI file with ticks per quarter note; nothing otherwise (truncated, not MIDI,
// SMPTE timing, an event that does not parse, a track without its end mark).
std::optional<std::int64_t> MidiSongEndTick(const std::vector<std::uint8_t>& file);

}  // namespace nokturna
