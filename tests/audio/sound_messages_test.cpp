// SPDX-FileCopyrightText: 2026 The Nokturna team
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The messages between the game and its sound program: each arrives as it was sent, a path as its bytes,
// and anything that is not one whole message of ours is refused.
#include "audio/sound_messages.h"

#include <gtest/gtest.h>

#include <string>

namespace nokturna {
namespace {

TEST(SoundMessages, EachKindArrivesAsItWasSentAndAPathAsItsBytes) {
  // Blanks at the ends, a byte that is no UTF-8, a NUL and a byte that looks like a length.
  constexpr char kPath[] = " /opt/nok\xff turna /SongAlbum/Music1.mid \0\x05";
  const std::string path(kPath, sizeof kPath - 1);
  ASSERT_EQ(path.size(), 41u);
  MusicMessage music{WantedMusic{path, 7, true, -708}, SongProgress{7, 123456789012, true}};
  const auto decoded = DecodeToSound(Encode(ToSound{music}));
  ASSERT_TRUE(decoded && std::holds_alternative<MusicMessage>(*decoded));
  const auto& back = std::get<MusicMessage>(*decoded);
  EXPECT_EQ(back.wanted.song, path);
  EXPECT_EQ(back.wanted.choice, 7u);
  EXPECT_TRUE(back.wanted.stopped);
  EXPECT_EQ(back.wanted.volumeSetting, -708);
  EXPECT_EQ(back.resumeFrom, music.resumeFrom);

  const auto clip = DecodeToSound(Encode(ToSound{ClipMessage{Clip::About, -5}}));
  ASSERT_TRUE(clip && std::holds_alternative<ClipMessage>(*clip));
  EXPECT_EQ(std::get<ClipMessage>(*clip).clip, Clip::About);
  EXPECT_EQ(std::get<ClipMessage>(*clip).askedAtNs, -5);

  const auto report = DecodeFromSound(Encode(FromSound{ProgressReport{SongProgress{3, 960, false}}}));
  ASSERT_TRUE(report && std::holds_alternative<ProgressReport>(*report));
  EXPECT_EQ(std::get<ProgressReport>(*report).progress, (SongProgress{3, 960, false}));
  const auto heard = DecodeFromSound(Encode(FromSound{ClipHeardReport{11, 22}}));
  ASSERT_TRUE(heard && std::holds_alternative<ClipHeardReport>(*heard));
  EXPECT_EQ(std::get<ClipHeardReport>(*heard).heardAtNs, 11);
  const auto leaving = DecodeFromSound(Encode(FromSound{LeavingReport{}}));
  EXPECT_TRUE(leaving && std::holds_alternative<LeavingReport>(*leaving));
}

TEST(SoundMessages, WhatIsNotOneWholeMessageOfItsKindIsRefused) {
  const std::vector<std::uint8_t> clip = Encode(ToSound{ClipMessage{Clip::GameOver, 1}});
  const std::vector<std::uint8_t> report = Encode(FromSound{ProgressReport{}});
  EXPECT_FALSE(DecodeToSound({}));
  // Cut short, or with a byte more: the length no longer matches.
  EXPECT_FALSE(DecodeToSound({clip.data(), clip.size() - 1}));
  std::vector<std::uint8_t> longer = clip;
  longer.push_back(0);
  EXPECT_FALSE(DecodeToSound(longer));
  // A clip that does not exist, a flag that is neither 0 nor 1, an unknown kind.
  std::vector<std::uint8_t> noClip = clip;
  noClip[5] = kClipCount;
  EXPECT_FALSE(DecodeToSound(noClip));
  std::vector<std::uint8_t> badFlag = report;
  badFlag.back() = 2;
  EXPECT_FALSE(DecodeFromSound(badFlag));
  std::vector<std::uint8_t> unknown = clip;
  unknown[4] = 99;
  EXPECT_FALSE(DecodeToSound(unknown));
  // Each side reads only its own kinds.
  EXPECT_FALSE(DecodeFromSound(clip));
  EXPECT_FALSE(DecodeToSound(report));
}

}  // namespace
}  // namespace nokturna
