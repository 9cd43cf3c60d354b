// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The sound-effect player on the game's SDL output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/clip_player.h"
#include "audio/sdl_audio_output.h"

namespace nokturna {

// Plays one clip at a time through the output: a new clip replaces the sounding one mid-period.
// play() converts the WAV image into a buffer of the player's own before it returns, so the caller may
// release or overwrite the image at once.
class SdlClipPlayer : public ClipPlayer, private AudioSource {
 public:
  // Joins `output`, which must outlive the player.
  explicit SdlClipPlayer(SdlAudioOutput& output);
  ~SdlClipPlayer() override;
  SdlClipPlayer(const SdlClipPlayer&) = delete;
  SdlClipPlayer& operator=(const SdlClipPlayer&) = delete;

  void play(const std::uint8_t* wavImage, std::size_t size) override;

 private:
  using Clip = std::vector<float>;

  void mixInto(float* stereo, int frames) override;
  bool sounding() override;
  void takeNewClip();

  SdlAudioOutput& output_;
  // The hand-over (see audio_source.h): play() leaves a new clip here and takes back what was here, and
  // the audio thread takes the new clip and leaves the one it played, so clips are made and freed on the
  // game's thread alone. Held for a swap of two pointers, never longer.
  std::mutex handOverMutex_;
  std::unique_ptr<const Clip> handedOver_;
  bool fresh_ = false;  // handedOver_ is a clip play() left, not one the audio thread is done with
  // Touched only under the output's source lock: by the audio thread as it mixes, by the keeper as it asks.
  std::unique_ptr<const Clip> sounding_;
  std::size_t nextSample_ = 0;
};

// A WAV image from memory in the output's format (interleaved float stereo at kOutputRate). Chunks other
// than "fmt " and "data" are skipped. Empty when the image cannot be read or converted.
std::vector<float> DecodeClip(const std::uint8_t* wavImage, std::size_t size);

}  // namespace nokturna
