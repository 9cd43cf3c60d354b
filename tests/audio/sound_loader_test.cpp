// The sound back end as the program gets it: the module built beside the program, loaded on a thread and
// handed to the game once it is up.
#include "audio/sound_loader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <string>
#include <vector>

#include "audio/game_sound.h"
#include "audio/sdl_audio_output.h"
#include "tests/audio/disk_device.h"
#include "tests/audio/fake_music_engine.h"
#include "tests/audio/recording_clip_player.h"
#include "tests/audio/scoped_process_state.h"
#include "tests/audio/wait_until.h"
#include "tests/audio/wav_image.h"

namespace nokturna {
namespace {

namespace fs = std::filesystem;

TEST(SoundModule, LoadsOnItsOwnThreadAndPlaysThroughTheDevice) {
  const std::string file = ::testing::TempDir() + "nokturna-module-" + std::to_string(getpid()) + ".raw";
  testing::ScopedProcessState process;
  testing::UseDiskDevice(process, file);
  const std::vector<std::uint8_t> clip = testing::SteadyClip8(22050, 2205, 0xC0);  // 0.1 s at +0.5
  // 2,205 frames at 22,050 Hz are 4,410 at the output rate, each a left and a right sample.
  constexpr long kClipFrames = 4410;
  constexpr long kPeriod = SdlAudioOutput::kPeriodFrames;
  const auto loudSamples = [&] {
    long loud = 0;
    for (float sample : testing::ReadRecording(file)) loud += std::fabs(sample - 0.5f) < 0.02f;
    return loud;
  };
  {
    GameSound sound(SongAlbum{});
    SoundLoader loader(sound, NOKTURNA_SOUND_MODULE);
    SoundSystem* system = loader.get();
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(loader.get(), system) << "a second look gives the same back end";
    system->clips().play(clip.data(), clip.size());
    // The music engine is the real one: with a SoundFont installed it starts.
    if (fs::exists("/usr/share/sounds/sf2/TimGM6mb.sf2")) {
      EXPECT_TRUE(system->music().Start());
    }
    // The recording is written through a buffer that holds back up to a period until the next write, and
    // the output writes nothing more once the clip is over: all but the clip's last period is sure to show.
    EXPECT_TRUE(testing::WaitUntil([&] { return loudSamples() >= 2 * (kClipFrames - kPeriod); }))
        << "the clip did not reach the device";
  }
  const long loud = loudSamples();
  std::remove(file.c_str());
  // Whether the clip's last period was mixed before the back end went depends on the moment; the clip
  // reaching the device whole is a matter for the output's own tests.
  EXPECT_GE(loud, 2 * (kClipFrames - kPeriod)) << "the clip did not reach the device";
  EXPECT_LE(loud, 2 * kClipFrames + 2 * 64) << "the clip was heard more than once";
}

TEST(SoundModule, AMissingOrBrokenModuleLeavesTheGameSilentWithoutAWord) {
  const std::string notAModule = ::testing::TempDir() + "nokturna-not-a-module.so";
  std::ofstream(notAModule) << "not a shared object\n";
  ::testing::internal::CaptureStderr();
  for (const std::string& path : {std::string("/nonexistent/nokturna_sound.so"), notAModule}) {
    GameSound sound(SongAlbum{});
    SoundLoader loader(sound, path);
    EXPECT_EQ(loader.get(), nullptr) << path;
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  std::remove(notAModule.c_str());
}

// A back end of fakes that comes up only when the test lets it, as a slow module load would.
class HeldBackSound {
 public:
  std::function<SoundSystem*()> start() {
    return [this]() -> SoundSystem* {
      up_.wait();
      return new Recorders(clips, music);
    };
  }
  void letUp() { release_.set_value(); }

  testing::RecordingClipPlayer clips;
  testing::FakeMusicEngine music;

 private:
  class Recorders : public SoundSystem {
   public:
    Recorders(ClipPlayer& clips, MusicEngine& music) : clips_(clips), music_(music) {}
    ClipPlayer& clips() override { return clips_; }
    MusicEngine& music() override { return music_; }

   private:
    ClipPlayer& clips_;
    MusicEngine& music_;
  };

  std::promise<void> release_;
  std::shared_future<void> up_ = release_.get_future().share();
};

// The hand-over to the game arrives through the event loop of the program's application object.
class SoundLoaderTest : public ::testing::Test {
 protected:
  int argc_ = 1;
  char name_[18] = "sound_loader_test";
  char* argv_[2] = {name_, nullptr};
  QCoreApplication app_{argc_, argv_};
};

const SongAlbum kAlbum{"/songs/", true, true};

TEST_F(SoundLoaderTest, WhatTheGameAskedForWhileTheSoundCameUpSoundsOnceItIsUp) {
  HeldBackSound held;
  // The first song is wanted from the start. The clock stands still: however slow the machine, the clip
  // asked for below is never too old to sound (GameSound's own test times that).
  GameSound sound(kAlbum, [] { return GameSound::Clock::time_point{}; });
  SoundLoader loader(sound, held.start());
  loader.start();
  sound.play(Clip::LineClaimed);  // a line claimed in the first moments
  EXPECT_EQ(held.music.song(), "");

  held.letUp();
  ASSERT_TRUE(testing::WaitUntil([&] {
    QCoreApplication::processEvents();
    return !held.music.song().empty();
  }));
  EXPECT_EQ(held.music.song(), "/songs/Music1.mid");
  EXPECT_EQ(held.music.level(), 570);
  EXPECT_EQ(held.clips.plays.size(), 1u) << "the clip asked for a moment before was not heard";
  sound.play(Clip::LineClaimed);
  EXPECT_EQ(held.clips.plays.size(), 2u);
}

TEST_F(SoundLoaderTest, AGameLeftBeforeTheSoundIsUpNeverReachesIt) {
  HeldBackSound held;
  GameSound sound(kAlbum);
  {
    SoundLoader loader(sound, held.start());
    loader.start();
    sound.play(Clip::About);
    held.letUp();  // the window has closed, and only then is the sound up
  }
  QCoreApplication::processEvents();  // where a hand-over left behind would run
  sound.chooseSong(2);
  sound.play(Clip::LineClaimed);
  EXPECT_EQ(held.music.song(), "") << "a back end was left connected";
  EXPECT_EQ(held.music.beginnings(), 0);
  EXPECT_TRUE(held.clips.plays.empty());
}

TEST(SoundModule, IsLookedForBesideTheProgram) {
  const fs::path program = fs::read_symlink("/proc/self/exe");
  EXPECT_EQ(fs::path(SoundModulePath()), program.parent_path() / "nokturna_sound.so");
}

}  // namespace
}  // namespace nokturna
