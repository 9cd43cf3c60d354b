// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/standard_midi_file.h"

#include <cstddef>

namespace nokturna {

namespace {

class Reader {
 public:
  Reader(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t to)
      : bytes_(bytes), at_(from), end_(to) {}

  bool atEnd() const { return at_ >= end_; }
  std::size_t position() const { return at_; }

  bool byte(std::uint8_t& value) {
    if (at_ >= end_) return false;
    value = bytes_[at_++];
    return true;
  }
  bool bigEndian(int count, std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < count; ++i) {
      std::uint8_t b;
      if (!byte(b)) return false;
      value = (value << 8) | b;
    }
    return true;
  }
  // A variable-length quantity: seven bits a byte, at most four bytes.
  bool varLength(std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      std::uint8_t b;
      if (!byte(b)) return false;
      value = (value << 7) | (b & 0x7F);
      if ((b & 0x80) == 0) return true;
    }
    return false;
  }
  bool skip(std::uint32_t count) {
    if (count > end_ - at_) return false;
    at_ += count;
    return true;
  }
  bool tag(const char (&id)[5]) {
    for (int i = 0; i < 4; ++i) {
      std::uint8_t b;
      if (!byte(b) || b != static_cast<std::uint8_t>(id[i])) return false;
    }
    return true;
  }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t at_;
  std::size_t end_;
};

constexpr std::uint8_t kMetaEvent = 0xFF;
constexpr std::uint8_t kEndOfTrack = 0x2F;

// The tick of the track's end mark, if every event up to it parses; the programs its program changes pick
// go into `programs`.
std::optional<std::int64_t> TrackEndTick(Reader track, std::bitset<128>& programs) {
  std::int64_t tick = 0;
  std::uint8_t runningStatus = 0;
  while (!track.atEnd()) {
    std::uint32_t delta;
    std::uint8_t status;
    if (!track.varLength(delta) || !track.byte(status)) return std::nullopt;
    tick += delta;
    if (status == kMetaEvent) {
      std::uint8_t type;
      std::uint32_t length;
      if (!track.byte(type) || !track.varLength(length) || !track.skip(length)) return std::nullopt;
      if (type == kEndOfTrack) return tick;
      continue;
    }
    if (status == 0xF0 || status == 0xF7) {  // system exclusive
      std::uint32_t length;
      if (!track.varLength(length) || !track.skip(length)) return std::nullopt;
      runningStatus = 0;
      continue;
    }
    if (status >= 0xF0) return std::nullopt;    // real-time and common messages have no place in a file
    const bool running = (status & 0x80) == 0;  // then the byte read was already the first data byte
    if (!running) {
      runningStatus = status;
    } else if (runningStatus == 0) {
      return std::nullopt;
    }
    const std::uint8_t kind = runningStatus & 0xF0;
    // Program change and channel pressure carry one byte, the others two.
    const int dataBytes = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
    std::uint8_t data[2] = {status, 0};
    for (int i = running ? 1 : 0; i < dataBytes; ++i) {
      if (!track.byte(data[i]) || (data[i] & 0x80)) return std::nullopt;
    }
    if (kind == 0xC0) programs.set(data[0]);
  }
  return std::nullopt;
}

}  // namespace

std::optional<CheckedMidiSong> CheckMidiSong(const std::vector<std::uint8_t>& file) {
  Reader reader(file, 0, file.size());
  std::uint32_t headerLength, format, trackCount, division;
  if (!reader.tag("MThd") || !reader.bigEndian(4, headerLength) || headerLength < 6) return std::nullopt;
  if (!reader.bigEndian(2, format) || !reader.bigEndian(2, trackCount) || !reader.bigEndian(2, division)) {
    return std::nullopt;
  }
  if (format > 2 || trackCount == 0 || division == 0 || (division & 0x8000)) return std::nullopt;
  if (!reader.skip(headerLength - 6)) return std::nullopt;

  CheckedMidiSong song;
  song.programs.set(0);
  std::uint32_t tracksFound = 0;
  while (tracksFound < trackCount) {
    // Chunks of other kinds may sit between the tracks; they are skipped like the player skips them.
    std::uint32_t id, length;
    if (!reader.bigEndian(4, id) || !reader.bigEndian(4, length)) return std::nullopt;
    const std::size_t bodyStart = reader.position();
    if (!reader.skip(length)) return std::nullopt;
    if (id != 0x4D54726B) continue;  // "MTrk"
    const std::optional<std::int64_t> trackEnd =
        TrackEndTick(Reader(file, bodyStart, bodyStart + length), song.programs);
    if (!trackEnd) return std::nullopt;
    if (*trackEnd > song.endTick) song.endTick = *trackEnd;
    ++tracksFound;
  }
  return song;
}

}  // namespace nokturna
