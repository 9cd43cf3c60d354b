// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/sdl_clip_player.h"

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

namespace nokturna {

namespace {

std::uint32_t ReadLe32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
         static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

// Walks the image's chunks before SDL sees it: SDL allocates a chunk's declared length before it finds
// out the image is shorter, so a 70-byte image that claims 4 GB of samples would ask for 4 GB. Every
// chunk must lie inside the image (the pad byte after an odd-sized last chunk may be missing), and the
// "fmt " and "data" chunks must both be there.
bool ChunksFitTheImage(const std::uint8_t* image, std::size_t size) {
  if (size < 12 || std::memcmp(image, "RIFF", 4) != 0 || std::memcmp(image + 8, "WAVE", 4) != 0) return false;
  bool format = false, data = false;
  std::size_t at = 12;
  while (size - at >= 8) {
    const std::uint32_t length = ReadLe32(image + at + 4);
    if (length > size - at - 8) return false;
    format = format || std::memcmp(image + at, "fmt ", 4) == 0;
    data = data || std::memcmp(image + at, "data", 4) == 0;
    at += 8 + static_cast<std::size_t>(length);
    if (length % 2 != 0 && at < size) ++at;
  }
  return format && data;
}

}  // namespace

std::vector<float> DecodeClip(const std::uint8_t* wavImage, std::size_t size) {
  if (wavImage == nullptr || size == 0 || size > static_cast<std::size_t>(INT_MAX)) return {};
  if (!ChunksFitTheImage(wavImage, size)) return {};
  // A clip cut short stays silent (SetSdlHints); a RIFF size that disagrees with the chunks, as some
  // editors write it, is forgiven.
  SetSdlHints();
  SDL_RWops* image = SDL_RWFromConstMem(wavImage, static_cast<int>(size));
  if (image == nullptr) return {};

  SDL_AudioSpec format{};
  Uint8* samples = nullptr;
  Uint32 sampleBytes = 0;
  if (SDL_LoadWAV_RW(image, 1, &format, &samples, &sampleBytes) == nullptr) return {};

  // SDL_AudioStream would be the newer way, but its resampler drops the tail of short clips in the SDL
  // we build against; the one-shot converter keeps every sample.
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, format.format, format.channels, format.freq, AUDIO_F32SYS,
                        SdlAudioOutput::kOutputChannels, SdlAudioOutput::kOutputRate) < 0) {
    SDL_FreeWAV(samples);
    return {};
  }
  const Uint32 frameBytes = SDL_AUDIO_BITSIZE(format.format) / 8 * format.channels;
  if (frameBytes == 0) {
    SDL_FreeWAV(samples);
    return {};
  }
  sampleBytes -= sampleBytes % frameBytes;  // a torn last frame would upset the converter

  std::vector<std::uint8_t> work(static_cast<std::size_t>(sampleBytes) *
                                 static_cast<std::size_t>(cvt.len_mult));
  if (sampleBytes != 0) std::memcpy(work.data(), samples, sampleBytes);
  SDL_FreeWAV(samples);
  if (work.empty()) return {};
  cvt.buf = work.data();
  cvt.len = static_cast<int>(sampleBytes);
  if (cvt.needed) {
    if (SDL_ConvertAudio(&cvt) != 0) return {};
  } else {
    cvt.len_cvt = cvt.len;
  }

  // Whole stereo frames only, and nothing to copy from a conversion that left less than one.
  constexpr std::size_t kFrameBytes = SdlAudioOutput::kOutputChannels * sizeof(float);
  const std::size_t converted = std::min(static_cast<std::size_t>(std::max(cvt.len_cvt, 0)), work.size());
  const std::size_t frames = converted / kFrameBytes;
  if (frames == 0) return {};
  std::vector<float> clip(frames * SdlAudioOutput::kOutputChannels);
  std::memcpy(clip.data(), work.data(), frames * kFrameBytes);
  return clip;
}

SdlClipPlayer::SdlClipPlayer(SdlAudioOutput& output) : output_(output) { output_.addSource(this); }

SdlClipPlayer::~SdlClipPlayer() { output_.removeSource(this); }

void SdlClipPlayer::play(const std::uint8_t* wavImage, std::size_t size) {
  // Without a device a clip is not kept for later: a click heard seconds after its move would only
  // puzzle. It still asks for a device, so that the next one is heard if the device is back.
  const bool open = output_.isOpen();
  // An image that can't be read still cuts off the clip that sounds, as a new clip would.
  auto incoming = std::make_unique<const Clip>(open ? DecodeClip(wavImage, size) : Clip{});
  {
    std::lock_guard<std::mutex> lock(handOverMutex_);
    handedOver_.swap(incoming);
    fresh_ = true;
  }
  // `incoming` now holds the clip the audio thread is done with, or one it never started, and is freed
  // here, on this thread.
  incoming.reset();
  output_.wake();
  if (!open) output_.wantDevice();
}

void SdlClipPlayer::takeNewClip() {
  std::lock_guard<std::mutex> lock(handOverMutex_);
  if (!fresh_) return;
  sounding_.swap(handedOver_);
  fresh_ = false;
  nextSample_ = 0;
}

bool SdlClipPlayer::sounding() {
  {
    std::lock_guard<std::mutex> lock(handOverMutex_);
    if (fresh_) return true;
  }
  return sounding_ && nextSample_ < sounding_->size();
}

void SdlClipPlayer::mixInto(float* stereo, int frames) {
  takeNewClip();
  if (!sounding_) return;
  const Clip& clip = *sounding_;
  const std::size_t wanted = static_cast<std::size_t>(frames) * SdlAudioOutput::kOutputChannels;
  const std::size_t count = std::min(wanted, clip.size() - nextSample_);
  for (std::size_t i = 0; i < count; ++i) stereo[i] += clip[nextSample_ + i];
  nextSample_ += count;
}

}  // namespace nokturna
