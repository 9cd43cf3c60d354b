// SPDX-FileCopyrightText: 2026 The Nokturna team
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The game's sound through its sound program, the real one built beside the tests, on SDL's disk driver:
// what the game asks for is heard, a program that dies or hangs is replaced and the song picks up where
// it was heard, and leaving leaves nothing behind.
#include "audio/sound_process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "audio/game_sound.h"
#include "audio/program_folder.h"
#include "tests/audio/disk_device.h"
#include "tests/audio/midi_image.h"
#include "tests/audio/scoped_process_state.h"
#include "tests/audio/wait_until.h"

namespace nokturna {
namespace {

namespace fs = std::filesystem;

bool Gone(pid_t pid) { return kill(pid, 0) != 0 && errno == ESRCH; }

long SoundingSamples(const std::string& recording) {
  long sounding = 0;
  for (float sample : testing::ReadRecording(recording)) sounding += sample != 0.0f;
  return sounding;
}

// The program's reports go through the event loop of the test's application object.
class SoundProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/nokturna-program-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    recording_ = folder_ + "/device.raw";
    testing::UseDiskDevice(process_, recording_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  // True once `condition` holds, with the game's event loop running meanwhile.
  template <typename Condition>
  bool Pump(Condition condition) {
    return testing::WaitUntil([&] {
      QCoreApplication::processEvents();
      return condition();
    });
  }
  bool SoundFontThere() const { return fs::exists("/usr/share/sounds/sf2/TimGM6mb.sf2"); }

  int argc_ = 1;
  char name_[19] = "sound_process_test";
  char* argv_[2] = {name_, nullptr};
  QCoreApplication app_{argc_, argv_};
  testing::ScopedProcessState process_;
  std::string folder_;
  std::string recording_;
};

TEST_F(SoundProgramTest, AClipAskedForAsTheProgramStartsSoundsAndLeavingEndsTheProgram) {
  pid_t pid = 0;
  {
    GameSound sound(SongAlbum{});
    SoundProcess program(NOKTURNA_SOUND_PROGRAM);
    sound.connect(&program);
    // A line claimed in the first moment, before the window's first paint starts the program.
    sound.play(Clip::LineClaimed);  // 0.18 s: about 8,000 frames at the output's rate
    EXPECT_EQ(program.pid(), 0);
    program.start();
    pid = program.pid();
    ASSERT_NE(pid, 0);
    EXPECT_TRUE(Pump([&] { return SoundingSamples(recording_) > 2 * 6000; })) << "the clip was not heard";
    sound.connect(nullptr);
  }
  EXPECT_TRUE(Gone(pid)) << "the sound program outlived the game's sound";
}

// A song in a folder whose name has blanks at its ends and a byte that is no UTF-8: its path reaches the
// program as it is.
TEST_F(SoundProgramTest, ASongPicksUpWhereItWasHeardWhenItsProgramCrashesOrHangs) {
  if (!SoundFontThere()) GTEST_SKIP() << "no SoundFont";
  // The crash is the test's own: a sound program built with a sanitizer dies of it as any other does,
  // rather than reporting it.
  for (const char* sanitizer : {"ASAN_OPTIONS", "TSAN_OPTIONS"}) {
    const char* options = std::getenv(sanitizer);
    const std::string more = std::string(options != nullptr ? options : "") + ":handle_segv=0:handle_abort=0";
    process_.setEnv(sanitizer, more.c_str());
  }
  const fs::path album = fs::path(folder_) / " odd \xff name " / "SongAlbum";
  fs::create_directories(album);
  fs::copy_file(fs::path(NOKTURNA_SONG_ALBUM_DIR) / "Music1.mid", album / "Music1.mid");
  GameSound sound(LookForSongs(album.string() + "/"));
  ASSERT_TRUE(sound.album().hasFirstSong);
  SoundProcess program(NOKTURNA_SOUND_PROGRAM);
  std::int64_t heard = 0;
  pid_t reportedBy = 0;
  program.listen([&](const FromSound& report) {
    if (const auto* progress = std::get_if<ProgressReport>(&report);
        progress && progress->progress.choice == 1) {
      heard = progress->progress.heardTick;
      reportedBy = program.pid();
    }
  });
  program.start();
  sound.connect(&program);

  for (const int fault : {SIGSEGV, SIGABRT, SIGSTOP}) {
    SCOPED_TRACE(fault);
    const pid_t before = program.pid();
    ASSERT_TRUE(Pump([&] { return reportedBy == before && heard > 1000; })) << "the song was not heard";
    ASSERT_TRUE(Pump([&] { return SoundingSamples(recording_) > 0; }));
    const std::int64_t heardBefore = heard;
    kill(before, fault);
    ASSERT_TRUE(Pump([&] {
      return program.pid() != 0 && program.pid() != before && reportedBy == program.pid();
    })) << "no fresh program took over";
    EXPECT_TRUE(Pump([&] { return Gone(before); })) << "the old program was never ended and reaped";
    EXPECT_GE(heard, heardBefore) << "the song began again instead of picking up where it was heard";
    // The fresh program's device is a fresh recording, and the song sounds in it.
    EXPECT_TRUE(Pump([&] { return SoundingSamples(recording_) > 2 * 44100; }))
        << "the song did not sound again";
    EXPECT_GT(heard, heardBefore);
  }
  sound.connect(nullptr);
}

TEST_F(SoundProgramTest, ASongHeardToItsEndIsNotBegunAgainByAFreshProgram) {
  if (!SoundFontThere()) GTEST_SKIP() << "no SoundFont";
  const fs::path album = fs::path(folder_) / "SongAlbum";
  fs::create_directories(album);
  testing::MidiSong song;
  song.programs = {{0, 0}};
  song.notes = {{0, 60, 100, 0, 240}};  // a quarter of a second
  testing::WriteFile((album / "Music1.mid").string(), testing::MidiImage(song));
  GameSound sound(LookForSongs(album.string() + "/"));
  SoundProcess program(NOKTURNA_SOUND_PROGRAM);
  SongProgress last;
  int reports = 0;
  program.listen([&](const FromSound& report) {
    if (const auto* progress = std::get_if<ProgressReport>(&report)) {
      last = progress->progress;
      ++reports;
    }
  });
  program.start();
  sound.connect(&program);
  ASSERT_TRUE(Pump([&] { return last.choice == 1 && last.over; })) << "the song was never over";
  // Reports for longer than the least time between two starts: the next start comes at once.
  const int sinceStart =
      static_cast<int>(RestartPolicy::kLeastBetweenStarts / std::chrono::milliseconds(250)) + 1;
  ASSERT_TRUE(Pump([&] { return reports > sinceStart; }));
  const pid_t first = program.pid();
  kill(first, SIGKILL);
  ASSERT_TRUE(Pump([&] { return Gone(first); }));
  // Nothing wants to sound until the clip: only then does a fresh program start, and it is told the song
  // is over.
  last = {};
  sound.play(Clip::LineClaimed);
  ASSERT_TRUE(Pump([&] { return program.pid() != 0 && last.choice == 1; }));
  EXPECT_TRUE(last.over);
  // A second of reports later, the recording holds the clip and nothing more.
  const int seen = reports;
  ASSERT_TRUE(Pump([&] { return reports >= seen + 4; }));
  EXPECT_GT(SoundingSamples(recording_), 2 * 6000) << "the clip was not heard";
  EXPECT_LT(SoundingSamples(recording_), 2 * 9000) << "more than the clip sounded: the song began again";
  sound.connect(nullptr);
}

TEST_F(SoundProgramTest, LeavingEndsAProgramThatHangsAndLeavesNothingBehind) {
  pid_t pid = 0;
  {
    SoundProcess program(NOKTURNA_SOUND_PROGRAM);
    bool spoke = false;
    program.listen([&](const FromSound&) { spoke = true; });
    program.start();
    pid = program.pid();
    ASSERT_TRUE(Pump([&] { return spoke; }));
    kill(pid, SIGSTOP);
  }
  EXPECT_TRUE(Gone(pid));
}

TEST_F(SoundProgramTest, AMissingProgramLeavesTheGameSilentWithoutAWord) {
  ::testing::internal::CaptureStderr();
  {
    GameSound sound(SongAlbum{"/songs/", true, true});
    SoundProcess program(folder_ + "/nokturna-sound");
    program.start();
    sound.connect(&program);
    sound.play(Clip::About);
    sound.chooseSong(2);
    QCoreApplication::processEvents();
    EXPECT_EQ(program.pid(), 0);
    sound.connect(nullptr);
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(ProgramFolder, IsTheFolderOfTheProgramsFileWhateverBytesItsNameHolds) {
  char pattern[] = "/tmp/nokturna-folder-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  for (const std::string name : {" blank ends ", "not\xff\xfeutf8", "  "}) {
    SCOPED_TRACE(name);
    const fs::path folder = fs::path(pattern) / name;
    fs::create_directories(folder);
    fs::copy_file(NOKTURNA_PRINT_PROGRAM_FOLDER, folder / "print_program_folder");
    // Started through a link elsewhere, as the command in games/ starts the game.
    const fs::path link = fs::path(pattern) / "link";
    fs::remove(link);
    fs::create_symlink(folder / "print_program_folder", link);
    FILE* out = popen(("'" + link.string() + "'").c_str(), "r");
    ASSERT_NE(out, nullptr);
    std::string printed;
    for (int c; (c = std::fgetc(out)) != EOF;) printed.push_back(static_cast<char>(c));
    EXPECT_EQ(pclose(out), 0);
    EXPECT_EQ(printed, folder.string());
  }
  fs::remove_all(pattern);
  EXPECT_EQ(SoundProgramPath(), ProgramFolder() + "/nokturna-sound");
}

}  // namespace
}  // namespace nokturna
