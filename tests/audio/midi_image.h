// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes small standard MIDI files for tests: a few notes on General MIDI instruments.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace nokturna::testing {

struct MidiNote {
  int channel;
  int key;
  int velocity;
  std::int64_t startTick;
  std::int64_t lengthTicks;
};

struct MidiSong {
  int ticksPerQuarter = 480;
  int microsecondsPerQuarter = 500000;        // 120 beats a minute: one tick is 1/960 s
  std::vector<std::pair<int, int>> programs;  // channel, General MIDI program
  std::vector<MidiNote> notes;
  std::int64_t endTick = -1;  // -1: at the last note's end
};

inline void PutBe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline void PutVarLength(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::vector<std::uint8_t> groups{static_cast<std::uint8_t>(value & 0x7F)};
  while ((value >>= 7) != 0) groups.push_back(static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
  out.insert(out.end(), groups.rbegin(), groups.rend());
}

// A format-0 file: tempo, program changes, then the notes in time order (note-offs first at a tick).
inline std::vector<std::uint8_t> MidiImage(const MidiSong& song) {
  std::vector<std::tuple<std::int64_t, int, std::vector<std::uint8_t>>> events;  // tick, order, bytes
  const auto tempo = static_cast<std::uint32_t>(song.microsecondsPerQuarter);
  events.push_back(
      {0, 0, {0xFF, 0x51, 0x03, std::uint8_t(tempo >> 16), std::uint8_t(tempo >> 8), std::uint8_t(tempo)}});
  for (const auto& [channel, program] : song.programs) {
    events.push_back({0, 1, {std::uint8_t(0xC0 | channel), std::uint8_t(program)}});
  }
  std::int64_t lastTick = 0;
  for (const MidiNote& n : song.notes) {
    events.push_back(
        {n.startTick, 3, {std::uint8_t(0x90 | n.channel), std::uint8_t(n.key), std::uint8_t(n.velocity)}});
    events.push_back(
        {n.startTick + n.lengthTicks, 2, {std::uint8_t(0x80 | n.channel), std::uint8_t(n.key), 0}});
    lastTick = std::max(lastTick, n.startTick + n.lengthTicks);
  }
  events.push_back({song.endTick >= 0 ? song.endTick : lastTick, 4, {0xFF, 0x2F, 0x00}});
  std::stable_sort(events.begin(), events.end(), [](const auto& a, const auto& b) {
    return std::tie(std::get<0>(a), std::get<1>(a)) < std::tie(std::get<0>(b), std::get<1>(b));
  });

  std::vector<std::uint8_t> track;
  std::int64_t tick = 0;
  for (const auto& [at, order, bytes] : events) {
    PutVarLength(track, static_cast<std::uint32_t>(at - tick));
    tick = at;
    track.insert(track.end(), bytes.begin(), bytes.end());
  }
  std::vector<std::uint8_t> file{'M', 'T', 'h', 'd'};
  PutBe(file, 6, 4);
  PutBe(file, 0, 2);  // format 0
  PutBe(file, 1, 2);
  PutBe(file, static_cast<std::uint32_t>(song.ticksPerQuarter), 2);
  file.insert(file.end(), {'M', 'T', 'r', 'k'});
  PutBe(file, static_cast<std::uint32_t>(track.size()), 4);
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

inline void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Four quarter notes up a C major chord on the grand piano, the first on the very first tick: two seconds.
inline MidiSong PianoPhrase() {
  MidiSong song;
  song.programs = {{0, 0}};
  const int keys[] = {60, 64, 67, 72};
  for (int i = 0; i < 4; ++i) song.notes.push_back({0, keys[i], 100, 480 * i, 480});
  return song;
}

// Four bars of melody, chords, bass and drums, everything fortissimo: as loud as a song gets.
inline MidiSong LoudArrangement() {
  MidiSong song;
  song.programs = {{0, 0}, {1, 48}, {2, 33}};
  for (int bar = 0; bar < 4; ++bar) {
    const std::int64_t barTick = 1920 * bar;
    for (int key : {60, 64, 67}) song.notes.push_back({1, key, 120, barTick, 1920});
    song.notes.push_back({2, 36, 127, barTick, 1920});
    for (int beat = 0; beat < 4; ++beat) {
      const std::int64_t beatTick = barTick + 480 * beat;
      song.notes.push_back({0, 72 + 2 * beat, 127, beatTick, 480});
      song.notes.push_back({9, beat % 2 ? 38 : 36, 127, beatTick, 240});
      song.notes.push_back({9, 42, 127, beatTick, 240});
    }
  }
  return song;
}

}  // namespace nokturna::testing
