// PlaySoundClip: which bytes reach the player, how long they live, and what runs after the clip starts.
#include "audio/sound_effects.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/audio/recording_clip_player.h"

namespace nokturna {
namespace {

using testing::RecordingClipPlayer;

// The clip files the program is built from, read straight from the source tree.
std::vector<std::uint8_t> ClipFile(int id) {
  std::ifstream in(std::string(NOKTURNA_SOUNDS_DIR) + "/" + std::to_string(id) + ".wav", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PlaySoundClipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int id = 1; id <= 4; ++id) {
      clips_[id] = ClipFile(id);
      ASSERT_FALSE(clips_[id].empty()) << "clip file " << id << " is missing from the source tree";
    }
    SetClipPlayer(&player_);
  }
  void TearDown() override { SetClipPlayer(nullptr); }

  RecordingClipPlayer player_;
  std::vector<std::vector<std::uint8_t>> clips_ = std::vector<std::vector<std::uint8_t>>(5);
};

TEST_F(PlaySoundClipTest, HandsThePlayerTheBuiltInClipByteForByte) {
  for (std::int16_t id : {1, 2, 3, 4, 1}) {
    SCOPED_TRACE(id);
    PlaySoundClip(id);
    const RecordingClipPlayer::Play& played = player_.plays.back();
    EXPECT_EQ(player_.idOf(played, clips_), id);
    // The player gets clipData itself, which keeps holding the clip after the call.
    EXPECT_EQ(played.image, clipData.data());
    EXPECT_EQ(clipData, clips_[id]);
  }
  EXPECT_EQ(player_.plays.size(), 5u);
}

TEST_F(PlaySoundClipTest, ThePreviousClipStaysReadableUntilTheNextOneHasStarted) {
  // A player that streams from the caller's bytes is still reading the old clip when the next play()
  // arrives; it must find the old clip intact at that moment.
  std::vector<std::vector<std::uint8_t>> seenAtNextPlay;
  player_.onPlay = [&] {
    const auto& plays = player_.plays;
    if (plays.size() < 2) return;
    const RecordingClipPlayer::Play& sounding = plays[plays.size() - 2];
    seenAtNextPlay.emplace_back(sounding.image, sounding.image + sounding.bytes.size());
  };

  PlaySoundClip(4);
  PlaySoundClip(2);
  PlaySoundClip(1);

  ASSERT_EQ(seenAtNextPlay.size(), 2u);
  EXPECT_EQ(seenAtNextPlay[0], clips_[4]);
  EXPECT_EQ(seenAtNextPlay[1], clips_[2]);
}

TEST_F(PlaySoundClipTest, WithoutAPlayerNothingSoundsButTheClipIsStillLoaded) {
  PlaySoundClip(1);
  SetClipPlayer(nullptr);
  PlaySoundClip(3);
  EXPECT_EQ(player_.plays.size(), 1u);
  EXPECT_EQ(clipData, clips_[3]);
}

TEST_F(PlaySoundClipTest, PendingEventsRunOnceTheClipHasStarted) {
  int argc = 1;
  char name[] = "sound_effects_test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);

  std::vector<std::string> order;
  player_.onPlay = [&] { order.push_back("clip"); };
  QMetaObject::invokeMethod(
      &app, [&] { order.push_back("queued event"); }, Qt::QueuedConnection);
  ASSERT_TRUE(order.empty());

  PlaySoundClip(1);
  EXPECT_EQ(order, (std::vector<std::string>{"clip", "queued event"}));
}

}  // namespace
}  // namespace nokturna
