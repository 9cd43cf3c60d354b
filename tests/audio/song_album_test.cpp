// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Where the songs are looked for, and which files count as songs.
#include "audio/song_album.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

namespace nokturna {
namespace {

namespace fs = std::filesystem;

TEST(SongFolder, SitsInsideTheProgramFolderWithOneSeparatorBetween) {
  EXPECT_EQ(SongFolderFor("/opt/nokturna"), "/opt/nokturna/SongAlbum/");
  EXPECT_EQ(SongFolderFor("/opt/nokturna/"), "/opt/nokturna/SongAlbum/");
  EXPECT_EQ(SongFolderFor("/"), "/SongAlbum/");
  EXPECT_EQ(SongFolderFor("/opt/my games/nokturna"), "/opt/my games/nokturna/SongAlbum/");
  // A folder's name is what it is: blanks at its ends and bytes that are no UTF-8 are kept.
  EXPECT_EQ(SongFolderFor("/opt/ nokturna "), "/opt/ nokturna /SongAlbum/");
  EXPECT_EQ(SongFolderFor("/opt/nokturna\xff\xfe"), "/opt/nokturna\xff\xfe/SongAlbum/");
}

class SongSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> serial{0};
    program_ = fs::temp_directory_path() /
               ("nokturna-songs-" + std::to_string(getpid()) + "-" + std::to_string(serial++));
    fs::create_directories(program_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(program_, ignored);
  }

  fs::path album() const { return program_ / "SongAlbum"; }
  void makeAlbum() const { fs::create_directories(album()); }
  void addFile(const std::string& name, const std::string& content = "MThd") const {
    makeAlbum();
    std::ofstream(album() / name, std::ios::binary) << content;
  }
  SongAlbum search() const { return FindSongAlbum(program_.string()); }

  fs::path program_;
};

TEST_F(SongSearchTest, NoSongsMeansNoMusicAndNoSongAlbum) {
  // Missing folder first, then an empty one.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "no folder" : "empty folder");
    if (round == 1) makeAlbum();
    const SongAlbum found = search();
    EXPECT_FALSE(found.hasSongs);
    EXPECT_FALSE(found.hasFirstSong);
  }
}

TEST_F(SongSearchTest, TheFirstSongIsFoundWhereItsPathSays) {
  addFile("Music1.mid");
  const SongAlbum found = search();
  EXPECT_TRUE(found.hasSongs);
  EXPECT_TRUE(found.hasFirstSong);
  EXPECT_EQ(found.folder, program_.string() + "/SongAlbum/");
  EXPECT_EQ(found.songPath(1), (album() / "Music1.mid").string());
  EXPECT_EQ(found.songPath(4), (album() / "Music4.mid").string());
}

TEST_F(SongSearchTest, AMissingFirstSongCountsEvenWhenALaterOneIsThere) {
  addFile("Music2.mid");
  const SongAlbum found = search();
  EXPECT_TRUE(found.hasSongs);
  EXPECT_FALSE(found.hasFirstSong);

  addFile("Music4.mid");
  fs::remove(album() / "Music2.mid");
  EXPECT_TRUE(search().hasSongs);
}

TEST_F(SongSearchTest, LetterCaseOfTheStoredNameMatters) {
  addFile("music1.mid");
  addFile("MUSIC2.MID");
  addFile("Music3.MID");
  const SongAlbum found = search();
  EXPECT_FALSE(found.hasSongs);
  EXPECT_FALSE(found.hasFirstSong);
}

TEST_F(SongSearchTest, OnlyOrdinaryFilesCountAndTheirContentDoesNot) {
  fs::create_directories(album() / "Music1.mid");
  EXPECT_FALSE(search().hasSongs) << "a folder was taken for a song";

  fs::remove(album() / "Music1.mid");
  addFile("Music1.mid", "");
  const SongAlbum found = search();
  EXPECT_TRUE(found.hasSongs) << "an empty song file still counts as present";
  EXPECT_TRUE(found.hasFirstSong);
}

TEST_F(SongSearchTest, SongsAreFoundInAFolderWhateverBytesItsNameHolds) {
  for (const std::string name : {" nokturna ", "nok\xe9turna\xff", "  "}) {
    SCOPED_TRACE(name);
    const fs::path odd = program_ / name;
    fs::create_directories(odd / "SongAlbum");
    std::ofstream(odd / "SongAlbum" / "Music1.mid", std::ios::binary) << "MThd";
    const SongAlbum found = FindSongAlbum(odd.string());
    EXPECT_TRUE(found.hasFirstSong);
    EXPECT_EQ(found.songPath(1), odd.string() + "/SongAlbum/Music1.mid");
  }
}

TEST_F(SongSearchTest, AProgramFolderEndingInASeparatorGetsNoSecondOne) {
  addFile("Music1.mid");
  const SongAlbum found = FindSongAlbum(program_.string() + "/");
  EXPECT_TRUE(found.hasSongs);
  EXPECT_EQ(found.folder, program_.string() + "/SongAlbum/");
}

}  // namespace
}  // namespace nokturna
