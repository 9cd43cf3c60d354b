// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a player hears through the game's sound and the back end in its own process: which song sounds,
// from which file, at what level and from its beginning or not, and which clip sounds, told by the
// state of a fake music engine and the clips a recording player was given. What each menu choice makes
// heard is the audio menus' test (tests/ui/audio_menus_test.cpp); here, what no menu shows: a back end
// that comes late or anew, one that cannot start, the volume's arithmetic, the clips by name.
#include "audio/game_sound.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/in_process_back_end.h"
#include "tests/audio/fake_music_engine.h"
#include "tests/audio/recording_clip_player.h"

namespace nokturna {
namespace {

using namespace std::chrono_literals;

const SongAlbum kAlbum{"/songs/", true, true};
const std::string kSong1 = "/songs/Music1.mid";
const std::string kSong3 = "/songs/Music3.mid";

class GameSoundTest : public ::testing::Test {
 protected:
  GameSound make(const SongAlbum& album = kAlbum) {
    return GameSound(album, [this] { return now; });
  }

  testing::FakeMusicEngine music;
  testing::RecordingClipPlayer clips;
  InProcessBackEnd backEnd{clips, music};
  GameSound::Clock::time_point now{};
};

// ---------------------------------------------------------------------------------------------------
// Music

using GameMusic = GameSoundTest;

TEST_F(GameMusic, WithOnlyALaterSongTheMusicIsOnButTheMissingFirstSongSoundsNothing) {
  music.unloadable().insert(kSong1);
  GameSound sound = make({"/songs/", true, false});
  sound.connect(&backEnd);
  EXPECT_EQ(music.song(), "");
  EXPECT_TRUE(sound.musicOn());
  EXPECT_EQ(sound.currentSong(), 1);
}

TEST_F(GameMusic, ASongPlaysOnceAndBeingToldAgainNeverBeginsItAgain) {
  GameSound sound = make();
  sound.connect(&backEnd);
  music.endSong();
  sound.switchEffects(false);
  sound.switchMusic(true);
  sound.connect(&backEnd);
  EXPECT_EQ(music.song(), "");
  EXPECT_EQ(music.beginnings(), 1);
}

TEST_F(GameMusic, WhatIsWantedBeforeTheBackEndArrivesSoundsOnceItDoes) {
  GameSound sound = make();
  sound.chooseSong(3);
  EXPECT_EQ(music.song(), "");
  sound.connect(&backEnd);
  // The last choice begins, once; the first song is not heard on the way.
  EXPECT_EQ(music.song(), kSong3);
  EXPECT_EQ(music.level(), 570);
  EXPECT_EQ(music.beginnings(), 1);

  // A fresh back end, as after the first one went, comes to the same sound.
  sound.connect(nullptr);
  testing::FakeMusicEngine freshMusic;
  InProcessBackEnd fresh{clips, freshMusic};
  sound.connect(&fresh);
  EXPECT_EQ(freshMusic.song(), kSong3);
  EXPECT_EQ(freshMusic.level(), 570);

  // Music off before a back end arrives: nothing sounds when it does.
  sound.connect(nullptr);
  sound.switchMusic(false);
  testing::FakeMusicEngine quietMusic;
  InProcessBackEnd quiet{clips, quietMusic};
  sound.connect(&quiet);
  EXPECT_EQ(quietMusic.song(), "");
}

TEST_F(GameMusic, AnEngineThatCannotStartPlaysNothingAndTheGameGoesOn) {
  music.failStart();
  GameSound sound = make();
  sound.connect(&backEnd);
  sound.chooseSong(2);
  sound.switchMusic(false);
  sound.switchMusic(true);
  sound.chooseSong(2);
  EXPECT_EQ(music.song(), "");
  EXPECT_EQ(music.beginnings(), 0);
}

TEST(MusicVolume, IsTheSettingTimes42Minus3000In16Bits) {
  EXPECT_EQ(HundredthsOfADecibel(0), -3000);
  EXPECT_EQ(HundredthsOfADecibel(85), 570);
  EXPECT_EQ(HundredthsOfADecibel(780), 29760);
  EXPECT_EQ(HundredthsOfADecibel(-708), -32736);
  // 781 x 42 and -709 x 42 - 3000 leave 16 bits.
  EXPECT_EQ(HundredthsOfADecibel(781), std::nullopt);
  EXPECT_EQ(HundredthsOfADecibel(-709), std::nullopt);
  EXPECT_EQ(HundredthsOfADecibel(32767), std::nullopt);
}

TEST_F(GameMusic, TheEngineStartsAtMinus900AndASettingWithoutAVolumeLeavesItThere) {
  backEnd.bringTo({kSong1, 1, false, 781});
  EXPECT_EQ(music.song(), kSong1);
  EXPECT_EQ(music.level(), -900);
}

// ---------------------------------------------------------------------------------------------------
// Clips

// The clip files the program is built from, read straight from the source tree: 1.wav .. 4.wav.
std::vector<std::vector<std::uint8_t>> ClipFiles() {
  std::vector<std::vector<std::uint8_t>> files(kClipCount + 1);
  for (int id = 1; id <= kClipCount; ++id) {
    std::ifstream in(std::string(NOKTURNA_SOUNDS_DIR) + "/" + std::to_string(id) + ".wav", std::ios::binary);
    files[id].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return files;
}

using GameClips = GameSoundTest;

TEST_F(GameClips, EachClipSoundsItsOwnBuiltInFileByteForByte) {
  const std::vector<std::vector<std::uint8_t>> files = ClipFiles();
  // The player may still read the sounding clip's bytes when the next one starts.
  std::vector<std::vector<std::uint8_t>> soundingAtNextPlay;
  clips.onPlay = [&] {
    if (clips.plays.size() < 2) return;
    const auto& sounding = clips.plays[clips.plays.size() - 2];
    soundingAtNextPlay.emplace_back(sounding.image, sounding.image + sounding.bytes.size());
  };
  GameSound sound = make();
  sound.connect(&backEnd);
  for (Clip clip : {Clip::LineClaimed, Clip::GameOver, Clip::HowToPlay, Clip::About, Clip::LineClaimed}) {
    sound.play(clip);
  }
  std::vector<int> heard;
  for (const auto& played : clips.plays) heard.push_back(clips.idOf(played, files));
  EXPECT_EQ(heard, (std::vector<int>{1, 2, 3, 4, 1}));
  ASSERT_EQ(soundingAtNextPlay.size(), 4u);
  EXPECT_EQ(soundingAtNextPlay[0], files[1]);
  EXPECT_EQ(soundingAtNextPlay[3], files[4]);
}

TEST_F(GameClips, AClipAskedForBeforeTheBackEndSoundsIfItArrivesWithinHalfASecond) {
  const std::vector<std::vector<std::uint8_t>> files = ClipFiles();
  GameSound sound = make();
  sound.play(Clip::HowToPlay);
  sound.play(Clip::About);  // would have cut the one before off: only this one sounds
  now += 500ms;
  sound.connect(&backEnd);
  ASSERT_EQ(clips.plays.size(), 1u);
  EXPECT_EQ(clips.idOf(clips.plays[0], files), 4);

  // Later than that it belongs to no moment any more; so also once a back end has gone.
  sound.connect(nullptr);
  sound.play(Clip::LineClaimed);
  now += 501ms;
  sound.connect(&backEnd);
  EXPECT_EQ(clips.plays.size(), 1u);
  sound.connect(&backEnd);
  EXPECT_EQ(clips.plays.size(), 1u) << "a clip dropped once came back";
}

}  // namespace
}  // namespace nokturna
