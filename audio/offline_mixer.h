// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The sources' sound rendered on the calling thread, as fast as they can give it: no device, and no
// limiter after the mix. For hearing the music offline (the tests, the loudness benchmark, the song
// fuzzer) exactly as a device would be given it. Unlike a device it waits for a source that is behind
// (AudioSource::awaitFrames), so what it renders has no gap a busy machine would have put in.
//
// Every call but wake() comes from one thread, the one that renders.
#pragma once

#include <vector>

#include "audio/audio_source.h"

namespace nokturna {

class OfflineMixer : public AudioMixer {
 public:
  void addSource(AudioSource* source) override;
  void removeSource(AudioSource* source) override;
  void wake() override {}  // the mixer never rests

  // The next `frames` stereo frames (interleaved left/right), in periods of SdlAudioOutput::kPeriodFrames
  // as the device asks for them.
  std::vector<float> render(long frames);
  // Whether any source has anything to play.
  bool sounding();

 private:
  std::vector<AudioSource*> sources_;
};

}  // namespace nokturna
