// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/offline_mixer.h"

#include <algorithm>

#include "audio/sdl_audio_output.h"

namespace nokturna {

void OfflineMixer::addSource(AudioSource* source) {
  if (std::find(sources_.begin(), sources_.end(), source) == sources_.end()) sources_.push_back(source);
}

void OfflineMixer::removeSource(AudioSource* source) {
  sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

std::vector<float> OfflineMixer::render(long frames) {
  std::vector<float> stereo(static_cast<std::size_t>(2 * std::max(frames, 0L)), 0.0f);
  for (long done = 0; done < frames; done += SdlAudioOutput::kPeriodFrames) {
    const int period = static_cast<int>(std::min<long>(SdlAudioOutput::kPeriodFrames, frames - done));
    for (AudioSource* source : sources_) {
      source->awaitFrames(period);
      source->mixInto(stereo.data() + 2 * done, period);
    }
  }
  return stereo;
}

bool OfflineMixer::sounding() {
  return std::any_of(sources_.begin(), sources_.end(),
                     [](AudioSource* source) { return source->sounding(); });
}

}  // namespace nokturna
