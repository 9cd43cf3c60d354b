// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// SDL's "disk" driver as the tests' sound card: it writes the mixed stream to a file in the device format
// (float stereo), paced in real time like a real card.
#pragma once

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/audio/scoped_process_state.h"

namespace nokturna::testing {

// For every output opened while `state` lives.
inline void UseDiskDevice(ScopedProcessState& state, const std::string& file) {
  state.setEnv("SDL_AUDIODRIVER", "disk");
  state.setEnv("SDL_DISKAUDIOFILE", file.c_str());
  state.setEnv("SDL_DISKAUDIODELAY", nullptr);  // paced in real time, as by a sound card
}

// The samples the device has been given so far (none before it has written).
inline std::vector<float> ReadRecording(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<float> stereo(bytes.size() / sizeof(float));
  if (!stereo.empty()) std::memcpy(stereo.data(), bytes.data(), stereo.size() * sizeof(float));
  return stereo;
}

}  // namespace nokturna::testing
