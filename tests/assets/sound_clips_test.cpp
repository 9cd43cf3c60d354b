// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QByteArray>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "audio/builtin_clips.h"

namespace {

struct Chunk {
  std::string tag;
  std::uint32_t size;
  qsizetype offset;  // of the chunk's body
};

std::uint32_t le32(const QByteArray& b, qsizetype at) {
  return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
         static_cast<std::uint8_t>(b[at + 2]) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}
std::uint16_t le16(const QByteArray& b, qsizetype at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1])
                                                                           << 8);
}

// The clip as the sound program carries it.
QByteArray loadClip(int id) {
  const std::span<const std::uint8_t> image = nokturna::BuiltInClip(static_cast<nokturna::Clip>(id - 1));
  return QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size()));
}

// Walks the chunks of a RIFF WAVE image; fails the test on a broken layout.
std::vector<Chunk> chunksOf(const QByteArray& wav) {
  std::vector<Chunk> out;
  EXPECT_GE(wav.size(), 12);
  if (wav.size() < 12) return out;
  EXPECT_EQ(wav.left(4), QByteArray("RIFF"));
  EXPECT_EQ(le32(wav, 4), static_cast<std::uint32_t>(wav.size() - 8)) << "RIFF size field";
  EXPECT_EQ(wav.mid(8, 4), QByteArray("WAVE"));
  qsizetype at = 12;
  while (at + 8 <= wav.size()) {
    Chunk c{wav.mid(at, 4).toStdString(), le32(wav, at + 4), at + 8};
    out.push_back(c);
    at = c.offset + c.size + (c.size % 2);  // odd chunks carry a pad byte
  }
  EXPECT_EQ(at, wav.size()) << "chunks must fill the file exactly";
  return out;
}

const Chunk* find(const std::vector<Chunk>& chunks, const std::string& tag) {
  for (const Chunk& c : chunks)
    if (c.tag == tag) return &c;
  return nullptr;
}

struct ClipFormat {
  int id;
  std::uint32_t rate;
  std::uint32_t sampleBytes;
  qsizetype fileBytes;
  bool extraChunks;  // "fact" and a trailing "LIST"
};

class SoundClip : public ::testing::TestWithParam<ClipFormat> {};

TEST_P(SoundClip, IsAnExactPcmMono8BitImage) {
  const ClipFormat& want = GetParam();
  QByteArray wav = loadClip(want.id);
  ASSERT_FALSE(wav.isEmpty()) << "clip " << want.id << " is not in the resources";
  EXPECT_EQ(wav.size(), want.fileBytes);

  std::vector<Chunk> chunks = chunksOf(wav);
  ASSERT_FALSE(chunks.empty());
  EXPECT_EQ(chunks.front().tag, "fmt ") << "the format comes first";
  const Chunk* fmt = find(chunks, "fmt ");
  const Chunk* data = find(chunks, "data");
  ASSERT_NE(fmt, nullptr);
  ASSERT_NE(data, nullptr);
  ASSERT_TRUE(fmt->size == 16 || fmt->size == 18);
  if (fmt->size == 18) {
    EXPECT_EQ(le16(wav, fmt->offset + 16), 0) << "no extra format bytes";
  }
  EXPECT_EQ(le16(wav, fmt->offset), 1) << "PCM";
  EXPECT_EQ(le16(wav, fmt->offset + 2), 1) << "mono";
  EXPECT_EQ(le32(wav, fmt->offset + 4), want.rate);
  EXPECT_EQ(le32(wav, fmt->offset + 8), want.rate) << "bytes per second";
  EXPECT_EQ(le16(wav, fmt->offset + 12), 1) << "block align";
  EXPECT_EQ(le16(wav, fmt->offset + 14), 8) << "bits per sample";
  EXPECT_EQ(data->size, want.sampleBytes);

  const Chunk* fact = find(chunks, "fact");
  const Chunk* list = find(chunks, "LIST");
  if (want.extraChunks) {
    ASSERT_NE(fact, nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(fact->size, 4u);
    EXPECT_EQ(le32(wav, fact->offset), want.sampleBytes) << "fact counts the samples";
    EXPECT_LT(fact->offset, data->offset);
    EXPECT_GT(list->offset, data->offset) << "metadata trails the samples";
    EXPECT_EQ(wav.mid(list->offset, 4), QByteArray("INFO"));
  }
}

TEST_P(SoundClip, SoundsWithoutClippingOrClicks) {
  const ClipFormat& want = GetParam();
  QByteArray wav = loadClip(want.id);
  const Chunk* data = nullptr;
  std::vector<Chunk> chunks = chunksOf(wav);
  data = find(chunks, "data");
  ASSERT_NE(data, nullptr);
  const auto* s = reinterpret_cast<const std::uint8_t*>(wav.constData() + data->offset);
  const std::uint32_t n = data->size;
  int lo = 255, hi = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    lo = std::min<int>(lo, s[i]);
    hi = std::max<int>(hi, s[i]);
  }
  EXPECT_GT(hi - lo, 100) << "clip is (nearly) silent";
  EXPECT_GT(lo, 0) << "clip clips at the bottom";
  EXPECT_LT(hi, 255) << "clip clips at the top";
  // Both ends rest on the centre line: the clip rises from silence and its
  // tail fades out, so starting it or letting it end does not click.
  for (std::uint32_t i = 0; i < 2; ++i) EXPECT_NEAR(s[i], 128, 3) << "sample " << i;
  for (std::uint32_t i = n - 32; i < n; ++i) EXPECT_NEAR(s[i], 128, 3) << "sample " << i;
}

INSTANTIATE_TEST_SUITE_P(AllClips, SoundClip,
                         ::testing::Values(ClipFormat{1, 22050, 4046, 4180, false},
                                           ClipFormat{2, 22050, 38909, 39024, true},
                                           ClipFormat{3, 11025, 40153, 40200, false},
                                           ClipFormat{4, 11025, 57880, 58020, true}),
                         [](const auto& info) { return "Clip" + std::to_string(info.param.id); });

}  // namespace
