// SDL's "disk" driver as the tests' sound card: it writes the mixed stream to a file in the device format
// (float stereo), paced in real time like a real card.
#pragma once

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace nokturna::testing {

// For every output opened from now on.
inline void UseDiskDevice(const std::string& file) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  unsetenv("SDL_DISKAUDIODELAY");  // real-time pacing, so a test's sleeps mean what they say
}

// The samples the device was given; read once the output is closed.
inline std::vector<float> ReadRecording(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<float> stereo(bytes.size() / sizeof(float));
  std::memcpy(stereo.data(), bytes.data(), stereo.size() * sizeof(float));
  return stereo;
}

}  // namespace nokturna::testing
