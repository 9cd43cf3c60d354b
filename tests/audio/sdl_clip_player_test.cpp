// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The SDL sound output and the clip player on it. Device tests use SDL's "disk" driver, which writes the
// mixed stream to a file in the device format (float stereo), paced like a real sound card.
#include "audio/sdl_clip_player.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/output_limiter.h"
#include "audio/sdl_audio_output.h"
#include "tests/audio/disk_device.h"
#include "tests/audio/period_counter.h"
#include "tests/audio/scoped_process_state.h"
#include "tests/audio/wait_until.h"
#include "tests/audio/wav_image.h"

namespace nokturna {
namespace {

using testing::FmtChunk;
using testing::PeriodCounter;
using testing::PutLe;
using testing::RiffImage;
using testing::SteadyClip8;
using testing::SteadyClip8WithMetadata;
using testing::WaitUntil;

constexpr int kRate = SdlAudioOutput::kOutputRate;
constexpr std::uint8_t kHalfUp = 0xC0;    // +0.5 as 8-bit PCM
constexpr std::uint8_t kHalfDown = 0x40;  // -0.5
// The resampler rounds the edges of a clip off; a few periods of its ringing either side are allowed.
constexpr long kEdgeFrames = 32;

long Frames(const std::vector<float>& stereo) { return static_cast<long>(stereo.size()) / 2; }

// First and last frame whose left sample passes `test`, or {-1, -1}.
template <typename Test>
std::pair<long, long> Span(const std::vector<float>& stereo, Test test, long from = 0) {
  long first = -1, last = -1;
  for (long frame = from; frame < Frames(stereo); ++frame) {
    if (!test(stereo[2 * frame])) continue;
    if (first < 0) first = frame;
    last = frame;
  }
  return {first, last};
}

bool Sounding(float sample) { return std::fabs(sample) > 0.05f; }

// ---------------------------------------------------------------------------------------------------
// Decoding a WAV image into the output format

TEST(ClipDecoding, EightBitMonoBecomesStereoAtTheOutputRateWithEverySample) {
  struct Case {
    int rate;
    int frames;
  };
  for (const Case c : {Case{22050, 2205}, Case{11025, 1000}, Case{44100, 300}}) {
    SCOPED_TRACE(c.rate);
    const std::vector<std::uint8_t> image = SteadyClip8(c.rate, c.frames, kHalfUp);
    const std::vector<float> clip = DecodeClip(image.data(), image.size());

    const long expected = static_cast<long>(c.frames) * kRate / c.rate;
    EXPECT_NEAR(Frames(clip), expected, kEdgeFrames);
    // Away from the edges every frame holds the level on both sides.
    for (long frame = kEdgeFrames; frame < Frames(clip) - kEdgeFrames; ++frame) {
      ASSERT_NEAR(clip[2 * frame], 0.5f, 0.02f) << "frame " << frame;
      ASSERT_EQ(clip[2 * frame], clip[2 * frame + 1]) << "frame " << frame;
    }
  }
}

TEST(ClipDecoding, SixteenBitStereoKeepsLeftAndRightApart) {
  std::vector<std::uint8_t> samples;
  for (int frame = 0; frame < 400; ++frame) {
    PutLe(samples, 8192, 2);                               // left +0.25
    PutLe(samples, static_cast<std::uint16_t>(-8192), 2);  // right -0.25
  }
  const std::vector<std::uint8_t> image = RiffImage({FmtChunk(kRate, 2, 16), {"data", samples}});
  const std::vector<float> clip = DecodeClip(image.data(), image.size());

  ASSERT_EQ(Frames(clip), 400);
  for (long frame = 0; frame < 400; ++frame) {
    ASSERT_FLOAT_EQ(clip[2 * frame], 0.25f);
    ASSERT_FLOAT_EQ(clip[2 * frame + 1], -0.25f);
  }
}

TEST(ClipDecoding, FactAndListChunksAreSkippedNotPlayed) {
  const std::vector<std::uint8_t> plain = SteadyClip8(22050, 3000, kHalfUp);
  const std::vector<std::uint8_t> tagged = SteadyClip8WithMetadata(22050, 3000, kHalfUp);
  ASSERT_GT(tagged.size(), plain.size());

  const std::vector<float> fromPlain = DecodeClip(plain.data(), plain.size());
  ASSERT_FALSE(fromPlain.empty());
  EXPECT_EQ(DecodeClip(tagged.data(), tagged.size()), fromPlain);
}

TEST(ClipDecoding, MalformedImagesDecodeToNothing) {
  const std::vector<std::uint8_t> good = SteadyClip8(22050, 2000, kHalfUp);
  const std::vector<std::uint8_t> headerOnly(good.begin(), good.begin() + 20);
  const std::vector<std::uint8_t> cutInTheData(good.begin(), good.begin() + 1000);
  const std::vector<std::uint8_t> noFormat = RiffImage({{"data", std::vector<std::uint8_t>(500, kHalfUp)}});
  std::vector<std::uint8_t> garbage(3000);
  for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(i * 37 + 11);
  std::vector<std::uint8_t> notRiff = good;
  notRiff[0] = 'X';

  EXPECT_TRUE(DecodeClip(nullptr, 0).empty());
  EXPECT_TRUE(DecodeClip(good.data(), 0).empty());
  using Image = const std::vector<std::uint8_t>*;
  for (Image image :
       std::initializer_list<Image>{&headerOnly, &cutInTheData, &noFormat, &garbage, &notRiff}) {
    EXPECT_TRUE(DecodeClip(image->data(), image->size()).empty()) << "image of " << image->size() << " bytes";
  }
}

// ---------------------------------------------------------------------------------------------------
// Playing through the device

class DiskDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> serial{0};
    file_ = ::testing::TempDir() + "nokturna-audio-" + std::to_string(getpid()) + "-" +
            std::to_string(serial++) + ".raw";
    testing::UseDiskDevice(process_, file_);
  }
  void TearDown() override { std::remove(file_.c_str()); }

