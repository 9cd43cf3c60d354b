// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/font_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>

namespace nokturna {

namespace {

thread_local std::stop_token threadStop;

// How often an open the kernel holds up is tried again: a shutdown never waits longer than this for it.
constexpr auto kRetryEvery = std::chrono::milliseconds(5);
// Reads are made in pieces of this size, so that a stop is heard between two of them.
constexpr std::size_t kLargestRead = 1u << 20;

enum class Opened { Yes, No, HeldUp };

// Opens without waiting: a file under another program's lease fails with EWOULDBLOCK rather than holding
// the thread until the lease is let go (up to 45 s).
Opened OpenNow(const std::string& path, int& descriptor) {
  descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor >= 0) return Opened::Yes;
  return errno == EWOULDBLOCK ? Opened::HeldUp : Opened::No;
}

// Rests until the next try, or until the thread is asked to stop. False when it was.
bool RestBeforeTryingAgain() {
  std::mutex mutex;
  std::condition_variable_any stopped;
  std::unique_lock<std::mutex> lock(mutex);
  return !stopped.wait_for(lock, threadStop, kRetryEvery, [] { return false; });
}

}  // namespace

StopFontReadingOn::StopFontReadingOn(std::stop_token stop) { threadStop = std::move(stop); }

StopFontReadingOn::~StopFontReadingOn() { threadStop = std::stop_token(); }

bool FontReadingStopped() { return threadStop.stop_requested(); }

std::unique_ptr<FontFile> FontFile::Open(const std::string& path) {
  bool heldUp = false;
  return Open(path, heldUp);
}

std::unique_ptr<FontFile> FontFile::Open(const std::string& path, bool& heldUp) {
  int descriptor = -1;
  for (;;) {
    if (FontReadingStopped()) return nullptr;
    const Opened opened = OpenNow(path, descriptor);
    if (opened == Opened::Yes) break;
    heldUp = opened == Opened::HeldUp;
    if (!heldUp || !threadStop.stop_possible() || !RestBeforeTryingAgain()) return nullptr;
  }
  heldUp = false;
  struct stat status {};
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(descriptor);
    return nullptr;
  }
  return std::unique_ptr<FontFile>(new FontFile(descriptor, static_cast<std::uint64_t>(status.st_size)));
}

FontFile::~FontFile() { close(descriptor_); }

bool FontFile::readAt(std::uint64_t offset, void* into, std::size_t bytes) {
  auto* out = static_cast<char*>(into);
  while (bytes > 0) {
    if (FontReadingStopped()) return false;
    const ssize_t got = pread(descriptor_, out, std::min(bytes, kLargestRead), static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    out += got;
    offset += static_cast<std::uint64_t>(got);
    bytes -= static_cast<std::size_t>(got);
  }
  return true;
}

bool LooksLikeSoundFont(const std::string& path) {
  bool heldUp = false;
  const std::unique_ptr<FontFile> file = FontFile::Open(path, heldUp);
  if (file == nullptr) return heldUp;
  char header[12];
  if (!file->readAt(0, header, sizeof header)) return false;
  return std::memcmp(header, "RIFF", 4) == 0 && std::memcmp(header + 8, "sfbk", 4) == 0;
}

}  // namespace nokturna
