// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The real music engine, heard offline through its mixer (no sound device needed), on its own and under
// the game's sound, which drives it through its port as the game does. Songs are small MIDI files the
// tests write themselves.
#include "audio/fluid_music_engine.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "audio/offline_mixer.h"
#include "tests/audio/game_music.h"
#include "tests/audio/heard_music.h"
#include "tests/audio/midi_image.h"
#include "tests/audio/process_threads.h"
#include "tests/audio/scoped_process_state.h"
#include "tests/audio/wait_until.h"
#include "tests/audio/wav_image.h"

namespace nokturna {
namespace {

namespace fs = std::filesystem;
using testing::Difference;
using testing::GameMusic;
using testing::HeardMusic;
using testing::kPeriod;
using testing::kRate;
using testing::kSameMusic;
using testing::LoudArrangement;
using testing::MidiImage;
using testing::Peak;
using testing::PianoPhrase;
using testing::Rms;
using testing::TestSoundFont;
using testing::ThreadsNamed;
using testing::WaitUntil;
using testing::WriteFile;

class SongFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(TestSoundFont())) GTEST_SKIP() << "no General MIDI SoundFont installed";
    char pattern[] = "/tmp/nokturna-music-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    if (!folder_.empty()) fs::remove_all(folder_);
  }

  std::string song(int n) const { return folder_ + "/Music" + std::to_string(n) + ".mid"; }

  std::string folder_;
};

// ---------------------------------------------------------------------------------------------------
// Playing

using MusicPlaying = SongFolder;

TEST_F(MusicPlaying, ASongSoundsOnceAndIsOverWhenItsLastNoteEnds) {
  HeardMusic music;
  FluidMusicEngine& engine = music.engine;
  WriteFile(song(1), MidiImage(PianoPhrase()));  // two seconds
  EXPECT_FALSE(engine.Play()) << "nothing loaded yet";
  ASSERT_TRUE(engine.Start());
  ASSERT_TRUE(engine.Load(song(1)));
  ASSERT_TRUE(engine.Play());
  EXPECT_TRUE(engine.IsPlaying());  // also while the font still loads

  const std::vector<float> first = music.fromFirstSound(kRate);
  ASSERT_FALSE(first.empty());
  EXPECT_GT(Rms(first), 1e-3);
  EXPECT_TRUE(engine.IsPlaying());
  EXPECT_TRUE(music.mixer.sounding());

  long frames = kRate;
  while (engine.IsPlaying() && frames < 10 * kRate) {
    music.render(kPeriod);
    frames += kPeriod;
  }
  EXPECT_NEAR(frames / double{kRate}, 2.0, 0.1);
  // The last notes fade out; then nothing more, not even when the player calls itself done.
  music.render(kRate);
  EXPECT_LT(Peak(music.render(4 * kRate)), 1e-5);
  EXPECT_FALSE(engine.IsPlaying());
  // Once the reverb has died away the synthesizer is no longer run: the output may rest.
  for (frames = 0; music.mixer.sounding() && frames < 10 * kRate; frames += kPeriod) music.render(kPeriod);
  EXPECT_FALSE(music.mixer.sounding());
}

TEST_F(MusicPlaying, StopSilencesTheSongAtOnce) {
  HeardMusic music;
  WriteFile(song(1), MidiImage(LoudArrangement()));
  GameMusic game(music.engine, folder_ + "/");
  ASSERT_GT(Rms(music.fromFirstSound(kRate / 2)), 1e-3);
  music.engine.Stop();
  EXPECT_FALSE(music.mixer.sounding()) << "a stopped song leaves nothing ringing";
  EXPECT_LT(Peak(music.render(10 * kPeriod)), 1e-6) << "what was rendered ahead is not heard";
  // Music on again plays nothing by itself.
  EXPECT_LT(Peak(music.render(kRate)), 1e-6);
}

TEST_F(MusicPlaying, ChoosingASongRestartsItFromTheVeryBeginning) {
  HeardMusic music;
  WriteFile(song(1), MidiImage(PianoPhrase()));
  GameMusic game(music.engine, folder_ + "/");
  const std::vector<float> first = music.fromFirstSound(8192);
  ASSERT_FALSE(first.empty());
  music.render(40 * kPeriod);  // whole periods, as the device asks for them
  game.sound().chooseSong(1);
  EXPECT_LT(Difference(music.render(8192), first), kSameMusic);
}

