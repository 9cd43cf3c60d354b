// SPDX-FileCopyrightText: 2026 The Nokturna team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/program_folder.h"

#include <limits.h>
#include <unistd.h>

#include <vector>

namespace nokturna {

std::string ProgramFolder() {
  // The kernel's own link to the program's file: its bytes, taken as they are.
  std::vector<char> path(PATH_MAX + 1);
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return {};
  const std::string program(path.data(), static_cast<std::size_t>(length));
  const std::size_t separator = program.rfind('/');
  if (separator == std::string::npos) return {};
  return separator == 0 ? "/" : program.substr(0, separator);
}

}  // namespace nokturna
