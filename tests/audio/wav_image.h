// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Builds small RIFF WAVE images in memory, and reads the facts a test checks back out of them.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace nokturna::testing {

struct WavChunk {
  std::string id;  // four characters
  std::vector<std::uint8_t> body;
};

inline void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline std::uint32_t GetLe(const std::vector<std::uint8_t>& in, std::size_t at, int bytes) {
  std::uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= std::uint32_t{in[at + i]} << (8 * i);
  return value;
}

inline WavChunk FmtChunk(int rate, int channels, int bits) {
  WavChunk fmt{"fmt ", {}};
  const int blockAlign = channels * bits / 8;
  PutLe(fmt.body, 1, 2);  // PCM
  PutLe(fmt.body, channels, 2);
  PutLe(fmt.body, rate, 4);
  PutLe(fmt.body, rate * blockAlign, 4);
  PutLe(fmt.body, blockAlign, 2);
  PutLe(fmt.body, bits, 2);
  return fmt;
}

inline std::vector<std::uint8_t> RiffImage(const std::vector<WavChunk>& chunks) {
  std::vector<std::uint8_t> body{'W', 'A', 'V', 'E'};
  for (const WavChunk& chunk : chunks) {
    body.insert(body.end(), chunk.id.begin(), chunk.id.end());
    PutLe(body, static_cast<std::uint32_t>(chunk.body.size()), 4);
    body.insert(body.end(), chunk.body.begin(), chunk.body.end());
    if (chunk.body.size() % 2 != 0) body.push_back(0);
  }
  std::vector<std::uint8_t> image{'R', 'I', 'F', 'F'};
  PutLe(image, static_cast<std::uint32_t>(body.size()), 4);
  image.insert(image.end(), body.begin(), body.end());
  return image;
}

// 8-bit mono PCM holding one level throughout (0x80 is silence, 0xC0 half scale up, 0x40 half down).
inline std::vector<std::uint8_t> SteadyClip8(int rate, int frames, std::uint8_t level) {
  return RiffImage({FmtChunk(rate, 1, 8), {"data", std::vector<std::uint8_t>(frames, level)}});
}

// The same, with a "fact" chunk before the data and a "LIST" chunk of text after it. The text bytes would
// sound far from `level` if they were ever taken for samples.
inline std::vector<std::uint8_t> SteadyClip8WithMetadata(int rate, int frames, std::uint8_t level) {
  WavChunk fact{"fact", {}};
  PutLe(fact.body, frames, 4);
  static const char kInfo[] = "INFOICMT\x0b\0\0\0a test clip";
  const std::string info(kInfo, sizeof kInfo - 1);
  WavChunk list{"LIST", std::vector<std::uint8_t>(info.begin(), info.end())};
  return RiffImage({FmtChunk(rate, 1, 8), fact, {"data", std::vector<std::uint8_t>(frames, level)}, list});
}

struct WavFacts {
  int rate = 0;
  int blockAlign = 0;
  std::uint32_t dataBytes = 0;
  std::vector<std::string> chunkIds;
};

// Walks the chunks of a well-formed image independently of the player's loader.
inline WavFacts ReadWavFacts(const std::vector<std::uint8_t>& image) {
  WavFacts facts;
  std::size_t at = 12;
  while (at + 8 <= image.size()) {
    const std::string id(image.begin() + at, image.begin() + at + 4);
    const std::uint32_t size = GetLe(image, at + 4, 4);
    facts.chunkIds.push_back(id);
    if (id == "fmt ") {
      facts.rate = static_cast<int>(GetLe(image, at + 12, 4));
      facts.blockAlign = static_cast<int>(GetLe(image, at + 20, 2));
    } else if (id == "data") {
      facts.dataBytes = size;
    }
    at += 8 + size + (size % 2);
  }
  return facts;
}

}  // namespace nokturna::testing
