#include "audio/soundfont_presets.h"

#include <sys/types.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

namespace nokturna {

// The file's bytes up to its preset data, then that data cut down to the presets of some programs and the
// instruments they use.
struct FontImage {
  std::string path;                   // the real file: everything before `presetsAt` is read from it
  std::uint64_t presetsAt = 0;        // where the preset data starts, in the file and in the image
  std::vector<std::uint8_t> riff;     // the file's first 8 bytes, with the RIFF size of the image
  std::vector<std::uint8_t> presets;  // the cut preset data, a whole LIST chunk
  std::uint64_t size() const { return presetsAt + presets.size(); }
};

namespace {

std::uint32_t Le(const std::uint8_t* p, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
  return value;
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The image for `programs`; null when the file is not laid out as expected (preset data last, every
// index within its list), and it is then read whole instead.
std::shared_ptr<const FontImage> CutSoundFont(const std::string& path, const Programs& programs) {
  std::ifstream file(path, std::ios::binary);
  std::uint8_t header[12];
  if (!file.read(reinterpret_cast<char*>(header), 12)) return nullptr;
  std::error_code error;
  const std::uint64_t fileSize = std::filesystem::file_size(path, error);
  if (error || Le(header + 4, 4) + 8ull != fileSize) return nullptr;
  // The top-level chunks: the preset data must be the last.
  std::uint64_t at = 12, presetsAt = 0, presetsSize = 0;
  while (at + 8 <= fileSize) {
    std::uint8_t chunk[12];
    file.seekg(static_cast<std::streamoff>(at));
    if (!file.read(reinterpret_cast<char*>(chunk), 12)) return nullptr;
    const std::uint64_t size = Le(chunk + 4, 4);
    if (std::memcmp(chunk, "LIST", 4) == 0 && std::memcmp(chunk + 8, "pdta", 4) == 0) {
      presetsAt = at;
      presetsSize = size;
    }
    at += 8 + size + (size & 1);
  }
  if (presetsAt == 0 || presetsAt + 8 + presetsSize != fileSize || presetsSize > (16u << 20)) return nullptr;
  std::vector<std::uint8_t> pdta(presetsSize);
  file.seekg(static_cast<std::streamoff>(presetsAt + 8));
  if (!file.read(reinterpret_cast<char*>(pdta.data()), static_cast<std::streamsize>(presetsSize)))
    return nullptr;

  // The nine lists, in their order, with the size of one record.
  constexpr const char* kNames[] = {"phdr", "pbag", "pmod", "pgen", "inst", "ibag", "imod", "igen", "shdr"};
  constexpr std::size_t kRecord[] = {38, 4, 10, 4, 22, 4, 10, 4, 46};
  std::vector<std::uint8_t> list[9];
  std::size_t count[9];
  std::size_t p = 4;
  for (int i = 0; i < 9; ++i) {
    if (p + 8 > pdta.size() || std::memcmp(&pdta[p], kNames[i], 4) != 0) return nullptr;
    const std::size_t size = Le(&pdta[p + 4], 4);
    if (size > pdta.size() - p - 8 || size % kRecord[i] != 0 || size == 0) return nullptr;
    list[i].assign(pdta.begin() + static_cast<std::ptrdiff_t>(p + 8),
                   pdta.begin() + static_cast<std::ptrdiff_t>(p + 8 + size));
    count[i] = size / kRecord[i];
    p += 8 + size;
  }
  auto field = [&](int l, std::size_t record, std::size_t offset, int bytes) {
    return Le(&list[l][record * kRecord[l] + offset], bytes);
  };
  enum { kPhdr, kPbag, kPmod, kPgen, kInst, kIbag, kImod, kIgen, kShdr };
  constexpr std::uint32_t kInstrumentGenerator = 41;

  // Every index is checked before it is followed: bags within their list, in order, and so on down.
  auto bagsOk = [&](int owners, std::size_t bagOffset, int bags, int mods, int gens) {
    for (std::size_t r = 0; r + 1 < count[owners]; ++r) {
      if (field(owners, r, bagOffset, 2) > field(owners, r + 1, bagOffset, 2)) return false;
    }
    if (field(owners, count[owners] - 1, bagOffset, 2) + 1 > count[bags]) return false;
    for (std::size_t b = 0; b + 1 < count[bags]; ++b) {
      if (field(bags, b, 0, 2) > field(bags, b + 1, 0, 2) ||
          field(bags, b, 2, 2) > field(bags, b + 1, 2, 2)) {
        return false;
      }
    }
    return field(bags, count[bags] - 1, 0, 2) + 1 <= count[gens] &&
           field(bags, count[bags] - 1, 2, 2) + 1 <= count[mods];
  };
  if (count[kPhdr] < 2 || count[kInst] < 2 || !bagsOk(kPhdr, 24, kPbag, kPmod, kPgen) ||
      !bagsOk(kInst, 20, kIbag, kImod, kIgen)) {
    return nullptr;
  }

  std::vector<std::uint8_t> out[9];
  std::vector<std::int32_t> newInstrument(count[kInst], -1);
  std::vector<std::size_t> keptPresets;
  for (std::size_t r = 0; r + 1 < count[kPhdr]; ++r) {
    const std::uint32_t program = field(kPhdr, r, 20, 2);
    if (program < 128 && programs.test(program)) keptPresets.push_back(r);
  }
  // The instruments the kept presets use, numbered afresh in their old order.
  for (std::size_t r : keptPresets) {
    for (std::uint32_t b = field(kPhdr, r, 24, 2); b < field(kPhdr, r + 1, 24, 2); ++b) {
      for (std::uint32_t g = field(kPbag, b, 0, 2); g < field(kPbag, b + 1, 0, 2); ++g) {
        if (field(kPgen, g, 0, 2) != kInstrumentGenerator) continue;
        const std::uint32_t instrument = field(kPgen, g, 2, 2);
        if (instrument + 1 >= count[kInst]) return nullptr;
        newInstrument[instrument] = 0;
      }
    }
  }
  std::int32_t next = 0;
  for (std::int32_t& number : newInstrument) {
    if (number == 0) number = next++;
  }
  // Copies the zones (bags) of one preset or instrument, with their generators and modulators.
  auto copyZones = [&](int bags, int mods, int gens, std::uint32_t from, std::uint32_t to, bool presetLevel) {
    for (std::uint32_t b = from; b < to; ++b) {
      PutLe(out[bags], static_cast<std::uint32_t>(out[gens].size() / 4), 2);
      PutLe(out[bags], static_cast<std::uint32_t>(out[mods].size() / 10), 2);
      const auto m0 = field(bags, b, 2, 2), m1 = field(bags, b + 1, 2, 2);
      out[mods].insert(out[mods].end(), list[mods].begin() + m0 * 10, list[mods].begin() + m1 * 10);
      for (std::uint32_t g = field(bags, b, 0, 2); g < field(bags, b + 1, 0, 2); ++g) {
        const std::uint32_t oper = field(gens, g, 0, 2);
        PutLe(out[gens], oper, 2);
        PutLe(out[gens],
              presetLevel && oper == kInstrumentGenerator
                  ? static_cast<std::uint32_t>(newInstrument[field(gens, g, 2, 2)])
                  : field(gens, g, 2, 2),
              2);
      }
    }
  };
  auto terminate = [&](int owners, std::size_t nameBytes, int bags, int mods, int gens) {
    const std::size_t last = count[owners] - 1;
    out[owners].insert(out[owners].end(), list[owners].begin() + last * kRecord[owners],
                       list[owners].begin() + last * kRecord[owners] + nameBytes);
    PutLe(out[owners], static_cast<std::uint32_t>(out[bags].size() / 4), 2);
    out[owners].insert(out[owners].end(), list[owners].begin() + last * kRecord[owners] + nameBytes + 2,
                       list[owners].begin() + (last + 1) * kRecord[owners]);
    PutLe(out[bags], static_cast<std::uint32_t>(out[gens].size() / 4), 2);
    PutLe(out[bags], static_cast<std::uint32_t>(out[mods].size() / 10), 2);
    const std::size_t lastGen = count[gens] - 1, lastMod = count[mods] - 1;
    out[gens].insert(out[gens].end(), list[gens].begin() + lastGen * 4, list[gens].end());
    out[mods].insert(out[mods].end(), list[mods].begin() + lastMod * 10, list[mods].end());
  };
  for (std::size_t r : keptPresets) {
    const std::size_t at = r * kRecord[kPhdr];
    out[kPhdr].insert(out[kPhdr].end(), list[kPhdr].begin() + at, list[kPhdr].begin() + at + 24);
    PutLe(out[kPhdr], static_cast<std::uint32_t>(out[kPbag].size() / 4), 2);
    out[kPhdr].insert(out[kPhdr].end(), list[kPhdr].begin() + at + 26, list[kPhdr].begin() + at + 38);
    copyZones(kPbag, kPmod, kPgen, field(kPhdr, r, 24, 2), field(kPhdr, r + 1, 24, 2), true);
  }
  terminate(kPhdr, 24, kPbag, kPmod, kPgen);
  for (std::size_t i = 0; i + 1 < count[kInst]; ++i) {
    if (newInstrument[i] < 0) continue;
    const std::size_t at = i * kRecord[kInst];
    out[kInst].insert(out[kInst].end(), list[kInst].begin() + at, list[kInst].begin() + at + 20);
    PutLe(out[kInst], static_cast<std::uint32_t>(out[kIbag].size() / 4), 2);
    copyZones(kIbag, kImod, kIgen, field(kInst, i, 20, 2), field(kInst, i + 1, 20, 2), false);
  }
  terminate(kInst, 20, kIbag, kImod, kIgen);
  out[kShdr] = std::move(list[kShdr]);  // every sample stays where it is

  auto image = std::make_shared<FontImage>();
  image->path = path;
  image->presetsAt = presetsAt;
  std::vector<std::uint8_t>& presets = image->presets;
  presets = {'L', 'I', 'S', 'T', 0, 0, 0, 0, 'p', 'd', 't', 'a'};
  for (int i = 0; i < 9; ++i) {
    presets.insert(presets.end(), kNames[i], kNames[i] + 4);
    PutLe(presets, static_cast<std::uint32_t>(out[i].size()), 4);
    presets.insert(presets.end(), out[i].begin(), out[i].end());
  }
  const auto listSize = static_cast<std::uint32_t>(presets.size() - 8);
  for (int i = 0; i < 4; ++i) presets[4 + i] = static_cast<std::uint8_t>(listSize >> (8 * i));
  image->riff.assign(header, header + 4);
  PutLe(image->riff, static_cast<std::uint32_t>(image->size() - 8), 4);
  return image;
}

// The images the loader serves, by the names the synthesizers know them by. A synthesizer opens a font
// again each time it reads samples, so the images it holds are kept (SynthPresets) for as long as it lives;
// synthesizers that read the same programs share one.
std::mutex imagesMutex;
std::map<std::string, std::weak_ptr<const FontImage>> images;

struct ImageReader {
  std::shared_ptr<const FontImage> image;
  std::FILE* file;
  std::uint64_t at;
};

void* OpenImage(const char* name) {
  std::shared_ptr<const FontImage> image;
  {
    std::lock_guard<std::mutex> lock(imagesMutex);
    const auto found = images.find(name);
    if (found == images.end() || !(image = found->second.lock())) return nullptr;
  }
  std::FILE* file = std::fopen(image->path.c_str(), "rb");
  if (file == nullptr) return nullptr;
  return new ImageReader{std::move(image), file, 0};
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
      if (fseeko(reader->file, static_cast<off_t>(reader->at), SEEK_SET) != 0 ||
          std::fread(out, 1, done, reader->file) != done) {
        return FLUID_FAILED;
      }
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
  auto* reader = static_cast<ImageReader*>(handle);
  std::fclose(reader->file);
  delete reader;
  return FLUID_OK;
}

// Loads the presets of `programs` from the font at `path` into `synth`: cut down to them when the font
// allows, else the whole font. The programs now in, or nothing when the font does not load. An image read
// goes into `kept`, which must outlive the synthesizer.
std::optional<Programs> LoadPresets(fluid_synth_t* synth, const std::string& path, const Programs& programs,
                                    bool resetChannels, std::vector<std::shared_ptr<const FontImage>>& kept) {
  if (std::shared_ptr<const FontImage> image = CutSoundFont(path, programs)) {
    const std::string name = path + "#" + programs.to_string();
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
    if (fluid_synth_sfload(synth, name.c_str(), resetChannels ? 1 : 0) != FLUID_FAILED) return programs;
  }
  if (fluid_synth_sfload(synth, path.c_str(), resetChannels ? 1 : 0) != FLUID_FAILED) return Programs().set();
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
