// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// SoundFont files, read from a thread that may be asked to stop. The music engine reads its fonts on
// threads of its own (the loader, and the renderer when a song needs presets or samples), and shutting the
// engine down must not wait for them: on such a thread a read fails at once once the thread is asked to
// stop, and an open that the kernel would hold up (the file leased by another program) is tried again
// every few milliseconds, without blocking, until it goes through or the thread is asked to stop. On a
// thread without a stop token an open that would be held up fails at once instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>

namespace nokturna {

// For as long as it lives, font reading on the calling thread gives up once `stop` is requested.
class StopFontReadingOn {
 public:
  explicit StopFontReadingOn(std::stop_token stop);
  ~StopFontReadingOn();
  StopFontReadingOn(const StopFontReadingOn&) = delete;
  StopFontReadingOn& operator=(const StopFontReadingOn&) = delete;
};

// True once the calling thread's reading has been asked to stop.
bool FontReadingStopped();

class FontFile {
 public:
  // Null when the file is missing, not a regular file or unreadable, or reading was stopped meanwhile.
  static std::unique_ptr<FontFile> Open(const std::string& path);
  ~FontFile();
  FontFile(const FontFile&) = delete;
  FontFile& operator=(const FontFile&) = delete;

  // The size the file had when it was opened.
  std::uint64_t size() const { return size_; }
  // Reads `bytes` bytes from `offset` on, all of them or none.
  bool readAt(std::uint64_t offset, void* into, std::size_t bytes);

 private:
  friend bool LooksLikeSoundFont(const std::string& path);
  // As Open(), and says whether the file was there but held up when it gives up.
  static std::unique_ptr<FontFile> Open(const std::string& path, bool& heldUp);
  FontFile(int descriptor, std::uint64_t size) : descriptor_(descriptor), size_(size) {}
  int descriptor_;
  std::uint64_t size_;
};

// Whether the file at `path` begins as a SoundFont does ("RIFF", a size, "sfbk"). A file the kernel holds
// up for another program counts as one on a thread that would not wait for it: the loading thread finds
// out.
bool LooksLikeSoundFont(const std::string& path);

}  // namespace nokturna
