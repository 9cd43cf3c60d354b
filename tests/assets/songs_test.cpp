// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The background songs in SongAlbum/: each must be a standard MIDI file any
// player accepts, use only General MIDI sounds, and play for one to three
// minutes of actual music when rendered by an independent player (TiMidity++).

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#ifndef NOKTURNA_SONG_DIR
#error "NOKTURNA_SONG_DIR must name the SongAlbum folder"
#endif

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t be(const Bytes& b, std::size_t at, int width) {
  std::uint32_t v = 0;
  for (int i = 0; i < width; ++i) v = v << 8 | b[at + static_cast<std::size_t>(i)];
  return v;
}

struct MidiEvent {
  long tick;
  std::uint8_t status;  // 0xFF for meta events
  Bytes data;           // meta: type, then payload
};

struct MidiFile {
  int format = -1;
  int declaredTracks = 0;
  int division = 0;
  std::vector<std::vector<MidiEvent>> tracks;
};

// Reads a standard MIDI file, failing the test on anything a player could
// stumble over: bad chunk lengths, bytes past a track's end, data bytes with
// the top bit set, events after End of Track or a track without one.
MidiFile parseMidi(const Bytes& file) {
  MidiFile midi;
  if (file.size() < 14 || std::string(file.begin(), file.begin() + 4) != "MThd" || be(file, 4, 4) != 6) {
    ADD_FAILURE() << "no MThd header of six bytes";
    return midi;
  }
  midi.format = static_cast<int>(be(file, 8, 2));
  midi.declaredTracks = static_cast<int>(be(file, 10, 2));
  midi.division = static_cast<int>(be(file, 12, 2));
  std::size_t at = 14;
  while (at < file.size()) {
    if (at + 8 > file.size()) {
      ADD_FAILURE() << "truncated chunk header at byte " << at;
      return midi;
    }
    const std::string tag(file.begin() + static_cast<long>(at), file.begin() + static_cast<long>(at) + 4);
    const std::size_t length = be(file, at + 4, 4);
    const std::size_t begin = at + 8, end = begin + length;
    if (end > file.size()) {
      ADD_FAILURE() << tag << " chunk at byte " << at << " claims " << length
                    << " bytes, past the end of the file";
      return midi;
    }
    at = end;
    if (tag != "MTrk") continue;  // players skip chunks they do not know
    std::vector<MidiEvent>& events = midi.tracks.emplace_back();
    const int track = static_cast<int>(midi.tracks.size());
    std::size_t p = begin;
    long tick = 0;
    std::uint8_t running = 0;
    bool ended = false;
    auto varLength = [&](std::uint32_t& value) {
      value = 0;
      for (int i = 0; i < 4 && p < end; ++i) {
        const std::uint8_t b = file[p++];
        value = value << 7 | (b & 0x7F);
        if (!(b & 0x80)) return true;
      }
      return false;
    };
    while (p < end && !ended) {
      std::uint32_t delta = 0;
      if (!varLength(delta)) {
        ADD_FAILURE() << "track " << track << ": broken delta time at byte " << p;
        return midi;
      }
      tick += delta;
      if (p >= end) break;
      std::uint8_t status = file[p];
      if (status & 0x80)
        ++p;
      else if (running != 0)
        status = running;
      else {
        ADD_FAILURE() << "track " << track << ": data byte without a status at byte " << p;
        return midi;
      }
      MidiEvent e{tick, status, {}};
      std::uint32_t size = 0;
      if (status == 0xFF) {
        if (p >= end) break;
        e.data.push_back(file[p++]);
        if (!varLength(size) || p + size > end) {
          ADD_FAILURE() << "track " << track << ": meta event runs past the track";
          return midi;
        }
        ended = e.data[0] == 0x2F;
      } else if (status == 0xF0 || status == 0xF7) {
        if (!varLength(size) || p + size > end) {
          ADD_FAILURE() << "track " << track << ": system exclusive runs past the track";
          return midi;
        }
      } else if (status >= 0xF0) {
        ADD_FAILURE() << "track " << track << ": status " << int(status) << " does not belong in a file";
        return midi;
      } else {
        running = status;
        size = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
        if (p + size > end) {
          ADD_FAILURE() << "track " << track << ": channel message runs past the track";
          return midi;
        }
        for (std::uint32_t i = 0; i < size; ++i)
          if (file[p + i] & 0x80) {
            ADD_FAILURE() << "track " << track << ": data byte " << int(file[p + i]) << " at tick " << tick;
            return midi;
          }
      }
      e.data.insert(e.data.end(), file.begin() + static_cast<long>(p),
                    file.begin() + static_cast<long>(p + size));
      p += size;
      events.push_back(std::move(e));
    }
    EXPECT_TRUE(ended) << "track " << track << " has no End of Track";
    EXPECT_EQ(p, end) << "track " << track << " goes on after its End of Track";
  }
  return midi;
}

