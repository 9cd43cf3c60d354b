// The sound device lost while a clip and a song sound. SDL's disk driver gives up on its device the first
// time a write fails, as a real driver does when a card or a sound server goes away; a file size limit on
// the process makes that write fail part way into the first clip. The game must carry on without a sound,
// a word or a hang: later clips, song changes and the closing of everything still go through.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/fluid_music_engine.h"
#include "audio/sdl_audio_output.h"
#include "audio/sdl_clip_player.h"
#include "tests/audio/disk_device.h"
#include "tests/audio/midi_image.h"
#include "tests/audio/period_counter.h"
#include "tests/audio/scoped_process_state.h"
#include "tests/audio/wait_until.h"
#include "tests/audio/wav_image.h"

namespace nokturna {
namespace {

namespace fs = std::filesystem;

TEST(LostSoundDevice, ClipsSongsAndShutdownCarryOnSilently) {
  const std::string file = ::testing::TempDir() + "nokturna-lost-" + std::to_string(getpid()) + ".raw";
  const std::string songFile = ::testing::TempDir() + "nokturna-lost-" + std::to_string(getpid()) + ".mid";
  testing::WriteFile(songFile, testing::MidiImage(testing::PianoPhrase()));
  testing::ScopedProcessState process;
  testing::UseDiskDevice(process, file);
  // Writes past 96 KiB (24 periods, about a quarter of a second of sound) now fail with EFBIG instead of
  // a signal.
  constexpr std::uintmax_t kLimit = 96 * 1024;
  process.ignoreSignal(SIGXFSZ);
  ASSERT_TRUE(process.limitFileSize(kLimit));

  const std::vector<std::uint8_t> longClip = testing::SteadyClip8(22050, 22050, 200);  // one second
  const std::string smallFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

  ::testing::internal::CaptureStderr();
  {
    SdlAudioOutput output;
    ASSERT_TRUE(output.isOpen());
    SdlClipPlayer clips(output);
    FluidMusicEngine music(output, fs::exists(smallFont) ? smallFont : DefaultSoundFont());
    testing::PeriodCounter counter(output);
    auto root = music.CreateRoot();
    auto loader = root->CreateLoader();
    auto performance = root->CreatePerformance();
    ASSERT_TRUE(performance->Init());
    auto song = loader->LoadSegment(songFile);
    ASSERT_NE(song, nullptr);
    auto playing = performance->PlaySegment(*song, 0, 0);
    clips.play(longClip.data(), longClip.size());

    // The device takes periods until its file is full; the next write fails and SDL gives the device up.
    EXPECT_TRUE(testing::WaitUntil([] {
      SDL_Event event;
      return SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_AUDIODEVICEREMOVED, SDL_AUDIODEVICEREMOVED) == 1;
    })) << "the device was never lost";

    // Everything still answers once the device is gone, and the output mixes on.
    clips.play(longClip.data(), longClip.size());
    EXPECT_TRUE(performance->Stop(song.get(), playing.get(), 0, 0));
    playing = performance->PlaySegment(*song, 0, 0);
    (void)performance->IsPlaying(song.get(), playing.get());
    const long periods = counter.periods;
    EXPECT_TRUE(testing::WaitUntil([&] { return counter.periods > periods + 2; }))
        << "the output stopped with its device";
    performance.reset();
  }
  const std::string said = ::testing::internal::GetCapturedStderr();

  // The loss was real: the device wrote up to the limit (less than a period short of it) and no further.
  constexpr std::uintmax_t kPeriodBytes = SdlAudioOutput::kPeriodFrames * 2 * sizeof(float);
  EXPECT_LE(fs::file_size(file), kLimit);
  EXPECT_GT(fs::file_size(file) + kPeriodBytes, kLimit);
  EXPECT_EQ(said, "");
  std::remove(file.c_str());
  std::remove(songFile.c_str());
}

}  // namespace
}  // namespace nokturna
