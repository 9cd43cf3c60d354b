// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The check a song file passes before the synthesizer's player may see it.
#include "audio/standard_midi_file.h"

#include <gtest/gtest.h>

#include <bitset>
#include <optional>
#include <vector>

#include "tests/audio/midi_image.h"

namespace nokturna {
namespace {

using testing::MidiImage;
using testing::PianoPhrase;
using testing::PutBe;

std::vector<std::uint8_t> Chunk(const char* id, const std::vector<std::uint8_t>& body) {
  std::vector<std::uint8_t> chunk(id, id + 4);
  PutBe(chunk, static_cast<std::uint32_t>(body.size()), 4);
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

std::vector<std::uint8_t> File(int format, int tracks, int division,
                               const std::vector<std::vector<std::uint8_t>>& chunks) {
  std::vector<std::uint8_t> header;
  PutBe(header, format, 2);
  PutBe(header, tracks, 2);
  PutBe(header, division, 2);
  std::vector<std::uint8_t> file = Chunk("MThd", header);
  for (const auto& chunk : chunks) file.insert(file.end(), chunk.begin(), chunk.end());
  return file;
}

std::optional<std::int64_t> EndTick(const std::vector<std::uint8_t>& file) {
  const std::optional<CheckedMidiSong> song = CheckMidiSong(file);
  return song ? std::optional(song->endTick) : std::nullopt;
}

TEST(CheckMidiSong, EndsOnTheLatestEndMarkOverAllTracksWithRunningStatusAndForeignChunks) {
  EXPECT_EQ(EndTick(MidiImage(PianoPhrase())), 4 * 480);
  // Track 2 uses running status for its second note-on and ends later; a foreign chunk sits between.
  const std::vector<std::uint8_t> first{0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00};
  const std::vector<std::uint8_t> second{0x00, 0xC1, 5,    0x00, 0x91, 62,   90,   0x10, 64,   90,
                                         0x81, 0x00, 0xF0, 0x01, 0xF7, 0x8F, 0x00, 0xFF, 0x2F, 0x00};
  EXPECT_EQ(EndTick(File(1, 2, 96, {Chunk("MTrk", first), Chunk("XFIH", {1, 2, 3}), Chunk("MTrk", second)})),
            0x10 + 0x80 + 0x780);
}

TEST(CheckMidiSong, TellsTheProgramsTheChannelsPickAndProgramZero) {
  // Channel 1 picks 5, then 7 by running status, and sounds notes whose keys are no programs; channel 2
  // picks 40 in the other track, after channel pressure by running status.
  const std::vector<std::uint8_t> first{0x00, 0xC1, 5,  0x10, 7,    0x00, 0x91, 60,
                                        90,   0x10, 64, 90,   0x00, 0xFF, 0x2F, 0x00};
  const std::vector<std::uint8_t> second{0x00, 0xD2, 9, 0x00, 10, 0x00, 0xC2, 40, 0x00, 0xFF, 0x2F, 0x00};
  const std::optional<CheckedMidiSong> song =
      CheckMidiSong(File(1, 2, 96, {Chunk("MTrk", first), Chunk("MTrk", second)}));
  ASSERT_TRUE(song.has_value());
  EXPECT_EQ(song->programs, std::bitset<128>().set(0).set(5).set(7).set(40));
}

TEST(CheckMidiSong, RefusesDamagedAndForeignFiles) {
  const std::vector<std::uint8_t> good = MidiImage(PianoPhrase());
  const std::vector<std::uint8_t> track{0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00};
  struct Case {
    const char* what;
    std::vector<std::uint8_t> file;
  };
  const Case cases[] = {
      {"empty", {}},
      {"cut inside the track", std::vector<std::uint8_t>(good.begin(), good.begin() + good.size() / 2)},
      {"cut inside the header", std::vector<std::uint8_t>(good.begin(), good.begin() + 10)},
      {"a RIFF WAVE file", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}},
      {"fewer tracks than the header counts", File(1, 2, 96, {Chunk("MTrk", track)})},
      {"no end-of-track mark", File(0, 1, 96, {Chunk("MTrk", {0x00, 0x90, 60, 100})})},
      {"running status with nothing to run",
       File(0, 1, 96, {Chunk("MTrk", {0x00, 60, 100, 0x00, 0xFF, 0x2F, 0x00})})},
      {"a status byte where data belongs",
       File(0, 1, 96, {Chunk("MTrk", {0x00, 0x90, 60, 0x90, 0x00, 0xFF, 0x2F, 0x00})})},
      {"SMPTE timing", File(0, 1, 0xE728, {Chunk("MTrk", track)})},
      {"format 3", File(3, 1, 96, {Chunk("MTrk", track)})},
  };
  for (const Case& c : cases) EXPECT_FALSE(CheckMidiSong(c.file).has_value()) << c.what;
}

}  // namespace
}  // namespace nokturna