// Seconds from the start to the given tick, following every tempo change.
double secondsAt(const MidiFile& midi, long tick) {
  std::map<long, double> tempo{{0, 500000.0}};  // microseconds a quarter
  for (const auto& track : midi.tracks)
    for (const MidiEvent& e : track)
      if (e.status == 0xFF && e.data[0] == 0x51 && e.data.size() == 4) tempo[e.tick] = be(e.data, 1, 3);
  double micros = 0;
  for (auto it = tempo.begin(); it != tempo.end() && it->first < tick; ++it) {
    const auto next = std::next(it);
    const long until = next == tempo.end() ? tick : std::min(tick, next->first);
    micros += static_cast<double>(until - it->first) * it->second / midi.division;
  }
  return micros / 1e6;
}

double songSeconds(const MidiFile& midi) {
  long last = 0;
  for (const auto& track : midi.tracks)
    if (!track.empty()) last = std::max(last, track.back().tick);
  return secondsAt(midi, last);
}

fs::path songPath(int number) {
  return fs::path(NOKTURNA_SONG_DIR) / ("Music" + std::to_string(number) + ".mid");
}

class Song : public ::testing::TestWithParam<int> {};

TEST_P(Song, IsAWellFormedGeneralMidiFile) {
  const Bytes file = readAll(songPath(GetParam()));
  ASSERT_FALSE(file.empty()) << songPath(GetParam()) << " is missing";
  const MidiFile midi = parseMidi(file);
  if (HasFailure()) return;
  EXPECT_TRUE(midi.format == 0 || midi.format == 1) << "format " << midi.format;
  if (midi.format == 0) {
    EXPECT_EQ(midi.declaredTracks, 1);
  }
  EXPECT_EQ(static_cast<int>(midi.tracks.size()), midi.declaredTracks) << "tracks found vs. declared";
  ASSERT_GT(midi.division, 0);
  EXPECT_EQ(midi.division & 0x8000, 0) << "ticks per quarter, not SMPTE time";

  std::set<int> programmed, played;
  for (std::size_t t = 0; t < midi.tracks.size(); ++t) {
    // Each key struck must be let go again, and not struck twice before that.
    std::map<int, int> down;  // channel * 128 + key -> held
    for (const MidiEvent& e : midi.tracks[t]) {
      const int kind = e.status & 0xF0, channel = e.status & 0x0F;
      if (e.status >= 0xF0) continue;
      if (kind == 0x90 && e.data[1] > 0) {
        EXPECT_EQ(down[channel * 128 + e.data[0]]++, 0)
            << "track " << t << ": key " << int(e.data[0]) << " struck again while held, tick " << e.tick;
        played.insert(channel);
      } else if (kind == 0x80 || kind == 0x90) {
        EXPECT_EQ(down[channel * 128 + e.data[0]]--, 1)
            << "track " << t << ": key " << int(e.data[0]) << " released but not held, tick " << e.tick;
      } else if (kind == 0xC0) {
        programmed.insert(channel);
      } else if (kind == 0xB0 && (e.data[0] == 0 || e.data[0] == 32)) {
        EXPECT_EQ(e.data[1], 0) << "track " << t << ": bank select leaves the General MIDI sounds";
      }
    }
    for (const auto& [slot, held] : down)
      EXPECT_EQ(held, 0) << "track " << t << ": key " << slot % 128 << " on channel " << slot / 128 + 1
                         << " is never released";
  }
  // A melodic channel that never chose a sound plays whatever the last
  // song left behind; the percussion channel (10) needs no program.
  for (int channel : played) {
    if (channel != 9) {
      EXPECT_TRUE(programmed.count(channel))
          << "channel " << channel + 1 << " plays without a program change";
    }
  }

  const double seconds = songSeconds(midi);
  EXPECT_GE(seconds, 60.0);
  EXPECT_LE(seconds, 180.0);
}

bool onPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "";
  for (std::size_t start = 0; start <= dirs.size();) {
    const std::size_t colon = std::min(dirs.find(':', start), dirs.size());
    const fs::path candidate = fs::path(dirs.substr(start, colon - start)) / program;
    if (colon > start && ::access(candidate.c_str(), X_OK) == 0) return true;
    start = colon + 1;
  }
  return false;
}

struct Audio {
  int rate = 0;
  std::vector<double> samples;  // mono, -1 .. 1
};

// Reads the 16-bit PCM WAVE file the player wrote.
Audio readWave(const Bytes& wav) {
  Audio audio;
  auto le = [&](std::size_t at, int width) {
    std::uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i) v = v << 8 | wav[at + static_cast<std::size_t>(i)];
    return v;
  };
  if (wav.size() < 12 || std::string(wav.begin(), wav.begin() + 4) != "RIFF" ||
      std::string(wav.begin() + 8, wav.begin() + 12) != "WAVE") {
    ADD_FAILURE() << "the player wrote no WAVE file";
    return audio;
  }
  int channels = 0, bits = 0;
  for (std::size_t at = 12; at + 8 <= wav.size();) {
    const std::string tag(wav.begin() + static_cast<long>(at), wav.begin() + static_cast<long>(at) + 4);
    const std::size_t size = std::min<std::size_t>(le(at + 4, 4), wav.size() - at - 8);
    if (tag == "fmt ") {
      channels = static_cast<int>(le(at + 10, 2));
      audio.rate = static_cast<int>(le(at + 12, 4));
      bits = static_cast<int>(le(at + 22, 2));
    } else if (tag == "data" && channels > 0 && bits == 16) {
      for (std::size_t i = 0; i + 2 * channels <= size; i += 2 * static_cast<std::size_t>(channels)) {
        double sum = 0;
        for (int c = 0; c < channels; ++c)
          sum += static_cast<std::int16_t>(le(at + 8 + i + 2 * static_cast<std::size_t>(c), 2)) / 32768.0;
        audio.samples.push_back(sum / channels);
      }
    }
    at += 8 + size + (size & 1);
  }
  if (audio.rate <= 0 || audio.samples.empty())
    ADD_FAILURE() << "no 16-bit samples in the WAVE file (" << channels << " channels, " << bits << " bits)";
  return audio;
}

