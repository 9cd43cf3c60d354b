// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Any bytes as a sound clip: DecodeClip must return a clip in the output's format or nothing, never crash,
// read past the image or leak.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "audio/sdl_audio_output.h"
#include "audio/sdl_clip_player.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<float> clip = nokturna::DecodeClip(data, size);
  // Whole stereo frames only: the mixer walks the clip two samples at a time.
  if (clip.size() % nokturna::SdlAudioOutput::kOutputChannels != 0) std::abort();
  return 0;
}
