// The sound back end as a module loaded into the game's own process (see sound_loader.h), told what is
// wanted by plain calls on the UI thread: a clip goes to the clip player as its built-in WAV image, the
// music to the music engine.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "audio/clip_player.h"
#include "audio/music_engine.h"
#include "audio/sound_back_end.h"

namespace nokturna {

class InProcessBackEnd : public SoundBackEnd {
 public:
  // Both must outlive it.
  InProcessBackEnd(ClipPlayer& clips, MusicEngine& music);

  void bringTo(const WantedMusic& wanted) override;
  void play(Clip clip) override;

 private:
  void beginSong(const WantedMusic& wanted);

  ClipPlayer& clips_;
  MusicEngine& music_;
  unsigned choiceBegun_ = 0;  // the last song choice carried out
  // Read from the resources on first use and kept: a player may read a clip's bytes while it sounds.
  std::array<std::vector<std::uint8_t>, kClipCount> clipImages_;
};

}  // namespace nokturna