  // Waits, right after a play() call, until the clip has reached the device to its last frame: the output
  // has looked for sound again and found none.
  static void WaitUntilPlayed(const PeriodCounter& listener) {
    const long looks = listener.looks;
    ASSERT_TRUE(WaitUntil([&] { return listener.looks > looks; })) << "the output never came to rest";
  }
  long RecordedBytes() const {
    std::error_code error;
    const auto size = std::filesystem::file_size(file_, error);
    return error ? 0 : static_cast<long>(size);
  }

  // What the device was given, read once the output is closed.
  std::vector<float> Recorded() const { return testing::ReadRecording(file_); }

  testing::ScopedProcessState process_;
  std::string file_;
};

TEST_F(DiskDevice, AClipReachesTheDeviceWholeAndOnlyItsData) {
  const int clipFrames = 2205;  // 0.1 s at 22050 Hz, with fact and LIST chunks around the data
  const std::vector<std::uint8_t> image = SteadyClip8WithMetadata(22050, clipFrames, kHalfUp);
  {
    SdlAudioOutput output;
    ASSERT_TRUE(output.isOpen());
    SdlClipPlayer player(output);
    PeriodCounter listener(output);
    player.play(image.data(), image.size());
    WaitUntilPlayed(listener);
  }
  const std::vector<float> out = Recorded();
  const auto [first, last] = Span(out, Sounding);
  ASSERT_GE(first, 0) << "nothing reached the device";
  EXPECT_NEAR(last - first + 1, 2L * clipFrames, kEdgeFrames);
  const auto [loudFirst, loudLast] = Span(out, [](float s) { return std::fabs(s - 0.5f) < 0.02f; });
  EXPECT_NEAR(loudLast - loudFirst + 1, 2L * clipFrames, kEdgeFrames);
}