TEST_F(MusicPlaying, ASongWithInstrumentsTheLastOneLackedSoundsAsItDoesAlone) {
  // The synthesizer holds only the presets of the songs played so far: the second song's strings and bass
  // are read as it starts. Without them it would play them on the piano.
  WriteFile(song(1), MidiImage(PianoPhrase()));
  WriteFile(song(2), MidiImage(LoudArrangement()));
  HeardMusic alone;
  ASSERT_TRUE(alone.engine.Start() && alone.engine.Load(song(2)) && alone.engine.Play());
  const std::vector<float> reference = alone.fromFirstSound(kRate);
  ASSERT_FALSE(reference.empty());

  HeardMusic music;
  ASSERT_TRUE(music.engine.Start() && music.engine.Load(song(1)) && music.engine.Play());
  ASSERT_FALSE(music.fromFirstSound(kPeriod).empty());
  ASSERT_TRUE(music.engine.Load(song(2)) && music.engine.Play());
  EXPECT_LT(Difference(music.render(kRate), reference), kSameMusic);
}

TEST_F(MusicPlaying, VolumeFollowsHundredthsOfADecibelAndLoudSongsKeepHeadroom) {
  HeardMusic music;
  WriteFile(song(1), MidiImage(LoudArrangement()));
  ASSERT_TRUE(music.engine.Start() && music.engine.Load(song(1)));
  music.engine.SetVolume(-900);
  ASSERT_TRUE(music.engine.Play());
  const std::vector<float> quiet = music.fromFirstSound(kRate);
  ASSERT_FALSE(quiet.empty());
  GameMusic game(music.engine, folder_ + "/");  // the game starts: +570
  const std::vector<float> loud = music.render(8 * kRate);
  const double gain = 20 * std::log10(Rms(loud, 0, 2 * kRate) / Rms(quiet));
  EXPECT_NEAR(gain, 14.7, 0.5);
  EXPECT_LT(Peak(loud), 0.9);  // below full scale with room to spare, not clipped by the output
}

TEST_F(MusicPlaying, TheGamesOwnSongsSoundWhenTheyAreThere) {
  int found = 0;
  for (int n = 1; n <= 4; ++n) {
    const std::string path = std::string(NOKTURNA_SONG_ALBUM_DIR) + "/Music" + std::to_string(n) + ".mid";
    if (!fs::exists(path)) continue;
    SCOPED_TRACE(path);
    ++found;
    fs::copy_file(path, song(1), fs::copy_options::overwrite_existing);
    HeardMusic music;
    GameMusic game(music.engine, folder_ + "/");
    ASSERT_TRUE(music.engine.IsPlaying());
    const std::vector<float> heard = music.fromFirstSound(20 * kRate);
    ASSERT_FALSE(heard.empty());
    EXPECT_LT(Peak(heard), 1.0);
  }
  if (found == 0) GTEST_SKIP() << "the song album is not there yet";
}

// ---------------------------------------------------------------------------------------------------
// Before the SoundFont is in, and shutting down

using MusicLifecycle = SongFolder;

TEST_F(MusicLifecycle, ASongAskedForBeforeTheFontIsInStartsFromItsBeginningOnceItIs) {
  WriteFile(song(1), MidiImage(PianoPhrase()));
  std::vector<float> early;
  {
    HeardMusic music;
    GameMusic game(music.engine, folder_ + "/");  // at once: the font is still on its way
    early = music.fromFirstSound(8192);
  }
  HeardMusic music;
  GameMusic game(music.engine, folder_ + "/");
  ASSERT_FALSE(music.fromFirstSound(kPeriod).empty());
  game.sound().chooseSong(1);
  const std::vector<float> reference = music.render(8192);
  ASSERT_EQ(early.size(), reference.size());
  EXPECT_LT(Difference(early, reference), kSameMusic);
}

