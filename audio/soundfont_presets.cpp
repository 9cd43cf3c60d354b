// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/soundfont_presets.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

#include "audio/font_file.h"

namespace nokturna {

namespace {

// The images the loader serves, by the names the synthesizers know them by: no file has such a name, so
// FluidSynth's own loaders, which would read the file without a way to stop, find nothing under it. A
// synthesizer opens a font again each time it reads samples, so the images it holds are kept
// (SynthPresets) for as long as it lives; synthesizers that read the same programs share one.
std::mutex imagesMutex;
std::map<std::string, std::weak_ptr<const FontImage>> images;

struct ImageReader {
  std::shared_ptr<const FontImage> image;
  std::unique_ptr<FontFile> file;
  std::uint64_t at;
};

void* OpenImage(const char* name) {
  std::shared_ptr<const FontImage> image;
  {
    std::lock_guard<std::mutex> lock(imagesMutex);
    const auto found = images.find(name);
    if (found == images.end() || !(image = found->second.lock())) return nullptr;
  }
  std::unique_ptr<FontFile> file = FontFile::Open(image->path);
  if (file == nullptr) return nullptr;
  return new ImageReader{std::move(image), std::move(file), 0};
}

int ReadImage(void* buffer, fluid_long_long_t count, void* handle) {
  auto* reader = static_cast<ImageReader*>(handle);
  const FontImage& image = *reader->image;
  if (count < 0 || reader->at + static_cast<std::uint64_t>(count) > image.size()) return FLUID_FAILED;
  auto* out = static_cast<std::uint8_t*>(buffer);
  auto left = static_cast<std::uint64_t>(count);
  while (left > 0) {
    std::uint64_t done;
    if (reader->at < image.riff.size()) {
      done = std::min<std::uint64_t>(left, image.riff.size() - reader->at);
      std::memcpy(out, image.riff.data() + reader->at, done);
    } else if (reader->at < image.presetsAt) {
      done = std::min<std::uint64_t>(left, image.presetsAt - reader->at);
      if (!reader->file->readAt(reader->at, out, done)) return FLUID_FAILED;
    } else {
      done = left;  // within the image's size, checked above
      std::memcpy(out, image.presets.data() + (reader->at - image.presetsAt), done);
    }
    out += done;
    reader->at += done;
    left -= done;
  }
  return FLUID_OK;
}

int SeekImage(void* handle, fluid_long_long_t offset, int origin) {
  auto* reader = static_cast<ImageReader*>(handle);
  const auto size = static_cast<fluid_long_long_t>(reader->image->size());
  fluid_long_long_t to = offset;
  if (origin == SEEK_CUR) to += static_cast<fluid_long_long_t>(reader->at);
  if (origin == SEEK_END) to += size;
  if (to < 0 || to > size) return FLUID_FAILED;
  reader->at = static_cast<std::uint64_t>(to);
  return FLUID_OK;
}

fluid_long_long_t TellImage(void* handle) {
  return static_cast<fluid_long_long_t>(static_cast<ImageReader*>(handle)->at);
}

int CloseImage(void* handle) {
  delete static_cast<ImageReader*>(handle);
  return FLUID_OK;
}

// The name `image` is served under, kept in the registry for as long as `kept` holds it.
std::string Register(std::shared_ptr<const FontImage>& image, const std::string& name,
                     std::vector<std::shared_ptr<const FontImage>>& kept) {
  {
    std::lock_guard<std::mutex> lock(imagesMutex);
    for (auto entry = images.begin(); entry != images.end();) {
      entry = entry->second.expired() ? images.erase(entry) : std::next(entry);
    }
    std::weak_ptr<const FontImage>& entry = images[name];
    if (std::shared_ptr<const FontImage> same = entry.lock()) {
      image = std::move(same);
    } else {
      entry = image;
    }
  }
  kept.push_back(image);
  return name;
}

// Loads the presets of `programs` from the font at `path` into `synth`: cut down to them when the font
// allows, else the whole font. The programs now in, or nothing when the font does not load. An image read
// goes into `kept`, which must outlive the synthesizer.
std::optional<Programs> LoadPresets(fluid_synth_t* synth, const std::string& path, const Programs& programs,
                                    bool resetChannels, std::vector<std::shared_ptr<const FontImage>>& kept) {
  const int reset = resetChannels ? 1 : 0;
  if (std::shared_ptr<const FontImage> image = CutSoundFont(path, programs)) {
    const std::string name = Register(image, path + "#" + programs.to_string(), kept);
    if (fluid_synth_sfload(synth, name.c_str(), reset) != FLUID_FAILED) return programs;
  }
  if (std::shared_ptr<const FontImage> image = WholeSoundFont(path)) {
    const std::string name = Register(image, path + "#whole", kept);
    if (fluid_synth_sfload(synth, name.c_str(), reset) != FLUID_FAILED) return Programs().set();
  }
  return std::nullopt;
}

}  // namespace

void AddImageLoader(fluid_synth_t* synth, fluid_settings_t* settings) {
  fluid_sfloader_t* loader = new_fluid_defsfloader(settings);
  if (loader == nullptr) return;
  fluid_sfloader_set_callbacks(loader, &OpenImage, &ReadImage, &SeekImage, &TellImage, &CloseImage);
  fluid_synth_add_sfloader(synth, loader);
}

bool SynthPresets::readFont(fluid_synth_t* synth, const std::string& path, const Programs& programs) {
  const std::optional<Programs> in = LoadPresets(synth, path, programs, true, images_);
  if (!in) return false;
  path_ = path;
  in_ = *in;
  return true;
}

void SynthPresets::bringIn(fluid_synth_t* synth, const Programs& programs) {
  const Programs missing = programs & ~in_;
  if (missing.none()) return;
  if (const std::optional<Programs> in = LoadPresets(synth, path_, missing, false, images_)) in_ |= *in;
}

}  // namespace nokturna
