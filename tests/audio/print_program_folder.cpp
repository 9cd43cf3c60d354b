// SPDX-FileCopyrightText: 2026 The Nokturna team
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Writes ProgramFolder() to standard output, byte for byte: the folder tests copy it into is its own.
#include <cstdio>

#include "audio/program_folder.h"

int main() {
  const std::string folder = nokturna::ProgramFolder();
  std::fwrite(folder.data(), 1, folder.size(), stdout);
  return 0;
}
