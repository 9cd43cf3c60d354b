// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Sound that comes back, on SDL's disk driver. Its device cannot open while the folder of its file is
// missing: a sound server not up yet. It gives up the first time a write fails, as a real driver does when
// its card or sound server goes away: a file size limit on the process makes the writes fail. The game
// starts without a device, gets one, loses it in the middle of the song and gets it back; the song is
// heard from its very start, picks up where it stopped, and nothing is said.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "audio/fluid_music_engine.h"
#include "audio/sdl_audio_output.h"
#include "audio/sdl_clip_player.h"
#include "tests/audio/disk_device.h"
#include "tests/audio/heard_music.h"
#include "tests/audio/midi_image.h"
#include "tests/audio/scoped_process_state.h"
#include "tests/audio/wait_until.h"
#include "tests/audio/wav_image.h"

namespace nokturna {
namespace {

namespace fs = std::filesystem;
using testing::WaitUntil;

constexpr long kPeriod = SdlAudioOutput::kPeriodFrames;

long FramesIn(const std::string& file) {
  std::error_code error;
  const auto bytes = fs::file_size(file, error);
  return error ? 0 : static_cast<long>(bytes / (2 * sizeof(float)));
}

// A recording without the silence SDL may write into a device opened paused, before the output starts it.
std::vector<float> FromFirstSound(std::vector<float> heard) {
  const auto sound = std::find_if(heard.begin(), heard.end(), [](float sample) { return sample != 0.0f; });
  heard.erase(heard.begin(), heard.begin() + (sound - heard.begin()) / 2 * 2);
  return heard;
}

// How far `heard` is from `frames` stereo frames of `song` from frame `from` on, as a share of the song's
// level there: 0 is the very same sound.
double Difference(const std::vector<float>& heard, const std::vector<float>& song, long from, long frames) {
  double error = 0, level = 0;
  for (long i = 0; i < 2 * frames; ++i) {
    const double expected = song[static_cast<std::size_t>(2 * from + i)];
    error += std::pow(heard[static_cast<std::size_t>(i)] - expected, 2);
    level += expected * expected;
  }
  return std::sqrt(error / level);
}

TEST(LostSoundDevice, TheSongIsHeardOnceADeviceComesAndPicksUpWhereItStoppedWhenItReturns) {
  const std::string font = DefaultSoundFont();
  if (!fs::exists(font)) GTEST_SKIP() << "no General MIDI SoundFont installed";
  // The device writes into `server`; the recording made before the loss is moved to `before`.
  const std::string server = ::testing::TempDir() + "nokturna-lost-" + std::to_string(getpid());
  const std::string before = server + "-before", file = "/out.raw";
  const std::string songFile = server + ".mid";
  testing::WriteFile(songFile, testing::MidiImage(testing::PianoPhrase()));  // two seconds
  testing::ScopedProcessState process;
  testing::UseDiskDevice(process, server + file);
  process.ignoreSignal(SIGXFSZ);  // a write past the size limit fails with EFBIG instead
  const std::vector<std::uint8_t> clip = testing::SteadyClip8(22050, 2205, 0xC0);

  // What the song sounds like, heard offline from its first sound at the volume the game starts it with.
  std::vector<float> song;
  {
    testing::HeardMusic offline({font});
    ASSERT_TRUE(offline.engine.Start() && offline.engine.Load(songFile));
    offline.engine.SetVolume(-900);
    ASSERT_TRUE(offline.engine.Play());
    ASSERT_TRUE(WaitUntil([&] {
      song = offline.render(kPeriod);
      return std::any_of(song.begin(), song.end(), [](float sample) { return sample != 0.0f; });
    }));
    const std::vector<float> rest = offline.render(159 * kPeriod);  // nearly two seconds in all
    song.insert(song.end(), rest.begin(), rest.end());
  }

  ::testing::internal::CaptureStderr();
  {
    SdlAudioOutput output;
    EXPECT_FALSE(output.isOpen());
    SdlClipPlayer clips(output);
    FluidMusicEngine music(output, {font});
    // As the window starts it, at -900.
    ASSERT_TRUE(music.Start()) << "the music waits for a device rather than giving up";
    music.SetVolume(-900);
    ASSERT_TRUE(music.Load(songFile) && music.Play());

    // The sound server comes up.
    fs::create_directory(server);
    ASSERT_TRUE(WaitUntil([&] { return FramesIn(server + file) >= 20 * kPeriod; }))
        << "the song was never heard";

    // It goes away: the next write fails, and nothing can open until it is back.
    fs::rename(server, before);
    std::optional<testing::ScopedProcessState> full{std::in_place};
    ASSERT_TRUE(full->limitFileSize(1));
    ASSERT_TRUE(WaitUntil([&] { return !output.isOpen(); })) << "the loss went unnoticed";
    clips.play(clip.data(), clip.size());  // unheard, and no harm done
    EXPECT_TRUE(music.IsPlaying());

    // It is back.
    full.reset();
    fs::create_directory(server);
    ASSERT_TRUE(WaitUntil([&] { return FramesIn(server + file) >= 24 * kPeriod; }))
        << "the sound never came back";
    music.Stop();
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

  const std::vector<float> heardFirst = FromFirstSound(testing::ReadRecording(before + file));
  const std::vector<float> heardSecond = FromFirstSound(testing::ReadRecording(server + file));
  const long heardBefore = static_cast<long>(heardFirst.size()) / 2;
  fs::remove_all(before);
  fs::remove_all(server);
  std::remove(songFile.c_str());

  ASSERT_GE(heardSecond.size(), 2u * 16 * kPeriod);
  EXPECT_LT(Difference(heardFirst, song, 0, heardBefore), 0.05) << "not the song from its start";
  // What the device had taken when it went is lost with it, and no more: here two periods, as the file
  // library takes one more after the failed write before it reports the failure.
  double closest = 1e9;
  long resumedAt = -1;
  for (long at = heardBefore - 2 * kPeriod; at <= heardBefore + 4 * kPeriod; at += kPeriod) {
    const double difference = Difference(heardSecond, song, at, 16 * kPeriod);
    if (difference < closest) closest = difference, resumedAt = at;
  }
  EXPECT_LT(closest, 0.05);
  EXPECT_GE(resumedAt, heardBefore) << "part of the song was played twice";
  EXPECT_LE(resumedAt, heardBefore + 2 * kPeriod) << "the song went on without a device";
}

}  // namespace
}  // namespace nokturna
