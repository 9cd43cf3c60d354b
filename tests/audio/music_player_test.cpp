// The music module's calls into the engine, in the orders its callers use, with a recording engine.
#include "audio/music_player.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "audio/song_album.h"
#include "tests/audio/recording_music_engine.h"

namespace nokturna {
namespace {

using Calls = std::vector<std::string>;

const std::string kSong1 = "/songs/Music1.mid";
const std::string kSong2 = "/songs/Music2.mid";
const std::string kSong3 = "/songs/Music3.mid";

class MusicPlayer : public ::testing::Test {
 protected:
  void SetUp() override {
    songFolder = "/songs/";
    for (int i = 1; i <= 4; ++i) songFile[i] = "Music" + std::to_string(i) + ".mid";
    SetMusicEngine(&engine);
  }
  void TearDown() override { SetMusicEngine(nullptr); }

  Calls take() { return std::exchange(engine.calls(), {}); }

  // The main window's load step with song 1 found.
  void loadWindow() {
    InitMusic();
    LoadSong(1);
    SetMusicVolume(85);
    PlaySong();
  }

  void chooseSong(std::uint8_t n) {
    StopSong();
    LoadSong(n);
    InitMusic();
    SetMusicVolume(85);
    PlaySong();
  }

  testing::RecordingMusicEngine engine;
};

TEST_F(MusicPlayer, LoadingTheWindowPlaysSongOneAtMinus900ThenPlus570) {
  loadWindow();
  EXPECT_EQ(take(), (Calls{"Start", "SetVolume(-900)", "Stop", "Load(" + kSong1 + ")", "SetVolume(570)",
                           "Play(" + kSong1 + ")"}));
  EXPECT_TRUE(MusicReady());
  EXPECT_TRUE(engine.sounding(kSong1));
}

TEST_F(MusicPlayer, EverySongChoiceStopsLoadsRestartsTheEngineAndPlaysFromTheStart) {
  loadWindow();
  take();
  chooseSong(3);
  EXPECT_EQ(take(), (Calls{"Stop", "Stop", "Load(" + kSong3 + ")", "Start", "SetVolume(-900)",
                           "SetVolume(570)", "Play(" + kSong3 + ")"}));
  // The song that sounds, chosen again, is stopped and played from its beginning, not left running.
  chooseSong(3);
  const Calls again = take();
  EXPECT_EQ(again.front(), "Stop");
  EXPECT_EQ(again.back(), "Play(" + kSong3 + ")");
}

TEST_F(MusicPlayer, MusicOffStopsTheSongAndUnloadStopsItForGood) {
  loadWindow();
  take();
  StopSong();
  EXPECT_EQ(take(), Calls{"Stop"});
  EXPECT_FALSE(engine.sounding(kSong1));

  chooseSong(1);
  take();
  ASSERT_TRUE(engine.sounding(kSong1));
  ShutDownMusic();
  EXPECT_EQ(take(), Calls{"Stop"});
  EXPECT_FALSE(engine.sounding(kSong1));
  EXPECT_FALSE(MusicReady());
  LoadSong(2);
  PlaySong();
  StopSong();
  SetMusicVolume(85);
  EXPECT_EQ(take(), Calls{});
}

TEST_F(MusicPlayer, AFailedLoadKeepsTheSongLoadedBeforeAndAChoicePlaysItFromItsStart) {
  loadWindow();
  take();
  engine.unloadable().insert(kSong2);
  chooseSong(2);
  EXPECT_EQ(take().back(), "Play(" + kSong1 + ")");
  EXPECT_TRUE(engine.sounding(kSong1));

  // A load that fails still ends the song that sounds.
  LoadSong(2);
  EXPECT_FALSE(engine.sounding(kSong1));
}

TEST_F(MusicPlayer, PlaySongLeavesASoundingSongAloneAndRestartsAnEndedOne) {
  loadWindow();
  take();
  PlaySong();
  EXPECT_EQ(take(), Calls{});
  engine.endSong();
  PlaySong();
  EXPECT_EQ(take(), Calls{"Play(" + kSong1 + ")"});
}

TEST_F(MusicPlayer, NothingHappensUntilTheEngineIsReady) {
  LoadSong(1);
  PlaySong();
  StopSong();
  SetMusicVolume(85);
  ShutDownMusic();
  EXPECT_EQ(take(), Calls{});
  EXPECT_FALSE(MusicReady());

  engine.failStart();
  loadWindow();
  EXPECT_FALSE(MusicReady());
  EXPECT_EQ(take(), Calls{"Start"});

  SetMusicEngine(nullptr);
  InitMusic();
  EXPECT_FALSE(MusicReady());
}

TEST_F(MusicPlayer, AFirstSongChoiceWithTheEngineNeverStartedPlaysNothingAndASecondPlays) {
  // The choice loads before it starts the engine, so its load and its play find nothing to work with.
  chooseSong(2);
  EXPECT_EQ(take(), (Calls{"Start", "SetVolume(-900)", "SetVolume(570)"}));
  chooseSong(2);
  EXPECT_EQ(take().back(), "Play(" + kSong2 + ")");
}

TEST_F(MusicPlayer, WhatIsAskedForWhileTheEngineIsOnItsWayPlaysOutInOrderOnceItComes) {
  AwaitMusicEngine();
  loadWindow();
  // The window starts the engine for a song choice only when it is not ready: it must not be done twice.
  ASSERT_TRUE(MusicReady());
  chooseSong(3);
  StopSong();
  PlaySong();
  EXPECT_EQ(take(), Calls{}) << "the engine that was installed before is let go";

  SetMusicEngine(&engine);
  EXPECT_EQ(take(),
            (Calls{"Start", "SetVolume(-900)", "Stop", "Load(" + kSong1 + ")", "SetVolume(570)",
                   "Play(" + kSong1 + ")", "Stop", "Stop", "Load(" + kSong3 + ")", "Start", "SetVolume(-900)",
                   "SetVolume(570)", "Play(" + kSong3 + ")", "Stop", "Play(" + kSong3 + ")"}));
  EXPECT_TRUE(engine.sounding(kSong3));
  EXPECT_TRUE(MusicReady());
}

TEST_F(MusicPlayer, WhatIsKeptIsDroppedWhenNoEngineComesOrItCannotStart) {
  AwaitMusicEngine();
  loadWindow();
  SetMusicEngine(nullptr);
  EXPECT_FALSE(MusicReady());
  SetMusicEngine(&engine);
  EXPECT_EQ(take(), Calls{});

  AwaitMusicEngine();
  loadWindow();
  engine.failStart();
  SetMusicEngine(&engine);
  EXPECT_EQ(take(), Calls{"Start"});
  EXPECT_FALSE(MusicReady());
}

TEST_F(MusicPlayer, VolumeIsSettingTimes42Minus3000In16Bits) {
  InitMusic();
  take();
  for (const std::int16_t setting : {0, 85, 780, -708, 781, -709, 32767}) SetMusicVolume(setting);
  // 781 x 42 and -709 x 42 - 3000 leave 16 bits; such settings change nothing.
  EXPECT_EQ(take(), (Calls{"SetVolume(-3000)", "SetVolume(570)", "SetVolume(29760)", "SetVolume(-32736)"}));
}

}  // namespace
}  // namespace nokturna
