// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A source that only listens: it never asks to sound, counts the periods the output mixes, and hears
// each time the output looks for sound and finds none. It joins the output last, and the output asks its
// sources in order and stops at the first that sounds, so a look reaches it only when nothing sounds.
#pragma once

#include <atomic>

#include "audio/sdl_audio_output.h"

namespace nokturna::testing {

class PeriodCounter : public AudioSource {
 public:
  explicit PeriodCounter(SdlAudioOutput& output) : output_(output) { output_.addSource(this); }
  ~PeriodCounter() override { output_.removeSource(this); }
  PeriodCounter(const PeriodCounter&) = delete;
  PeriodCounter& operator=(const PeriodCounter&) = delete;

  void mixInto(float*, int) override {
    ++periods;
    quietLooks = 0;
  }
  bool sounding() override {
    ++looks;
    ++quietLooks;
    return false;
  }

  std::atomic<long> periods{0};
  // A look comes at the start of a period, after the device took the one before it: a look that follows
  // a play() call means the clip has been mixed and handed to the device to its last frame.
  std::atomic<long> looks{0};
  std::atomic<long> quietLooks{0};  // since the last period mixed

 private:
  SdlAudioOutput& output_;
};

}  // namespace nokturna::testing
