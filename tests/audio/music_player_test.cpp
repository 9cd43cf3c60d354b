// The music module's calls into the engine, in the orders its callers use, with a recording engine.
#include "audio/music_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "audio/song_album.h"
#include "tests/audio/recording_music_engine.h"

namespace nokturna {
namespace {

using Calls = std::vector<std::string>;

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

TEST_F(MusicPlayer, LoadingTheWindowStartsSongOneAtMinus900ThenPlus570) {
  loadWindow();
  EXPECT_EQ(take(), (Calls{
                        "CreateRoot -> root#1",
                        "root#1.CreateLoader -> loader#2",
                        "root#1.CreatePerformance -> performance#3",
                        "performance#3.Init",
                        "performance#3.SetPort(-1,80)",
                        "performance#3.SetMasterAutoDownload(true)",
                        "performance#3.SetMasterVolume(-900)",
                        "release loader#2",
                        "root#1.CreateLoader -> loader#4",
                        "loader#4.LoadSegment(/songs/Music1.mid)",
                        "loader#4.SetSearchDirectory(/songs/)",
                        "segment#5.SetStandardMidiFile",
                        "performance#3.SetMasterVolume(570)",
                        "performance#3.IsPlaying(segment#5,none)",
                        "segment#5.SetStartPoint(0)",
                        "performance#3.PlaySegment(segment#5,0,0) -> state#6",
                    }));
  EXPECT_TRUE(MusicReady());
}

TEST_F(MusicPlayer, ChoosingASongStopsReloadsReinitialisesAndPlaysFromTheStart) {
  loadWindow();
  take();
  chooseSong(3);
  EXPECT_EQ(take(), (Calls{
                        "performance#3.Stop(segment#5,state#6,0,0)",
                        "performance#3.IsPlaying(segment#5,state#6)",
                        "release loader#4",
                        "root#1.CreateLoader -> loader#7",
                        "loader#7.LoadSegment(/songs/Music3.mid)",
                        "loader#7.SetSearchDirectory(/songs/)",
                        "segment#8.SetStandardMidiFile",
                        "release segment#5",
                        "root#1.CreateLoader -> loader#9",
                        "release loader#7",
                        "root#1.CreatePerformance -> performance#10",
                        "release performance#3",
                        "performance#10.Init",
                        "performance#10.SetPort(-1,80)",
                        "performance#10.SetMasterAutoDownload(true)",
                        "performance#10.SetMasterVolume(-900)",
                        "performance#10.SetMasterVolume(570)",
                        "performance#10.IsPlaying(segment#8,state#6)",
                        "segment#8.SetStartPoint(0)",
                        "performance#10.PlaySegment(segment#8,0,0) -> state#11",
                        "release state#6",
                    }));
}

TEST_F(MusicPlayer, MusicOffStopsTheSongAndUnloadShutsTheEngineDown) {
  loadWindow();
  take();
  StopSong();
  EXPECT_EQ(take(), (Calls{"performance#3.Stop(segment#5,state#6,0,0)"}));
  EXPECT_FALSE(engine.sounding("state#6"));

  ShutDownMusic();
  // The root, the segment and the state stay until the program ends; so does readiness.
  EXPECT_EQ(take(), (Calls{"performance#3.Stop(segment#5,state#6,0,0)", "release performance#3",
                           "release loader#4"}));
  EXPECT_TRUE(MusicReady());
  PlaySong();
  StopSong();
  SetMusicVolume(85);
  EXPECT_EQ(take(), Calls{});
}

TEST_F(MusicPlayer, LoadSongStopsASoundingSongAndKeepsTheOldOneWhenTheNewFails) {
  loadWindow();
  take();
  engine.unloadable().insert("/songs/Music2.mid");
  LoadSong(2);
  EXPECT_EQ(take(), (Calls{
                        "performance#3.IsPlaying(segment#5,state#6)",
                        "performance#3.Stop(segment#5,state#6,0,0)",
                        "release loader#4",
                        "root#1.CreateLoader -> loader#7",
                        "loader#7.LoadSegment(/songs/Music2.mid)",
                    }));
  // The song choice marks song 2, but song 1 starts again from its beginning.
  PlaySong();
  EXPECT_EQ(take(), (Calls{
                        "performance#3.IsPlaying(segment#5,state#6)",
                        "segment#5.SetStartPoint(0)",
                        "performance#3.PlaySegment(segment#5,0,0) -> state#8",
                        "release state#6",
                    }));
}

TEST_F(MusicPlayer, PlaySongLeavesASoundingSongAloneAndRestartsAnEndedOne) {
  loadWindow();
  take();
  PlaySong();
  EXPECT_EQ(take(), (Calls{"performance#3.IsPlaying(segment#5,state#6)"}));
  engine.endSongs();
  PlaySong();
  EXPECT_EQ(take(), (Calls{"performance#3.IsPlaying(segment#5,state#6)", "segment#5.SetStartPoint(0)",
                           "performance#3.PlaySegment(segment#5,0,0) -> state#7", "release state#6"}));
}

TEST_F(MusicPlayer, NothingHappensUntilTheEngineIsReady) {
  LoadSong(1);
  PlaySong();
  StopSong();
  SetMusicVolume(85);
  ShutDownMusic();
  EXPECT_EQ(take(), Calls{});
  EXPECT_FALSE(MusicReady());

  engine.failInit();
  loadWindow();
  EXPECT_FALSE(MusicReady());
  const Calls calls = take();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "performance#3.Init");

  SetMusicEngine(nullptr);
  InitMusic();
  EXPECT_FALSE(MusicReady());
}

TEST_F(MusicPlayer, AFirstSongChoiceWithTheEngineNeverStartedPlaysNothingAndASecondPlays) {
  chooseSong(2);
  Calls calls = take();
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                          [](const std::string& c) {
                            return c.find("LoadSegment") != std::string::npos ||
                                   c.find("PlaySegment") != std::string::npos;
                          }),
            0);
  chooseSong(2);
  calls = take();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "loader#4.LoadSegment(/songs/Music2.mid)"), calls.end());
  EXPECT_EQ(calls.back(), "performance#7.PlaySegment(segment#5,0,0) -> state#8");
}

TEST_F(MusicPlayer, VolumeIsSettingTimes42Minus3000In16Bits) {
  InitMusic();
  take();
  for (const std::int16_t setting : {0, 85, 780, -708, 781, -709, 32767}) SetMusicVolume(setting);
  // 781 x 42 and -709 x 42 - 3000 leave 16 bits; such settings change nothing.
  EXPECT_EQ(take(), (Calls{"performance#3.SetMasterVolume(-3000)", "performance#3.SetMasterVolume(570)",
                           "performance#3.SetMasterVolume(29760)", "performance#3.SetMasterVolume(-32736)"}));
}

}  // namespace
}  // namespace nokturna