TEST_P(Song, RendersToMusicOfTheRightLength) {
  ASSERT_TRUE(onPath("timidity"))
      << "TiMidity++ is not installed, so the songs cannot be rendered and heard; "
         "install the Debian package \"timidity\"";
  const fs::path song = songPath(GetParam());
  const MidiFile midi = parseMidi(readAll(song));
  ASSERT_FALSE(HasFailure());
  const double midiSeconds = songSeconds(midi);

  const fs::path wavPath = fs::path(::testing::TempDir()) / ("nokturna_song" + std::to_string(GetParam()) +
                                                             "_" + std::to_string(::getpid()) + ".wav");
  // Mono at 22 kHz renders a two-minute song in about a second. The player is pointed at the General MIDI
  // SoundFont the game itself installs, so the test does not depend on the set of patches the player
  // was configured with by default (that one may not be installed at all). It plays at half its default
  // amplification (70 %): there ordinary General MIDI music from other projects clips, and at 35 % it
  // peaks between 0.3 and 0.75, as songs arranged at an ordinary level should too.
  const std::string config = "/etc/timidity/timgm6mb.cfg";
  ASSERT_TRUE(fs::exists(config)) << "install the Debian package \"timgm6mb-soundfont\"";
  const std::string command = "timidity -c " + config + " -A35 -OwM -s 22050 -o '" + wavPath.string() +
                              "' '" + song.string() + "' >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  const Bytes wav = readAll(wavPath);
  fs::remove(wavPath);
  ASSERT_EQ(status, 0) << command;
  const Audio audio = readWave(wav);
  ASSERT_FALSE(HasFailure());

  const double seconds = static_cast<double>(audio.samples.size()) / audio.rate;
  EXPECT_GE(seconds, 60.0);
  EXPECT_LE(seconds, 180.0);
  // The player stops when the last notes have rung out, a little after the
  // music's own end.
  EXPECT_GE(seconds, midiSeconds - 1.0) << "the music was cut short";
  EXPECT_LE(seconds, midiSeconds + 5.0) << "the player went on long after the music";

  // Loud enough to hear, not clipping, and no long silences: look at the
  // peak of every tenth of a second between the first and the last sound.
  const std::size_t block = static_cast<std::size_t>(audio.rate) / 10;
  std::vector<double> peaks;
  for (std::size_t i = 0; i < audio.samples.size(); i += block) {
    double peak = 0;
    for (std::size_t j = i; j < std::min(i + block, audio.samples.size()); ++j)
      peak = std::max(peak, std::abs(audio.samples[j]));
    peaks.push_back(peak);
  }
  const double loudest = *std::max_element(peaks.begin(), peaks.end());
  EXPECT_GT(loudest, 0.2) << "the song is (nearly) silent";
  EXPECT_LT(loudest, 0.98) << "the song clips";
  constexpr double kAudible = 0.004;  // about -48 dB
  const auto first = std::find_if(peaks.begin(), peaks.end(), [](double p) { return p > kAudible; });
  const auto last = std::find_if(peaks.rbegin(), peaks.rend(), [](double p) { return p > kAudible; }).base();
  ASSERT_LT(first, last);
  int quiet = 0, longestQuiet = 0;
  for (auto it = first; it != last; ++it) {
    quiet = *it > kAudible ? 0 : quiet + 1;
    longestQuiet = std::max(longestQuiet, quiet);
  }
  EXPECT_LT(longestQuiet, 40) << "the song falls silent for " << longestQuiet / 10.0 << " s";
  EXPECT_GT(static_cast<double>(last - first) / 10.0, 0.9 * midiSeconds)
      << "sound stops long before the music ends";

  // As loud as ordinary music, played the same way: those files measure about -27 to -22 dBFS RMS here.
  const auto from = static_cast<std::size_t>(first - peaks.begin()) * block;
  const auto to = std::min(audio.samples.size(), static_cast<std::size_t>(last - peaks.begin()) * block);
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += audio.samples[i] * audio.samples[i];
  EXPECT_GT(10 * std::log10(sum / static_cast<double>(to - from)), -30.0)
      << "the song is arranged too softly";
}

INSTANTIATE_TEST_SUITE_P(SongAlbum, Song, ::testing::Values(1, 2, 3, 4),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "Music" + std::to_string(info.param);
                         });

}  // namespace