TEST_F(DiskDevice, TheOutputSleepsWhileNothingSoundsAndAClipWakesIt) {
  const int clipFrames = 4410;  // 0.2 s
  const std::vector<std::uint8_t> image = SteadyClip8(22050, clipFrames, kHalfUp);
  SdlAudioOutput output;
  ASSERT_TRUE(output.isOpen());
  SdlClipPlayer player(output);
  PeriodCounter listener(output);
  // At rest the output only wakes now and then to look again: from one look to the next it mixes nothing
  // and feeds the device nothing.
  const auto restsQuietly = [&] {
    ASSERT_TRUE(WaitUntil([&] { return listener.quietLooks >= 1; }));
    const long periods = listener.periods, bytes = RecordedBytes();
    ASSERT_TRUE(WaitUntil([&] { return listener.quietLooks >= 2; }));
    EXPECT_EQ(listener.periods, periods) << "periods were mixed with nothing to play";
    EXPECT_EQ(RecordedBytes(), bytes) << "the device was fed with nothing to play";
  };
  restsQuietly();

  const long before = listener.periods;
  player.play(image.data(), image.size());
  WaitUntilPlayed(listener);
  // The clip takes seventeen periods of 512 frames at the output rate: all of them mixed, then rest again.
  EXPECT_GE(listener.periods - before, 2L * clipFrames / SdlAudioOutput::kPeriodFrames);
  restsQuietly();
}

TEST_F(DiskDevice, ANewClipCutsOffTheOneThatSounds) {
  const int longFrames = 5 * 22050;  // long enough to be sounding still when the second clip comes
  const int shortFrames = 1100;      // 0.05 s
  const std::vector<std::uint8_t> first = SteadyClip8(22050, longFrames, kHalfUp);
  const std::vector<std::uint8_t> second = SteadyClip8(22050, shortFrames, kHalfDown);
  {
    SdlAudioOutput output;
    ASSERT_TRUE(output.isOpen());
    SdlClipPlayer player(output);
    PeriodCounter listener(output);
    player.play(first.data(), first.size());
    ASSERT_TRUE(WaitUntil([&] { return listener.periods >= 4; }));  // well into the first clip
    player.play(second.data(), second.size());
    WaitUntilPlayed(listener);
  }
  const std::vector<float> out = Recorded();
  const auto [up, upLast] = Span(out, [](float s) { return s > 0.25f; });
  const auto [down, downLast] = Span(out, [](float s) { return s < -0.25f; });
  ASSERT_GE(up, 0);
  ASSERT_GE(down, 0);
  EXPECT_LT(upLast, down) << "the first clip went on after the second started";
  EXPECT_LT(upLast - up + 1, 2L * longFrames) << "the first clip was not cut short";
  EXPECT_NEAR(downLast - down + 1, 2L * shortFrames, kEdgeFrames);
  // The cut happens between two periods: nothing of the first clip is mixed under the second.
  for (long frame = down; frame <= downLast; ++frame) ASSERT_LT(out[2 * frame], -0.25f) << "frame " << frame;
}

TEST_F(DiskDevice, TheCallerMayOverwriteTheImageOnceThePlayCallReturns) {
  std::vector<std::uint8_t> image = SteadyClip8(22050, 4410, kHalfUp);
  {
    SdlAudioOutput output;
    SdlClipPlayer player(output);
    PeriodCounter listener(output);
    player.play(image.data(), image.size());
    const std::vector<std::uint8_t> other = SteadyClip8(22050, 4410, kHalfDown);
    std::copy(other.begin(), other.end(), image.begin());
    image.clear();
    image.shrink_to_fit();
    WaitUntilPlayed(listener);
  }
  const std::vector<float> out = Recorded();
  EXPECT_GE(Span(out, [](float s) { return s > 0.25f; }).first, 0);
  EXPECT_LT(Span(out, [](float s) { return s < -0.25f; }).first, 0)
      << "the player read the bytes after play()";
}

class SteadySource : public AudioSource {
 public:
  explicit SteadySource(float level) : level_(level) {}
  void mixInto(float* stereo, int frames) override {
    for (int i = 0; i < frames * 2; ++i) stereo[i] += level_;
  }
  bool sounding() override { return true; }

 private:
  float level_;
};

