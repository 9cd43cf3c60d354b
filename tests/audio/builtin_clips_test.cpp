// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's own four clips as the sound program holds them, on the SDL player's decoder: every sample of
// their data, none of their metadata.
#include "audio/builtin_clips.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "audio/sdl_audio_output.h"
#include "audio/sdl_clip_player.h"
#include "tests/audio/wav_image.h"

namespace nokturna {
namespace {

std::vector<std::uint8_t> BuiltInClip(int id) {
  const std::span<const std::uint8_t> image = BuiltInClip(static_cast<Clip>(id - 1));
  return {image.begin(), image.end()};
}

long ExpectedFrames(const testing::WavFacts& facts) {
  const long sourceFrames = static_cast<long>(facts.dataBytes) / facts.blockAlign;
  return sourceFrames * SdlAudioOutput::kOutputRate / facts.rate;
}

TEST(BuiltInClips, EachDecodesToItsWholeDataAndNoMore) {
  for (int id = 1; id <= 4; ++id) {
    SCOPED_TRACE(id);
    const std::vector<std::uint8_t> image = BuiltInClip(id);
    ASSERT_FALSE(image.empty());
    const testing::WavFacts facts = testing::ReadWavFacts(image);
    ASSERT_GT(facts.rate, 0);
    if (id == 2 || id == 4) {  // what makes these two the test of skipping metadata
      EXPECT_NE(std::find(facts.chunkIds.begin(), facts.chunkIds.end(), "fact"), facts.chunkIds.end());
      EXPECT_NE(std::find(facts.chunkIds.begin(), facts.chunkIds.end(), "LIST"), facts.chunkIds.end());
    }
    const std::vector<float> clip = DecodeClip(image.data(), image.size());
    EXPECT_NEAR(static_cast<long>(clip.size()) / 2, ExpectedFrames(facts), 16);
  }
}

}  // namespace
}  // namespace nokturna
