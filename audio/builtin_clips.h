// SPDX-FileCopyrightText: 2026 The Nokturna team
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The game's four clips as the sound program holds them: the WAV files of assets/sounds/, byte for byte,
// built into it (audio/embed_clips.cmake), so that a sound program started afresh has them at once.
#pragma once

#include <cstdint>
#include <span>

#include "audio/clip.h"

namespace nokturna {

// The clip's WAV image, valid for as long as the program runs.
std::span<const std::uint8_t> BuiltInClip(Clip clip);

}  // namespace nokturna
