// The four sound effects carried inside the program: 1 a line claimed, 2 a game over, 3 how to play,
// 4 about.
#pragma once

#include <cstdint>
#include <vector>

#include "audio/clip_player.h"

namespace nokturna {

// Sound effects wanted; on at every start, switched by the Sound menu. Callers test it before playing.
extern bool soundOn;

// The clip handed to the player last; it stays alive while that clip sounds.
extern std::vector<std::uint8_t> clipData;

// The player every clip goes to; null means silence. The program installs the real device, tests a fake.
void SetClipPlayer(ClipPlayer* player);

// Loads clip `id` from the program's resources into clipData, starts it, then lets pending window
// events (but not user input) be handled once, so the newly drawn line shows at once.
void PlaySoundClip(std::int16_t id);

}  // namespace nokturna
