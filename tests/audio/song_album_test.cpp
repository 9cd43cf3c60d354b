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
  EXPECT_EQ(SongFolderFor("  /opt/nokturna  "), "/opt/nokturna/SongAlbum/");
  EXPECT_EQ(SongFolderFor("/opt/my games/nokturna"), "/opt/my games/nokturna/SongAlbum/");
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
  SongSearch search() const { return FindSongs(program_.string()); }

  fs::path program_;
};

TEST_F(SongSearchTest, NoSongsMeansNoMusicAndNoSongAlbum) {
  // Missing folder first, then an empty one.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "no folder" : "empty folder");
    if (round == 1) makeAlbum();
    const SongSearch found = search();
    EXPECT_FALSE(found.musicOn);
    EXPECT_FALSE(musicOn);
    EXPECT_TRUE(found.disableSongAlbum);
  }
}

TEST_F(SongSearchTest, TheFirstSongFoundSwitchesMusicOn) {
  addFile("Music1.mid");
  const SongSearch found = search();
  EXPECT_TRUE(found.musicOn);
  EXPECT_TRUE(musicOn);
  EXPECT_FALSE(found.disableSongAlbum);
}

TEST_F(SongSearchTest, AMissingFirstSongDisablesTheSongAlbumEvenWhenALaterOneIsThere) {
  addFile("Music2.mid");
  const SongSearch found = search();
  EXPECT_TRUE(found.musicOn);
  EXPECT_TRUE(found.disableSongAlbum);

  addFile("Music4.mid");
  fs::remove(album() / "Music2.mid");
  EXPECT_TRUE(search().musicOn);
}

TEST_F(SongSearchTest, LetterCaseOfTheStoredNameMatters) {
  addFile("music1.mid");
  addFile("MUSIC2.MID");
  addFile("Music3.MID");
  const SongSearch found = search();
  EXPECT_FALSE(found.musicOn);
  EXPECT_TRUE(found.disableSongAlbum);
}

TEST_F(SongSearchTest, OnlyOrdinaryFilesCountAndTheirContentDoesNot) {
  fs::create_directories(album() / "Music1.mid");
  EXPECT_FALSE(search().musicOn) << "a folder was taken for a song";

  fs::remove(album() / "Music1.mid");
  addFile("Music1.mid", "");
  const SongSearch found = search();
  EXPECT_TRUE(found.musicOn) << "an empty song file still counts as present";
  EXPECT_FALSE(found.disableSongAlbum);
}

TEST_F(SongSearchTest, ALaterSearchForgetsWhatAnEarlierOneFound) {
  addFile("Music3.mid");
  ASSERT_TRUE(search().musicOn);
  fs::remove(album() / "Music3.mid");
  EXPECT_FALSE(search().musicOn);
  EXPECT_FALSE(musicOn);
}

TEST_F(SongSearchTest, AProgramFolderEndingInASeparatorGetsNoSecondOne) {
  addFile("Music1.mid");
  EXPECT_TRUE(FindSongs(program_.string() + "/").musicOn);
  EXPECT_EQ(songFolder, program_.string() + "/SongAlbum/");
}

}  // namespace
}  // namespace nokturna
