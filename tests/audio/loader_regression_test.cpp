// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Images found by fuzzing the clip and song loaders (fuzz/), each of which once crashed, ran out of memory
// or hit undefined behaviour. Run under the sanitizer build too, where the last kind shows.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/sdl_audio_output.h"
#include "audio/sdl_clip_player.h"

namespace nokturna {
namespace {

std::vector<std::uint8_t> FromBase64(const std::string& text) {
  const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::vector<std::uint8_t> bytes;
  std::uint32_t bits = 0;
  int count = 0;
  for (char c : text) {
    const auto at = digits.find(c);
    if (at == std::string::npos) continue;
    bits = bits << 6 | static_cast<std::uint32_t>(at);
    count += 6;
    if (count >= 8) {
      count -= 8;
      bytes.push_back(static_cast<std::uint8_t>(bits >> count & 0xff));
    }
  }
  return bytes;
}

// Watches SDL's allocations (passing each on to SDL's own allocator) for the largest single request.
struct AllocationWatch {
  AllocationWatch() {
    SDL_GetMemoryFunctions(&malloc_, &calloc_, &realloc_, &free_);
    largest = 0;
    SDL_SetMemoryFunctions(&Malloc, &Calloc, &Realloc, free_);
  }
  ~AllocationWatch() { SDL_SetMemoryFunctions(malloc_, calloc_, realloc_, free_); }

  static void* Malloc(std::size_t size) {
    largest = std::max(largest, size);
    return malloc_(size);
  }
  static void* Calloc(std::size_t count, std::size_t size) {
    largest = std::max(largest, count * size);
    return calloc_(count, size);
  }
  static void* Realloc(void* block, std::size_t size) {
    largest = std::max(largest, size);
    return realloc_(block, size);
  }

  static inline SDL_malloc_func malloc_;
  static inline SDL_calloc_func calloc_;
  static inline SDL_realloc_func realloc_;
  static inline SDL_free_func free_;
  static inline std::size_t largest;
};

TEST(ClipLoaderRegressions, ADataChunkLongerThanTheImageAllocatesNothingLarge) {
  // 66 bytes whose "data" chunk claims 0xff9c0064 bytes: SDL used to ask for all of them up front.
  const auto image =
      FromBase64("UklGRkAAAABXQVZFZm10IBAAAAABAAIAIlYAAIhYAQAEABAATElTVAQAAABJTkZPZGF0YWQAnP/QBzD4/38AgAUA");
  ASSERT_EQ(image.size(), 66u);
  AllocationWatch watch;
  EXPECT_TRUE(DecodeClip(image.data(), image.size()).empty());
  EXPECT_LT(AllocationWatch::largest, std::size_t{1} << 20);
}

TEST(ClipLoaderRegressions, AClipThatConvertsToLessThanAFrameIsEmpty) {
  // 16-bit stereo at 2,381,346 Hz, four frames long: resampled to the output rate nothing is left, and the
  // empty copy once went through a null pointer.
  const auto image = FromBase64(
      "UklGRkAAAABXQVZFZm10IBAAAAABAAIAIlYkAIhYAQAEABAATElTVAQAAABJTkZPZGF0YRAAAAAAAGQAnP/QBzD4/38AgAUA");
  ASSERT_EQ(image.size(), 72u);
  const std::vector<float> clip = DecodeClip(image.data(), image.size());
  EXPECT_EQ(clip.size() % SdlAudioOutput::kOutputChannels, 0u);
  EXPECT_TRUE(clip.empty());
}

}  // namespace
}  // namespace nokturna
