// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A SoundFont cut down to the presets of some programs (see soundfont_presets.h for why): the file's
// bytes up to its preset data, then that data cut down to the presets of those programs, in every bank,
// and the instruments they use. The samples stay where they are in the file.
#pragma once

#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace nokturna {

// General MIDI programs, 0 to 127.
using Programs = std::bitset<128>;

// What the synthesizer reads in place of a font file: the file's own bytes, but for its first `riff`
// bytes and everything from `presetsAt` on, which come from memory.
struct FontImage {
  std::string path;                   // the real file
  std::vector<std::uint8_t> riff;     // the file's first bytes as the image has them (its RIFF size)
  std::uint64_t presetsAt = 0;        // where the preset data starts, in the file and in the image
  std::vector<std::uint8_t> presets;  // the image's preset data, a whole LIST chunk
  std::uint64_t size() const { return presetsAt + presets.size(); }
};

// The image for `programs`; null when the file is not laid out as expected (preset data last, every
// index within its list), or cannot be read. Reads the file (font_file.h).
std::shared_ptr<const FontImage> CutSoundFont(const std::string& path, const Programs& programs);

// The whole font as an image, every byte read from the file; null when it cannot be opened.
std::shared_ptr<const FontImage> WholeSoundFont(const std::string& path);

}  // namespace nokturna
