// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's four sound effects, by the moment each one sounds. They are built into the sound program
// from assets/sounds/ (drawn by tools/make_clips.cpp): see builtin_clips.h.
#pragma once

namespace nokturna {

enum class Clip {
  LineClaimed,  // assets/sounds/1.wav: a line is claimed, by a person or by the computer
  GameOver,     // assets/sounds/2.wav: the last square is won
  HowToPlay,    // assets/sounds/3.wav: the how-to-play window opens
  About,        // assets/sounds/4.wav: the About window opens
};

inline constexpr int kClipCount = 4;

}  // namespace nokturna