TEST_F(MusicLifecycle, ShuttingDownWaitsNeitherForTheFontNorForTheSong) {
  WriteFile(song(1), MidiImage(PianoPhrase()));
  // The engine checks the font file on the calling thread, then its loading thread opens it again. A
  // write lease taken in between holds that second open up until the test lets the lease go (the kernel
  // gives way by itself only after /proc/sys/fs/lease-break-time, 45 s by default): a load that cannot
  // finish. The kernel tells the lease holder of an open held up by SIGIO.
  const std::string font = folder_ + "/held.sf2";
  fs::copy_file(TestSoundFont(), font);
  testing::ScopedProcessState process;
  process.ignoreSignal(SIGIO);
  bool held = false;
  // The loading thread may open the font before the lease is in place; it then loads as usual, and the
  // engine is made again.
  for (int attempt = 0; attempt < 20 && !held; ++attempt) {
    auto music = std::make_unique<HeardMusic>(std::vector<std::string>{font});
    ASSERT_TRUE(music->engine.Start());
    const int lease = open(font.c_str(), O_RDONLY);
    ASSERT_GE(lease, 0);
    const bool leased = fcntl(lease, F_SETLEASE, F_WRLCK) == 0;
    ASSERT_TRUE(leased || errno == EAGAIN) << "no lease on " << font << ": " << std::strerror(errno);
    if (leased) {
      // A write lease that an open ran into reads as the read lease it is asked to become. The loader
      // is gone once the font is in.
      EXPECT_TRUE(WaitUntil(
          [&] { return fcntl(lease, F_GETLEASE) == F_RDLCK || ThreadsNamed("nokturna font") == 0; }));
      held = fcntl(lease, F_GETLEASE) == F_RDLCK;
    }
    if (held) {
      GameMusic game(music->engine, folder_ + "/");  // the song the game asks for waits for the font
    }
    music.reset();
    EXPECT_EQ(ThreadsNamed("nokturna"), 0) << "a thread of the engine outlived it";
    if (held) {
      EXPECT_EQ(fcntl(lease, F_GETLEASE), F_RDLCK) << "the lease went: the load was not held to the end";
    }
    close(lease);
  }
  ASSERT_TRUE(held) << "the loading thread always opened the font before the lease was in place";

  // Rendered offline, a song moves on only as the test renders it: a shutdown that waited for its end
  // would never return.
  HeardMusic music;
  GameMusic game(music.engine, folder_ + "/");
  ASSERT_FALSE(music.fromFirstSound(kPeriod).empty());
  music.engine.Stop();
  EXPECT_LT(Peak(music.render(kRate)), 1e-6);
}

// ---------------------------------------------------------------------------------------------------
// Bad input: no crash, no message, and the game plays on

using MusicBadInput = SongFolder;

