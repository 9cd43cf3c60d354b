// The game's four sound effects, by the moment each one sounds. They are built into the program from
// assets/sounds/ (drawn by tools/make_clips.cpp).
#pragma once

namespace nokturna {

enum class Clip {
  LineClaimed,  // assets/sounds/1.wav: a line is claimed, by a person or by the computer
  GameOver,     // assets/sounds/2.wav: the last square is won
  HowToPlay,    // assets/sounds/3.wav: the how-to-play window opens
  About,        // assets/sounds/4.wav: the About window opens
};

inline constexpr int kClipCount = 4;

// Where the clip's WAV image lies among the program's resources: ":/sounds/1.wav" for LineClaimed, and on.
inline constexpr const char* ClipResource(Clip clip) {
  constexpr const char* kResources[kClipCount] = {":/sounds/1.wav", ":/sounds/2.wav", ":/sounds/3.wav",
                                                  ":/sounds/4.wav"};
  return kResources[static_cast<int>(clip)];
}

}  // namespace nokturna
