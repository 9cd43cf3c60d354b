// SPDX-FileCopyrightText: 2026 The Nokturna team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/sound_messages.h"

#include <time.h>

#include <string>
#include <type_traits>
#include <utility>

namespace nokturna {

namespace {

enum class Kind : std::uint8_t { Music = 1, Clip = 2, Progress = 3, ClipHeard = 4, Leaving = 5 };

constexpr std::size_t kHeader = 5;  // the length and the kind

class Writer {
 public:
  explicit Writer(Kind kind) {
    bytes_.resize(4);
    put(static_cast<std::uint8_t>(kind));
  }
  template <typename Integer>
  void put(Integer value) {
    using Unsigned = std::make_unsigned_t<Integer>;
    const auto bits = static_cast<Unsigned>(value);
    for (std::size_t i = 0; i < sizeof(Integer); ++i)
      bytes_.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
  }
  void put(bool value) { put(static_cast<std::uint8_t>(value ? 1 : 0)); }
  void putBytes(const std::string& text) { bytes_.insert(bytes_.end(), text.begin(), text.end()); }
  std::vector<std::uint8_t> finish() {
    const auto length = static_cast<std::uint32_t>(bytes_.size());
    for (std::size_t i = 0; i < 4; ++i) bytes_[i] = static_cast<std::uint8_t>(length >> (8 * i));
    return std::move(bytes_);
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  template <typename Integer>
  bool get(Integer& value) {
    if (bytes_.size() - at_ < sizeof(Integer)) return false;
    std::make_unsigned_t<Integer> bits = 0;
    for (std::size_t i = 0; i < sizeof(Integer); ++i) {
      bits |= static_cast<decltype(bits)>(static_cast<decltype(bits)>(bytes_[at_ + i]) << (8 * i));
    }
    at_ += sizeof(Integer);
    value = static_cast<Integer>(bits);
    return true;
  }
  bool get(bool& value) {
    std::uint8_t byte = 0;
    if (!get(byte) || byte > 1) return false;
    value = byte == 1;
    return true;
  }
  std::string rest() {
    std::string text(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), bytes_.end());
    at_ = bytes_.size();
    return text;
  }
  bool done() const { return at_ == bytes_.size(); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

void Put(Writer& out, const SongProgress& progress) {
  out.put(static_cast<std::uint32_t>(progress.choice));
  out.put(progress.heardTick);
  out.put(progress.over);
}

bool Get(Reader& in, SongProgress& progress) {
  std::uint32_t choice = 0;
  if (!in.get(choice) || !in.get(progress.heardTick) || !in.get(progress.over)) return false;
  progress.choice = choice;
  return progress.heardTick >= 0;
}

// The kind of a whole message, after checking that its length is the packet's.
std::optional<Kind> Open(Reader& in, std::span<const std::uint8_t> packet) {
  std::uint32_t length = 0;
  std::uint8_t kind = 0;
  if (packet.size() < kHeader || packet.size() > kLargestMessage || !in.get(length) ||
      length != packet.size() || !in.get(kind)) {
    return std::nullopt;
  }
  return static_cast<Kind>(kind);
}

}  // namespace

std::vector<std::uint8_t> Encode(const ToSound& message) {
  if (const auto* music = std::get_if<MusicMessage>(&message)) {
    Writer out(Kind::Music);
    out.put(static_cast<std::uint32_t>(music->wanted.choice));
    out.put(music->wanted.stopped);
    out.put(music->wanted.volumeSetting);
    Put(out, music->resumeFrom);
    out.putBytes(music->wanted.song);  // last: it is the rest of the message, whatever its bytes
    return out.finish();
  }
  const auto& clip = std::get<ClipMessage>(message);
  Writer out(Kind::Clip);
  out.put(static_cast<std::uint8_t>(clip.clip));
  out.put(clip.askedAtNs);
  return out.finish();
}

std::vector<std::uint8_t> Encode(const FromSound& message) {
  if (const auto* report = std::get_if<ProgressReport>(&message)) {
    Writer out(Kind::Progress);
    Put(out, report->progress);
    return out.finish();
  }
  if (std::holds_alternative<LeavingReport>(message)) return Writer(Kind::Leaving).finish();
  const auto& heard = std::get<ClipHeardReport>(message);
  Writer out(Kind::ClipHeard);
  out.put(heard.heardAtNs);
  out.put(heard.periodNs);
  return out.finish();
}

std::optional<ToSound> DecodeToSound(std::span<const std::uint8_t> packet) {
  Reader in(packet);
  const std::optional<Kind> kind = Open(in, packet);
  if (kind == Kind::Music) {
    MusicMessage music;
    std::uint32_t choice = 0;
    if (!in.get(choice) || !in.get(music.wanted.stopped) || !in.get(music.wanted.volumeSetting) ||
        !Get(in, music.resumeFrom)) {
      return std::nullopt;
    }
    music.wanted.choice = choice;
    music.wanted.song = in.rest();
    return music;
  }
  if (kind == Kind::Clip) {
    std::uint8_t clip = 0;
    ClipMessage message;
    if (!in.get(clip) || clip >= kClipCount || !in.get(message.askedAtNs) || !in.done()) return std::nullopt;
    message.clip = static_cast<Clip>(clip);
    return message;
  }
  return std::nullopt;
}

std::optional<FromSound> DecodeFromSound(std::span<const std::uint8_t> packet) {
  Reader in(packet);
  const std::optional<Kind> kind = Open(in, packet);
  if (kind == Kind::Progress) {
    ProgressReport report;
    if (!Get(in, report.progress) || !in.done()) return std::nullopt;
    return report;
  }
  if (kind == Kind::Leaving) {
    if (!in.done()) return std::nullopt;
    return LeavingReport{};
  }
  if (kind == Kind::ClipHeard) {
    ClipHeardReport heard;
    if (!in.get(heard.heardAtNs) || !in.get(heard.periodNs) || !in.done()) return std::nullopt;
    return heard;
  }
  return std::nullopt;
}

std::int64_t MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

}  // namespace nokturna
