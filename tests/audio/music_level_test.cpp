// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The music's calibrated level: an ordinary General MIDI arrangement, played the way the game plays a song
// at its start-up volume, sounds at about -20 dBFS RMS, where ordinary music from elsewhere sounds too.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/audio/game_music.h"
#include "tests/audio/heard_music.h"
#include "tests/audio/midi_image.h"
#include "tests/audio/wait_until.h"

namespace nokturna {
namespace {

namespace fs = std::filesystem;
using testing::MidiNote;
using testing::MidiSong;

using testing::kPeriod;
using testing::kRate;

// Eight bars of a pop tune at 120 beats a minute (16 s): an alto sax over string chords, a finger bass
// and a plain rock beat, at the velocities of ordinary MIDI files (about 100 on average in those the
// level was calibrated against) and the channels' default volumes.
MidiSong OrdinaryArrangement() {
  MidiSong song;
  song.programs = {{0, 65}, {1, 48}, {2, 33}};
  const int roots[] = {48, 45, 41, 43};  // C, A minor, F, G
  const int thirds[] = {4, 3, 4, 4};
  const int tune[] = {76, 74, 72, 74, 76, 76, 76, 79, 72, 71, 69, 71, 72, 72, 74, 71};
  for (int bar = 0; bar < 8; ++bar) {
    const std::int64_t barTick = 1920 * bar;
    const int root = roots[bar % 4];
    for (int key : {root + 12, root + 12 + thirds[bar % 4], root + 19}) {
      song.notes.push_back(MidiNote{1, key, 90, barTick, 1920});
    }
    for (int beat = 0; beat < 4; ++beat) {
      const std::int64_t beatTick = barTick + 480 * beat;
      song.notes.push_back({2, root - 12 + (beat == 2 ? 7 : 0), 100, beatTick, 440});
      song.notes.push_back({9, beat % 2 ? 38 : 36, 100, beatTick, 240});
      song.notes.push_back({9, 42, 90, beatTick, 120});
      song.notes.push_back({9, 42, 80, beatTick + 240, 120});
      song.notes.push_back({0, tune[(4 * bar + beat) % 16], 105, beatTick, 440});
    }
  }
  return song;
}

TEST(MusicLevel, OrdinaryMusicPlaysAtAboutMinusTwentyDecibelsAtTheStartUpVolume) {
  const std::string font = "/usr/share/sounds/sf2/TimGM6mb.sf2";
  if (!fs::exists(font)) GTEST_SKIP() << "the small General MIDI SoundFont is not installed";
  char pattern[] = "/tmp/nokturna-level-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string folder = pattern;
  testing::WriteFile(folder + "/Music1.mid", testing::MidiImage(OrdinaryArrangement()));

  testing::HeardMusic heard({font});
  testing::GameMusic game(heard.engine, folder + "/");  // the first song, at +570 as the game starts
  ASSERT_TRUE(testing::WaitUntil([&] { return heard.mixer.sounding(); })) << "the song never started";
  const std::vector<float> music = heard.render(kPeriod * (16 * kRate / kPeriod));  // 16 s in whole periods
  fs::remove_all(folder);

  double sum = 0;
  for (float s : music) sum += double{s} * s;
  const double rmsDb = 10 * std::log10(sum / static_cast<double>(music.size()));
  EXPECT_NEAR(rmsDb, -20.0, 3.0);
}

}  // namespace
}  // namespace nokturna
