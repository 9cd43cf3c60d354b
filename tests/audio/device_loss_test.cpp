// The sound device lost while a clip and a song sound. SDL's disk driver gives up on its device the first
// time a write fails, as a real driver does when a card or a sound server goes away; a file size limit on
// the process makes that write fail part way into the first clip. The game must carry on without a sound,
// a word or a hang: later clips, song changes and the closing of everything still go through.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "audio/fluid_music_engine.h"
#include "audio/sdl_audio_output.h"
#include "audio/sdl_clip_player.h"
#include "tests/audio/disk_device.h"
#include "tests/audio/midi_image.h"
#include "tests/audio/period_counter.h"
#include "tests/audio/wav_image.h"

namespace nokturna {
namespace {

namespace fs = std::filesystem;

TEST(LostSoundDevice, ClipsSongsAndShutdownCarryOnSilently) {
  const std::string file = ::testing::TempDir() + "nokturna-lost-" + std::to_string(getpid()) + ".raw";
  testing::UseDiskDevice(file);
  // Writes past 96 KiB (about a quarter of a second of sound) now fail with EFBIG instead of a signal.
  constexpr rlim_t kLimit = 96 * 1024;
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = kLimit;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);

  const std::vector<std::uint8_t> longClip = testing::SteadyClip8(22050, 22050, 200);  // one second
  const std::string songFile = ::testing::TempDir() + "nokturna-lost-" + std::to_string(getpid()) + ".mid";
  testing::WriteFile(songFile, testing::MidiImage(testing::PianoPhrase()));
  const std::string smallFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

  ::testing::internal::CaptureStderr();
  long periodsAtLoss = 0, periodsLater = 0;
  {
    SdlAudioOutput output;
    ASSERT_TRUE(output.isOpen());
    testing::PeriodCounter counter;
    output.addSource(&counter);
    SdlClipPlayer clips(output);
    FluidMusicEngine music(output, fs::exists(smallFont) ? smallFont : DefaultSoundFont());
    auto root = music.CreateRoot();
    auto loader = root->CreateLoader();
    auto performance = root->CreatePerformance();
    ASSERT_TRUE(performance->Init());
    auto song = loader->LoadSegment(songFile);
    ASSERT_NE(song, nullptr);
    auto playing = performance->PlaySegment(*song, 0, 0);
    clips.play(longClip.data(), longClip.size());

    // The device takes periods until its file is full; the next write fails and the device is gone.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (fs::exists(file) && fs::file_size(file) < kLimit && std::chrono::steady_clock::now() < limit)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    periodsAtLoss = counter.periods.load();

    // Everything still answers once the device is gone.
    clips.play(longClip.data(), longClip.size());
    EXPECT_TRUE(performance->Stop(song.get(), playing.get(), 0, 0));
    playing = performance->PlaySegment(*song, 0, 0);
    (void)performance->IsPlaying(song.get(), playing.get());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    periodsLater = counter.periods.load();
    performance.reset();
    output.removeSource(&counter);
  }
  const std::string said = ::testing::internal::GetCapturedStderr();

  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  // The loss was real: the device wrote up to the limit (less than a period short of it) and no further.
  constexpr std::uintmax_t kPeriodBytes = SdlAudioOutput::kPeriodFrames * 2 * sizeof(float);
  EXPECT_LE(fs::file_size(file), kLimit);
  EXPECT_GT(fs::file_size(file) + kPeriodBytes, kLimit);
  // SDL keeps calling a lost device's callback, so the game's mixing runs on, harmlessly, into nothing.
  EXPECT_GT(periodsAtLoss, 0);
  EXPECT_GE(periodsLater, periodsAtLoss);
  EXPECT_EQ(said, "");
  std::remove(file.c_str());
  std::remove(songFile.c_str());
}

}  // namespace
}  // namespace nokturna
