// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The threads of the test's own process, told apart by the names the back end gives its own
// (audio/audio_source.h): a sanitizer's or a library's threads come and go as they please.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace nokturna::testing {

// How many threads of the process have a name that begins with `prefix`.
inline int ThreadsNamed(const std::string& prefix) {
  int count = 0;
  std::error_code error;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
    std::string name;
    std::getline(std::ifstream(task.path() / "comm"), name);
    count += name.rfind(prefix, 0) == 0;
  }
  return count;
}

}  // namespace nokturna::testing
