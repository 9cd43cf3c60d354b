// The game's sound back end as one piece: an output device with the clip player and the music engine on
// it. The program loads it at run time (see sound_loader.h), so it never links the sound libraries itself.
#pragma once

#include "audio/clip_player.h"
#include "audio/music_engine.h"

namespace nokturna {

class SoundSystem {
 public:
  virtual ~SoundSystem() = default;  // stops every sound and closes the device
  virtual ClipPlayer& clips() = 0;
  virtual MusicEngine& music() = 0;
};

// What the sound module exports: a new back end with the device open (or, without a device, one that
// plays nothing), owned by the caller. Meant for a thread that ends soon after: the sound library's data
// for the calling thread is freed before it returns.
using StartSoundFunction = SoundSystem*();
constexpr char kStartSoundSymbol[] = "NokturnaStartSound";

}  // namespace nokturna
