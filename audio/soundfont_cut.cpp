// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/soundfont_cut.h"

#include <cstddef>
#include <cstring>
#include <optional>
#include <utility>

#include "audio/font_file.h"

namespace nokturna {

namespace {

std::uint32_t Le(const std::uint8_t* p, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
  return value;
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void Append(std::vector<std::uint8_t>& out, const std::uint8_t* from, const std::uint8_t* to) {
  out.insert(out.end(), from, to);
}

// Far more than any General MIDI font's preset data (TimGM6mb's is 0.3 MB): a file that claims more is
// not cut.
constexpr std::uint64_t kLargestPresetData = 16u << 20;

// The file's first twelve bytes and its preset data chunk ("LIST" "pdta"), which must be the last of the
// top-level chunks and end the file.
struct PresetChunk {
  std::uint8_t header[12];
  std::uint64_t at = 0;            // where the chunk starts, in the file
  std::vector<std::uint8_t> body;  // what follows its chunk header: "pdta", then the nine lists
};

std::optional<PresetChunk> ReadPresetChunk(FontFile& file) {
  PresetChunk chunk;
  if (!file.readAt(0, chunk.header, sizeof chunk.header)) return std::nullopt;
  const std::uint64_t fileSize = file.size();
  if (Le(chunk.header + 4, 4) + 8ull != fileSize) return std::nullopt;
  std::uint64_t size = 0;
  for (std::uint64_t at = 12; at + 8 <= fileSize;) {
    std::uint8_t top[12];
    if (!file.readAt(at, top, sizeof top)) return std::nullopt;
    const std::uint64_t length = Le(top + 4, 4);
    if (std::memcmp(top, "LIST", 4) == 0 && std::memcmp(top + 8, "pdta", 4) == 0) {
      chunk.at = at;
      size = length;
    }
    at += 8 + length + (length & 1);
  }
  if (chunk.at == 0 || chunk.at + 8 + size != fileSize || size > kLargestPresetData) return std::nullopt;
  chunk.body.resize(size);
  if (!file.readAt(chunk.at + 8, chunk.body.data(), chunk.body.size())) return std::nullopt;
  return chunk;
}

// The nine lists of the preset data, in the order the file holds them, and the size of one record of each.
enum List { kPhdr, kPbag, kPmod, kPgen, kInst, kIbag, kImod, kIgen, kShdr, kListCount };
constexpr const char* kListNames[kListCount] = {"phdr", "pbag", "pmod", "pgen", "inst",
                                                "ibag", "imod", "igen", "shdr"};
constexpr std::size_t kRecordBytes[kListCount] = {38, 4, 10, 4, 22, 4, 10, 4, 46};
// The preset zone's generator that names the instrument the zone plays.
constexpr std::uint32_t kInstrumentGenerator = 41;
// Where a preset's General MIDI program is kept in its record, after its name.
constexpr std::size_t kProgramField = 20;

// One level of the preset data: the presets or the instruments (the owners), each with its zones (bags),
// and each zone with its generators and modulators. An owner's record holds the index of its first zone
// at `bagField`, after its name; a zone's record the indices of its first generator and modulator. Each
// list ends with a terminal record whose indices close the last range.
struct Level {
  List owners;
  std::size_t bagField;
  List bags, mods, gens;
};
constexpr Level kPresets{kPhdr, 24, kPbag, kPmod, kPgen};
constexpr Level kInstruments{kInst, 20, kIbag, kImod, kIgen};

class PresetLists {
 public:
  // The lists, when every one is there in its place and holds whole records; nothing otherwise.
  static std::optional<PresetLists> Read(const std::vector<std::uint8_t>& body) {
    PresetLists lists;
    std::size_t at = 4;  // after "pdta"
    for (int i = 0; i < kListCount; ++i) {
      if (at + 8 > body.size() || std::memcmp(&body[at], kListNames[i], 4) != 0) return std::nullopt;
      const std::size_t size = Le(&body[at + 4], 4);
      if (size > body.size() - at - 8 || size % kRecordBytes[i] != 0 || size == 0) return std::nullopt;
      lists.bytes_[i].assign(body.begin() + static_cast<std::ptrdiff_t>(at + 8),
                             body.begin() + static_cast<std::ptrdiff_t>(at + 8 + size));
      at += 8 + size;
    }
    return lists;
  }

  const std::vector<std::uint8_t>& bytes(List list) const { return bytes_[list]; }
  std::size_t count(List list) const { return bytes_[list].size() / kRecordBytes[list]; }
  const std::uint8_t* record(List list, std::size_t index) const {
    return bytes_[list].data() + index * kRecordBytes[list];
  }
  std::uint32_t field(List list, std::size_t index, std::size_t offset, int bytes) const {
    return Le(record(list, index) + offset, bytes);
  }

  std::uint32_t firstBag(const Level& level, std::size_t owner) const {
    return field(level.owners, owner, level.bagField, 2);
  }
  std::uint32_t firstGen(const Level& level, std::size_t bag) const { return field(level.bags, bag, 0, 2); }
  std::uint32_t firstMod(const Level& level, std::size_t bag) const { return field(level.bags, bag, 2, 2); }

  // Every index of the level followed before it is checked: each owner's zones and each zone's
  // generators and modulators in order, and all within their lists.
  bool indicesHold(const Level& level) const {
    const std::size_t owners = count(level.owners), bags = count(level.bags);
    if (owners < 2) return false;
    for (std::size_t r = 0; r + 1 < owners; ++r) {
      if (firstBag(level, r) > firstBag(level, r + 1)) return false;
    }
    if (firstBag(level, owners - 1) + 1 > bags) return false;
    for (std::size_t b = 0; b + 1 < bags; ++b) {
      if (firstGen(level, b) > firstGen(level, b + 1) || firstMod(level, b) > firstMod(level, b + 1)) {
        return false;
      }
    }
    return firstGen(level, bags - 1) + 1 <= count(level.gens) &&
           firstMod(level, bags - 1) + 1 <= count(level.mods);
  }

 private:
  std::vector<std::uint8_t> bytes_[kListCount];
};

// The presets, in every bank, of the programs asked for.
std::vector<std::size_t> PresetsOf(const PresetLists& lists, const Programs& programs) {
  std::vector<std::size_t> kept;
  for (std::size_t r = 0; r + 1 < lists.count(kPhdr); ++r) {
    const std::uint32_t program = lists.field(kPhdr, r, kProgramField, 2);
    if (program < 128 && programs.test(program)) kept.push_back(r);
  }
  return kept;
}

// The new number of each instrument that `presets` use, numbered afresh in their old order; -1 for the
// others. Nothing when a preset names an instrument that is not there.
std::optional<std::vector<std::int32_t>> InstrumentsUsedBy(const PresetLists& lists,
                                                           const std::vector<std::size_t>& presets) {
  std::vector<std::int32_t> number(lists.count(kInst), -1);
  for (std::size_t r : presets) {
    for (std::uint32_t b = lists.firstBag(kPresets, r); b < lists.firstBag(kPresets, r + 1); ++b) {
      for (std::uint32_t g = lists.firstGen(kPresets, b); g < lists.firstGen(kPresets, b + 1); ++g) {
        if (lists.field(kPgen, g, 0, 2) != kInstrumentGenerator) continue;
        const std::uint32_t instrument = lists.field(kPgen, g, 2, 2);
        if (instrument + 1 >= lists.count(kInst)) return std::nullopt;
        number[instrument] = 0;
      }
    }
  }
  std::int32_t next = 0;
  for (std::int32_t& n : number) {
    if (n == 0) n = next++;
  }
  return number;
}

// The nine lists of the cut font, written owner by owner.
class CutLists {
 public:
  CutLists(const PresetLists& from, const std::vector<std::int32_t>& instrumentNumbers)
      : from_(from), instrumentNumbers_(instrumentNumbers) {}

  // A preset or instrument the cut keeps, with its zones.
  void keep(const Level& level, std::size_t owner) {
    putRecord(level, owner);
    copyZones(level, from_.firstBag(level, owner), from_.firstBag(level, owner + 1));
  }

  // The level's terminal records, whose indices close the last ranges.
  void terminate(const Level& level) {
    putRecord(level, from_.count(level.owners) - 1);
    putZone(level);
    const std::vector<std::uint8_t>& gens = from_.bytes(level.gens);
    const std::vector<std::uint8_t>& mods = from_.bytes(level.mods);
    Append(out_[level.gens], from_.record(level.gens, from_.count(level.gens) - 1),
           gens.data() + gens.size());
    Append(out_[level.mods], from_.record(level.mods, from_.count(level.mods) - 1),
           mods.data() + mods.size());
  }

  // The samples' headers, all of them: every sample stays where it is.
  void keepSamples() { out_[kShdr] = from_.bytes(kShdr); }

  // The preset data chunk of the cut font.
  std::vector<std::uint8_t> presetData() const {
    std::vector<std::uint8_t> chunk{'L', 'I', 'S', 'T', 0, 0, 0, 0, 'p', 'd', 't', 'a'};
    for (int i = 0; i < kListCount; ++i) {
      chunk.insert(chunk.end(), kListNames[i], kListNames[i] + 4);
      PutLe(chunk, static_cast<std::uint32_t>(out_[i].size()), 4);
      chunk.insert(chunk.end(), out_[i].begin(), out_[i].end());
    }
    const auto listSize = static_cast<std::uint32_t>(chunk.size() - 8);
    for (int i = 0; i < 4; ++i) chunk[4 + i] = static_cast<std::uint8_t>(listSize >> (8 * i));
    return chunk;
  }

 private:
  std::uint32_t written(List list) const {
    return static_cast<std::uint32_t>(out_[list].size() / kRecordBytes[list]);
  }

  // The owner's record as it is, but for the index of its first zone, which points into the cut list.
  void putRecord(const Level& level, std::size_t owner) {
    const std::uint8_t* record = from_.record(level.owners, owner);
    std::vector<std::uint8_t>& out = out_[level.owners];
    Append(out, record, record + level.bagField);
    PutLe(out, written(level.bags), 2);
    Append(out, record + level.bagField + 2, record + kRecordBytes[level.owners]);
  }

  // A zone record pointing at the generators and modulators written next.
  void putZone(const Level& level) {
    PutLe(out_[level.bags], written(level.gens), 2);
    PutLe(out_[level.bags], written(level.mods), 2);
  }

  void copyZones(const Level& level, std::uint32_t from, std::uint32_t to) {
    for (std::uint32_t b = from; b < to; ++b) {
      putZone(level);
      Append(out_[level.mods], from_.record(level.mods, from_.firstMod(level, b)),
             from_.record(level.mods, from_.firstMod(level, b + 1)));
      for (std::uint32_t g = from_.firstGen(level, b); g < from_.firstGen(level, b + 1); ++g) {
        const std::uint32_t generator = from_.field(level.gens, g, 0, 2);
        std::uint32_t amount = from_.field(level.gens, g, 2, 2);
        // A preset zone's instrument is renumbered as the instruments are.
        if (level.owners == kPhdr && generator == kInstrumentGenerator) {
          amount = static_cast<std::uint32_t>(instrumentNumbers_[amount]);
        }
        PutLe(out_[level.gens], generator, 2);
        PutLe(out_[level.gens], amount, 2);
      }
    }
  }

  const PresetLists& from_;
  const std::vector<std::int32_t>& instrumentNumbers_;
  std::vector<std::uint8_t> out_[kListCount];
};

// The preset data cut down to `presets` and the instruments they use.
std::vector<std::uint8_t> CutPresetData(const PresetLists& lists, const std::vector<std::size_t>& presets,
                                        const std::vector<std::int32_t>& instrumentNumbers) {
  CutLists cut(lists, instrumentNumbers);
  for (std::size_t r : presets) cut.keep(kPresets, r);
  cut.terminate(kPresets);
  for (std::size_t i = 0; i + 1 < lists.count(kInst); ++i) {
    if (instrumentNumbers[i] >= 0) cut.keep(kInstruments, i);
  }
  cut.terminate(kInstruments);
  cut.keepSamples();
  return cut.presetData();
}

}  // namespace

std::shared_ptr<const FontImage> CutSoundFont(const std::string& path, const Programs& programs) {
  const std::unique_ptr<FontFile> file = FontFile::Open(path);
  if (file == nullptr) return nullptr;
  const std::optional<PresetChunk> chunk = ReadPresetChunk(*file);
  if (!chunk) return nullptr;
  const std::optional<PresetLists> lists = PresetLists::Read(chunk->body);
  if (!lists || !lists->indicesHold(kPresets) || !lists->indicesHold(kInstruments)) return nullptr;
  const std::vector<std::size_t> presets = PresetsOf(*lists, programs);
  const std::optional<std::vector<std::int32_t>> instruments = InstrumentsUsedBy(*lists, presets);
  if (!instruments) return nullptr;

  auto image = std::make_shared<FontImage>();
  image->path = path;
  image->presetsAt = chunk->at;
  image->presets = CutPresetData(*lists, presets, *instruments);
  image->riff.assign(chunk->header, chunk->header + 4);
  PutLe(image->riff, static_cast<std::uint32_t>(image->size() - 8), 4);
  return image;
}

std::shared_ptr<const FontImage> WholeSoundFont(const std::string& path) {
  const std::unique_ptr<FontFile> file = FontFile::Open(path);
  if (file == nullptr) return nullptr;
  auto image = std::make_shared<FontImage>();
  image->path = path;
  image->presetsAt = file->size();
  return image;
}

}  // namespace nokturna
