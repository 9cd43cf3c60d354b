// A source that only listens: it counts the periods the output mixes and never asks to sound.
#pragma once

#include <atomic>

#include "audio/sdl_audio_output.h"

namespace nokturna::testing {

class PeriodCounter : public AudioSource {
 public:
  void mixInto(float*, int) override { ++periods; }
  bool sounding() override { return false; }
  std::atomic<long> periods{0};
};

}  // namespace nokturna::testing