TEST_F(DiskDevice, SourcesAreSummedAndTurnedDownBeforeFullScale) {
  const std::vector<std::uint8_t> image = SteadyClip8(22050, 2205, kHalfUp);
  SteadySource music(0.8f);
  {
    SdlAudioOutput output;
    SdlClipPlayer player(output);
    output.addSource(&music);
    PeriodCounter listener(output);
    player.play(image.data(), image.size());
    // The music never rests, so count periods instead: the clip's nine, and a third of a second of music
    // alone after them, all handed to the device.
    const long played = listener.periods;
    ASSERT_TRUE(WaitUntil([&] { return listener.periods >= played + 40; }));
    output.removeSource(&music);
  }
  const std::vector<float> out = Recorded();
  // 0.8 and 0.5 together would pass full scale: while the clip sounds the mix is held just under it.
  const auto [held, heldLast] = Span(out, [](float s) { return s > 0.85f; });
  ASSERT_GE(held, 0) << "the clip was not mixed with the other source";
  EXPECT_NEAR(heldLast - held + 1, 2L * 2205, kEdgeFrames);
  for (float sample : out) ASSERT_LE(std::fabs(sample), OutputLimiter::kCeiling);
  // Then the other source goes on alone, coming back up to its own level.
  const auto backUp = [](float s) { return s > 0.75f && s <= 0.8f; };
  EXPECT_GT(Span(out, backUp, heldLast + 1).first, heldLast);
}

TEST_F(DiskDevice, BrokenImagesAreSilentAndSayNothing) {
  const std::vector<std::uint8_t> good = SteadyClip8(22050, 2000, kHalfUp);
  const std::vector<std::uint8_t> truncated(good.begin(), good.begin() + 1000);
  const std::vector<std::uint8_t> garbage(2000, 0x5A);
  ::testing::internal::CaptureStderr();
  {
    SdlAudioOutput output;
    SdlClipPlayer player(output);
    PeriodCounter listener(output);
    player.play(nullptr, 0);
    player.play(garbage.data(), garbage.size());
    player.play(truncated.data(), truncated.size());
    player.play(good.data(), 0);
    WaitUntilPlayed(listener);  // had anything started, it would have been played out by now
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  const std::vector<float> out = Recorded();
  EXPECT_FALSE(out.empty());
  EXPECT_LT(Span(out, Sounding).first, 0);
}

TEST_F(DiskDevice, TheGameStillAnswersTerminationSignals) {
  SdlAudioOutput output;
  ASSERT_TRUE(output.isOpen());
  for (int signal : {SIGINT, SIGTERM}) {
    struct sigaction action {};
    sigaction(signal, nullptr, &action);
    EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal;
  }
}

// ---------------------------------------------------------------------------------------------------
// No usable device

TEST(NoSoundDevice, PlayingIsSilentAndSaysNothing) {
  const std::vector<std::uint8_t> image = SteadyClip8(22050, 2000, kHalfUp);
  struct Setup {
    const char* driver;
    const char* diskFile;
  };
  // An unknown driver fails SDL's start; ALSA without a card (as on a build machine) or a disk file that
  // cannot be made fails the opening of the device.
  for (const Setup s : {Setup{"no-such-driver", nullptr}, Setup{"alsa", nullptr},
                        Setup{"disk", "/nonexistent-folder/out.raw"}}) {
    SCOPED_TRACE(s.driver);
    testing::ScopedProcessState process;
    process.setEnv("SDL_AUDIODRIVER", s.driver);
    if (s.diskFile != nullptr) process.setEnv("SDL_DISKAUDIOFILE", s.diskFile);
    ::testing::internal::CaptureStderr();
    {
      SdlAudioOutput output;
      if (s.driver != std::string("alsa")) {  // a machine with a sound card may well open ALSA
        EXPECT_FALSE(output.isOpen());
      }
      SdlClipPlayer player(output);
      player.play(image.data(), image.size());
      player.play(image.data(), image.size());
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  }
}

}  // namespace
}  // namespace nokturna