TEST_F(MusicBadInput, UnloadableSongFilesLoadNothingAndTheOldSongPlaysAgain) {
  HeardMusic music;
  FluidMusicEngine& engine = music.engine;
  const std::vector<std::uint8_t> good = MidiImage(PianoPhrase());
  const std::string sub = folder_ + "/sub/";

  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(engine.Load(folder_ + "/missing/Music1.mid")) << "missing folder";
  fs::create_directory(sub);
  EXPECT_FALSE(engine.Load(sub + "Music1.mid")) << "empty folder";
  WriteFile(sub + "Music1.mid", {});
  EXPECT_FALSE(engine.Load(sub + "Music1.mid")) << "zero bytes";
  WriteFile(sub + "Music1.mid", std::vector<std::uint8_t>(good.begin(), good.end() - 5));
  EXPECT_FALSE(engine.Load(sub + "Music1.mid")) << "truncated";
  WriteFile(sub + "Music2.mid", testing::SteadyClip8(22050, 2000, 0xC0));
  EXPECT_FALSE(engine.Load(sub + "Music2.mid")) << "a WAV file";
  fs::create_directory(sub + "Music3.mid");
  EXPECT_FALSE(engine.Load(sub + "Music3.mid")) << "a folder";
  fs::remove(sub + "Music1.mid");
  WriteFile(sub + "music1.mid", good);
  EXPECT_FALSE(engine.Load(sub + "Music1.mid")) << "wrong letter case";
  // A good song followed by nothing but zeros up to 8 MB still loads; one byte more and it is taken for
  // a damaged file.
  WriteFile(sub + "long.mid", good);
  fs::resize_file(sub + "long.mid", 8 << 20);
  EXPECT_TRUE(engine.Load(sub + "long.mid")) << "8 MB";
  fs::resize_file(sub + "long.mid", (8 << 20) + 1);
  EXPECT_FALSE(engine.Load(sub + "long.mid")) << "over 8 MB";

  // Song 4 plays; choosing the broken songs 1 to 3 plays song 4 again from its start.
  WriteFile(sub + "Music4.mid", good);
  GameMusic game(engine, sub);
  game.sound().chooseSong(4);
  const std::vector<float> first = music.fromFirstSound(8192);
  ASSERT_FALSE(first.empty());
  for (int n : {1, 2, 3}) {
    game.sound().chooseSong(n);
    EXPECT_LT(Difference(music.render(8192), first), kSameMusic) << "song " << n;
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(MusicBadInput, AnUnreadableSongFileLoadsNothing) {
  // Root reads every file, so the loads run in a child that first becomes nobody and reports by its exit
  // status. A readable twin beside the file shows that the child can load a song at all.
  const std::string readable = song(1), unreadable = song(2);
  WriteFile(readable, MidiImage(PianoPhrase()));
  WriteFile(unreadable, MidiImage(PianoPhrase()));
  ASSERT_EQ(chmod(unreadable.c_str(), 0), 0);
  ASSERT_EQ(chmod(readable.c_str(), 0644), 0);
  ASSERT_EQ(chmod(folder_.c_str(), 0711), 0);  // the child may reach the files
  const char* const outcomes[] = {"as expected", "the child could not become nobody",
                                  "the child can still read the unreadable file",
                                  "the readable twin did not load", "the unreadable file loaded"};
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
                           setresuid(kNobody, kNobody, kNobody) != 0)) {
      _exit(1);
    }
    if (access(unreadable.c_str(), R_OK) == 0) _exit(2);
    OfflineMixer mixer;
    FluidMusicEngine engine(mixer, {TestSoundFont()});
    if (!engine.Load(readable)) _exit(3);
    _exit(engine.Load(unreadable) ? 4 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the child did not finish";
  ASSERT_LT(WEXITSTATUS(status), 5);
  EXPECT_EQ(WEXITSTATUS(status), 0) << outcomes[WEXITSTATUS(status)];
}

// SoundFonts that are there but do not load: empty, cut short, and damaged after a good header.
std::vector<std::string> WriteBadFonts(const std::string& folder) {
  const std::vector<std::string> fonts{folder + "/empty.sf2", folder + "/cut.sf2", folder + "/damaged.sf2"};
  WriteFile(fonts[0], {});
  fs::copy_file(TestSoundFont(), fonts[1]);
  fs::resize_file(fonts[1], fs::file_size(fonts[1]) / 2);
  std::vector<std::uint8_t> damaged{'R', 'I', 'F', 'F', 0, 1, 0, 0, 's', 'f', 'b', 'k'};
  damaged.resize(256, 0x5A);
  WriteFile(fonts[2], damaged);
  return fonts;
}

TEST_F(MusicBadInput, AFontThatCannotBeCutIsReadWholeAndSoundsTheSame) {
  // A chunk of its own after the preset data: FluidSynth reads past it, the cutting does not.
  const std::string font = folder_ + "/extra-chunk.sf2";
  fs::copy_file(TestSoundFont(), font);
  std::ofstream(font, std::ios::binary | std::ios::app).write("junk\4\0\0\0abcd", 12);
  const auto riffSize = static_cast<std::uint32_t>(fs::file_size(font) - 8);
  std::fstream riff(font, std::ios::binary | std::ios::in | std::ios::out);
  riff.seekp(4);
  for (int i = 0; i < 4; ++i) riff.put(static_cast<char>(riffSize >> (8 * i)));
  riff.close();

  WriteFile(song(1), MidiImage(LoudArrangement()));
  std::vector<float> rendered[2];
  for (int whole = 0; whole < 2; ++whole) {
    HeardMusic music({whole ? font : TestSoundFont()});
    ASSERT_TRUE(music.engine.Start() && music.engine.Load(song(1)) && music.engine.Play());
    rendered[whole] = music.fromFirstSound(kRate);
    ASSERT_FALSE(rendered[whole].empty()) << (whole ? "the font with the extra chunk" : "the font");
  }
  EXPECT_TRUE(rendered[1] == rendered[0]) << "the whole font sounds otherwise than the presets cut from it";
}

TEST_F(MusicBadInput, NoSoundFontOrOnlyBrokenOnesLeaveTheMusicOffWithoutAWord) {
  WriteFile(song(1), MidiImage(PianoPhrase()));
  const std::vector<std::string> bad = WriteBadFonts(folder_);

  ::testing::internal::CaptureStderr();
  {
    HeardMusic music({folder_ + "/none.sf2"});
    EXPECT_FALSE(music.engine.Start());
    GameMusic game(music.engine, folder_ + "/");
    EXPECT_FALSE(music.engine.IsPlaying());
    EXPECT_LT(Peak(music.render(kRate / 4)), 1e-9);
  }
  {
    // Two of the headers pass, but every load fails on the font's thread: silence, and the next start
    // gives up.
    HeardMusic music(bad);
    GameMusic game(music.engine, folder_ + "/");
    EXPECT_TRUE(WaitUntil([&] { return !music.engine.Start(); }));
    EXPECT_FALSE(music.engine.IsPlaying()) << "the song that waited for a font is given up";
    EXPECT_LT(Peak(music.render(kRate / 4)), 1e-9);
    game.sound().chooseSong(1);
    EXPECT_FALSE(music.engine.IsPlaying());
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(MusicBadInput, AFontThatIsThereButDoesNotLoadGivesWayToTheNext) {
  WriteFile(song(1), MidiImage(PianoPhrase()));
  ::testing::internal::CaptureStderr();
  for (const std::string& bad : WriteBadFonts(folder_)) {
    SCOPED_TRACE(bad);
    HeardMusic music({bad, TestSoundFont()});
    GameMusic game(music.engine, folder_ + "/");
    ASSERT_TRUE(music.engine.IsPlaying());
    EXPECT_FALSE(music.fromFirstSound(kPeriod).empty()) << "no song from the next font";
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace nokturna
