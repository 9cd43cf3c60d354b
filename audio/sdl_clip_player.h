// The sound-effect player on the game's SDL output.
#pragma once

#include <cstddef>
#include <cstdint>
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
  void mixInto(float* stereo, int frames) override;
  bool sounding() override { return nextSample_ < clip_.size(); }

  SdlAudioOutput& output_;
  // Touched by the audio thread; changed only under SdlAudioOutput::Lock.
  std::vector<float> clip_;
  std::size_t nextSample_ = 0;
};

// A WAV image from memory in the output's format (interleaved float stereo at kOutputRate). Chunks other
// than "fmt " and "data" are skipped. Empty when the image cannot be read or converted.
std::vector<float> DecodeClip(const std::uint8_t* wavImage, std::size_t size);

}  // namespace nokturna
