#include "audio/fluid_music_engine.h"

#include <dlfcn.h>
#include <fluidsynth.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <bitset>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "audio/music_level.h"
#include "audio/standard_midi_file.h"

namespace nokturna {

namespace {

constexpr char kSmallSoundFont[] = "/usr/share/sounds/sf2/TimGM6mb.sf2";
// The system's default General MIDI fonts (Debian points these at whichever font package is installed),
// and the usual full-size font by its own name.
constexpr const char* kSystemSoundFonts[] = {"/usr/share/sounds/sf2/default-GM.sf2",
                                             "/usr/share/sounds/sf3/default-GM.sf3",
                                             "/usr/share/sounds/sf2/FluidR3_GM.sf2"};
// The game's songs are some kilobytes; a song file over this is taken for a damaged one and not even read.
constexpr std::uintmax_t kLargestSong = 8u << 20;

// The master volume's range: -100 dB is as good as silence, and nothing is ever turned up beyond +20 dB.
constexpr std::int32_t kQuietestVolume = -10000;
constexpr std::int32_t kLoudestVolume = 2000;
// How long the engine's destructor waits for a SoundFont load to finish before leaving it behind.
constexpr auto kLoadWait = std::chrono::milliseconds(200);
// The synthesizer renders into a buffer of this many frames at a time.
constexpr int kRenderFrames = SdlAudioOutput::kPeriodFrames;
// Notes cut off by a stop fade out over a few of the synthesizer's 64-frame blocks; this is twice as long.
constexpr int kSettleFrames = 512;
static_assert(kSettleFrames <= kRenderFrames, "the settling render reuses the mixing buffer");
// The synthesizer keeps rendering this long after its last voice has ended: the reverb's tail.
constexpr long kTailFrames = 2L * SdlAudioOutput::kOutputRate;

void IgnoreFluidLog(int, const char*, void*) {}

// GLib's handler type; the no-op only has to match it.
using GLibLogHandler = void (*)(const char* domain, int level, const char* message, void* data);
using GLibSetDefaultHandler = GLibLogHandler (*)(GLibLogHandler, void*);

void IgnoreGLibLog(const char*, int, const char*, void*) {}

void QuietenFluidSynth() {
  static const bool done = [] {
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) {
      fluid_set_log_function(level, &IgnoreFluidLog, nullptr);
    }
    // When a SoundFont does not load, FluidSynth hands it to its GLib-based reader of other instrument
    // formats, which complains through GLib's log. FluidSynth brought GLib into the process already.
    auto setDefault =
        reinterpret_cast<GLibSetDefaultHandler>(dlsym(RTLD_DEFAULT, "g_log_set_default_handler"));
    if (setDefault != nullptr) setDefault(&IgnoreGLibLog, nullptr);
    return true;
  }();
  (void)done;
}

bool LooksLikeSoundFont(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream file(path, std::ios::binary);
  char header[12];
  if (!file.read(header, sizeof header)) return false;
  return std::memcmp(header, "RIFF", 4) == 0 && std::memcmp(header + 8, "sfbk", 4) == 0;
}

// The programs (0..127) a song can pick: those of its program changes, and 0, where every channel starts.
// The song has passed MidiSongEndTick, so every event parses.
using Programs = std::bitset<128>;

Programs SongPrograms(const std::vector<std::uint8_t>& midi) {
  Programs programs;
  programs.set(0);
  auto varLength = [&](std::size_t& at) {
    std::uint32_t value = 0;
    while (at < midi.size()) {
      const std::uint8_t b = midi[at++];
      value = (value << 7) | (b & 0x7F);
      if ((b & 0x80) == 0) break;
    }
    return value;
  };
  if (midi.size() < 14) return programs;
  std::size_t chunk = 8 + (std::size_t{midi[4]} << 24 | std::size_t{midi[5]} << 16 |
                           std::size_t{midi[6]} << 8 | midi[7]);  // past the header
  while (chunk + 8 <= midi.size()) {
    const std::uint32_t length = std::uint32_t{midi[chunk + 4]} << 24 | std::uint32_t{midi[chunk + 5]} << 16 |
                                 std::uint32_t{midi[chunk + 6]} << 8 | midi[chunk + 7];
    const std::size_t end = std::min(midi.size(), chunk + 8 + std::size_t{length});
    const bool track = std::memcmp(&midi[chunk], "MTrk", 4) == 0;
    std::size_t at = chunk + 8;
    std::uint8_t running = 0;
    while (track && at < end) {
      varLength(at);
      if (at >= end) break;
      std::uint8_t status = midi[at];
      if (status & 0x80) {
        ++at;
        if (status < 0xF0) running = status;
      } else {
        status = running;
      }
      if (status == 0xFF) {
        ++at;  // the meta event's type
        at += varLength(at);
      } else if (status == 0xF0 || status == 0xF7) {
        at += varLength(at);
        running = 0;
      } else if ((status & 0xF0) == 0xC0) {
        if (at < end) programs.set(midi[at] & 0x7F);
        at += 1;
      } else {
        at += (status & 0xF0) == 0xD0 ? 1 : 2;
      }
    }
    chunk = end;
  }
  return programs;
}

// A SoundFont as the synthesizer reads it through the engine's own loader: the file's bytes up to its
// preset data, then that data cut down to the presets of some programs (in every bank) and the
// instruments they use. FluidSynth keeps some 2 KB of tables for each instrument zone it reads, and
// reading a whole General MIDI font holds all of them at once (7.5 MB with TimGM6mb, against under 2 MB
// for the presets of a song). A program's presets in every bank are what FluidSynth falls back on when a
// bank asked for is missing, and program 0's are where it falls back at last, so a song plays exactly as
// with the whole font as long as the presets of its programs are in.
struct FontImage {
  std::string path;                   // the real file: everything before `presetsAt` is read from it
  std::uint64_t presetsAt = 0;        // where the preset data starts, in the file and in the image
  std::vector<std::uint8_t> riff;     // the file's first 8 bytes, with the RIFF size of the image
  std::vector<std::uint8_t> presets;  // the cut preset data, a whole LIST chunk
  std::uint64_t size() const { return presetsAt + presets.size(); }
};

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

// The images the engine's loader serves, by the names the synthesizer knows them by. The synthesizer opens
// a font again each time it reads samples, so each engine keeps the images its synthesizer holds for as
// long as it lives; engines that read the same programs share one.
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

// Adds the loader that reads the images to `synth`, ahead of the ones that read whole files.
void AddImageLoader(fluid_synth_t* synth, fluid_settings_t* settings) {
  fluid_sfloader_t* loader = new_fluid_defsfloader(settings);
  if (loader == nullptr) return;
  fluid_sfloader_set_callbacks(loader, &OpenImage, &ReadImage, &SeekImage, &TellImage, &CloseImage);
  fluid_synth_add_sfloader(synth, loader);
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

// A song as the engine keeps it: the file's bytes, the tick its last track ends on, and the programs it
// picks.
struct Song {
  std::vector<std::uint8_t> bytes;
  std::int64_t endTick;
  Programs programs;
};

// The bytes of a song file of at most kLargestSong bytes. Only as many bytes are read as the file had
// when its size was checked: one that grows meanwhile is refused rather than followed.
std::optional<std::vector<std::uint8_t>> ReadSongFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kLargestSong) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  std::vector<std::uint8_t> bytes(size);
  const auto wanted = static_cast<std::streamsize>(size);
  if (!file.read(reinterpret_cast<char*>(bytes.data()), wanted)) return std::nullopt;
  if (file.peek() != std::ifstream::traits_type::eof()) return std::nullopt;
  return bytes;
}

}  // namespace

struct FluidMusicEngine::Core {
  Core(std::vector<std::string> fonts, SdlAudioOutput* output)
      : soundFonts(std::move(fonts)), output(output) {}
  ~Core() {
    if (player != nullptr) delete_fluid_player(player);
    if (synth != nullptr) delete_fluid_synth(synth);
    if (settings != nullptr) delete_fluid_settings(settings);
  }

  enum class Font { NotAsked, Loading, In, Failed };

  const std::vector<std::string> soundFonts;  // tried in order until one loads
  std::shared_ptr<const Song> kept;           // the song Load read last; the UI thread's alone

  // Woken when a song starts, also one the loading thread starts; none once the engine is gone. Guarded
  // by a lock of its own, as wake() must be called without holding `mutex`.
  std::mutex outputMutex;
  SdlAudioOutput* output;

  std::mutex mutex;
  std::condition_variable loaderDone;
  // Everything below is guarded by `mutex`.
  Font font = Font::NotAsked;
  bool loaderFinished = false;
  bool engineGone = false;
  std::thread loader;
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  std::string fontPath;  // the font that loaded
  Programs presetsIn;    // the programs whose presets the synthesizer holds
  std::vector<std::shared_ptr<const FontImage>> fontImages;  // what it read them from; outlive it
  double amplitude = 1.0;                                    // the master volume as a factor
  std::shared_ptr<const Song> waiting;                       // asked to play before the SoundFont was in
  fluid_player_t* player = nullptr;  // plays the song; there only while the synthesizer is
  std::int64_t playerEndTick = 0;
  std::vector<float> rendered = std::vector<float>(2 * kRenderFrames);
  long tailFrames = 0;  // left to render after the last voice ended

  bool audible() const {
    if (synth == nullptr) return false;
    if (tailFrames > 0) return true;
    return player != nullptr && fluid_player_get_status(player) == FLUID_PLAYER_PLAYING;
  }

  bool playing() const {
    if (waiting) return true;
    if (player == nullptr) return false;
    // The player calls itself done only seconds after the end of the song; the song is over as soon as
    // the player has passed the last end-of-track mark.
    return fluid_player_get_status(player) == FLUID_PLAYER_PLAYING &&
           fluid_player_get_current_tick(player) <= playerEndTick;
  }

  // Ends the song at once.
  void silence() {
    waiting.reset();
    if (player == nullptr) return;
    fluid_player_stop(player);
    delete_fluid_player(std::exchange(player, nullptr));
    clearSynth();
  }

  // Cuts every sound. A stopped player leaves its notes ringing, and the notes cut still fade for a
  // moment into the reverb, whose echoes come back tens of milliseconds later: so all sounds go off, that
  // fade is rendered away, and the reset after it empties the effects.
  void clearSynth() {
    fluid_synth_system_reset(synth);
    fluid_synth_all_sounds_off(synth, -1);
    fluid_synth_write_float(synth, kSettleFrames, rendered.data(), 0, 2, rendered.data(), 1, 2);
    fluid_synth_system_reset(synth);
    tailFrames = 0;
  }

  // Starts `song` from its beginning on a fresh player, in place of any other: seeking an old player back
  // to 0 loses the notes of the first tick. Needs the synthesizer.
  bool start(const Song& song) {
    bringInPresets(song);
    silence();
    clearSynth();
    fluid_player_t* fresh = new_fluid_player(synth);
    if (fresh == nullptr) return false;
    // The player takes a copy of the song. A loop count of 1 plays the song once.
    if (fluid_player_add_mem(fresh, song.bytes.data(), song.bytes.size()) != FLUID_OK ||
        fluid_player_set_loop(fresh, 1) != FLUID_OK || fluid_player_play(fresh) != FLUID_OK) {
      delete_fluid_player(fresh);
      return false;
    }
    player = fresh;
    playerEndTick = song.endTick;
    tailFrames = kTailFrames;
    return true;
  }

  // Reads the presets of the programs `song` picks that are not in yet, from the font that loaded.
  void bringInPresets(const Song& song) {
    const Programs missing = song.programs & ~presetsIn;
    if (missing.none()) return;
    if (const std::optional<Programs> in = LoadPresets(synth, fontPath, missing, false, fontImages)) {
      presetsIn |= *in;
    }
  }

  void wakeOutput() {
    std::lock_guard<std::mutex> lock(outputMutex);
    if (output != nullptr) output->wake();
  }
};

namespace {

using Core = FluidMusicEngine::Core;

// Runs on the loading thread: makes the synthesizer, loads the font, and hands both to the engine.
void LoadSoundFont(std::shared_ptr<Core> core) {
  // The load runs beside the window's first paint and the game: it gives way to both. A nicer value can
  // only be raised, so this thread starts no other.
  setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19);
  std::vector<std::shared_ptr<const FontImage>> fontImages;  // outlives the synthesizer made here
  fluid_settings_t* settings = new_fluid_settings();
  fluid_synth_t* synth = nullptr;
  if (settings != nullptr) {
    fluid_settings_setnum(settings, "synth.sample-rate", SdlAudioOutput::kOutputRate);
    fluid_settings_setnum(settings, "synth.gain", kReferenceGain);
    // The players keep time by the samples rendered, so an offline render plays the song exactly as well.
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    // Only the samples of the instruments a song picks are read into memory, not the whole SoundFont
    // (the default General MIDI font is some 140 MB).
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    // General MIDI songs send nothing to the chorus unless they ask (controller 93 starts at 0), and the
    // game's songs never ask: the chorus would only burn time rendering silence.
    fluid_settings_setint(settings, "synth.chorus.active", 0);
    fluid_settings_setint(settings, "synth.polyphony", 96);
    synth = new_fluid_synth(settings);
    if (synth != nullptr) AddImageLoader(synth, settings);
  }
  // Only the presets of the song asked for already, if any, and program 0's; every later song brings in
  // its own as it starts.
  Programs wanted;
  wanted.set(0);
  {
    std::lock_guard<std::mutex> lock(core->mutex);
    if (core->waiting) wanted |= core->waiting->programs;
  }
  // A font that is there may still fail to load (damaged, cut short): the next one is tried then, as for
  // one that is missing.
  std::optional<Programs> in;
  auto font = core->soundFonts.begin();
  for (; synth != nullptr && font != core->soundFonts.end(); ++font) {
    if (LooksLikeSoundFont(*font) && (in = LoadPresets(synth, *font, wanted, true, fontImages))) break;
  }
  const bool loaded = in.has_value();
  bool started = false;
  {
    std::lock_guard<std::mutex> lock(core->mutex);
    if (loaded && !core->engineGone) {
      core->fontPath = *font;
      core->presetsIn = *in;
      core->fontImages = std::move(fontImages);
      core->settings = std::exchange(settings, nullptr);
      core->synth = std::exchange(synth, nullptr);
      core->font = Core::Font::In;
      if (const std::shared_ptr<const Song> song = std::move(core->waiting)) started = core->start(*song);
    } else {
      core->font = Core::Font::Failed;
      core->waiting.reset();
    }
  }
  // An output resting without a device, or between its looks, hears of the song at once.
  if (started) core->wakeOutput();
  if (synth != nullptr) delete_fluid_synth(synth);
  if (settings != nullptr) delete_fluid_settings(settings);
  {
    std::lock_guard<std::mutex> lock(core->mutex);
    core->loaderFinished = true;
  }
  core->loaderDone.notify_all();
}

}  // namespace

std::vector<std::string> SoundFontCandidates() {
  std::vector<std::string> fonts{kSmallSoundFont};
  fonts.insert(fonts.end(), std::begin(kSystemSoundFonts), std::end(kSystemSoundFonts));
  return fonts;
}

std::string DefaultSoundFont() {
  for (const std::string& font : SoundFontCandidates()) {
    std::error_code error;
    if (std::filesystem::exists(font, error)) return font;
  }
  return kSmallSoundFont;
}

FluidMusicEngine::FluidMusicEngine(SdlAudioOutput& output, std::vector<std::string> soundFonts)
    : output_(&output), core_(std::make_shared<Core>(std::move(soundFonts), &output)) {
  QuietenFluidSynth();
  output_->addSource(this);
}

FluidMusicEngine::FluidMusicEngine(SdlAudioOutput& output, std::string soundFontPath)
    : FluidMusicEngine(output, std::vector<std::string>{std::move(soundFontPath)}) {}

FluidMusicEngine::FluidMusicEngine(std::vector<std::string> soundFonts)
    : output_(nullptr), core_(std::make_shared<Core>(std::move(soundFonts), nullptr)) {
  QuietenFluidSynth();
}

FluidMusicEngine::FluidMusicEngine(std::string soundFontPath)
    : FluidMusicEngine(std::vector<std::string>{std::move(soundFontPath)}) {}

FluidMusicEngine::~FluidMusicEngine() {
  if (output_ != nullptr) output_->removeSource(this);
  {
    std::lock_guard<std::mutex> lock(core_->outputMutex);
    core_->output = nullptr;
  }
  std::thread loader;
  {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->engineGone = true;
    core_->waiting.reset();
    if (core_->player != nullptr) delete_fluid_player(std::exchange(core_->player, nullptr));
    if (core_->synth != nullptr) delete_fluid_synth(std::exchange(core_->synth, nullptr));
    if (core_->settings != nullptr) delete_fluid_settings(std::exchange(core_->settings, nullptr));
    loader = std::move(core_->loader);
  }
  if (!loader.joinable()) return;
  bool finished;
  {
    std::unique_lock<std::mutex> lock(core_->mutex);
    finished = core_->loaderDone.wait_for(lock, kLoadWait, [this] { return core_->loaderFinished; });
  }
  // A load still going holds its own share of the core and throws its synthesizer away when done.
  if (finished) {
    loader.join();
  } else {
    loader.detach();
  }
}

bool FluidMusicEngine::Start() {
  // Only the headers are read here; whether a font really loads shows on the loading thread.
  if (std::none_of(core_->soundFonts.begin(), core_->soundFonts.end(), LooksLikeSoundFont)) return false;
  std::lock_guard<std::mutex> lock(core_->mutex);
  if (core_->engineGone || core_->font == Core::Font::Failed) return false;
  if (core_->font == Core::Font::NotAsked) {
    core_->font = Core::Font::Loading;
    core_->loader = std::thread(LoadSoundFont, core_);
  }
  return true;
}

bool FluidMusicEngine::Load(const std::string& path) {
  std::optional<std::vector<std::uint8_t>> bytes = ReadSongFile(path);
  if (!bytes) return false;
  const std::optional<std::int64_t> endTick = MidiSongEndTick(*bytes);
  if (!endTick) return false;
  const Programs programs = SongPrograms(*bytes);
  core_->kept = std::make_shared<const Song>(Song{std::move(*bytes), *endTick, programs});
  return true;
}

bool FluidMusicEngine::Play() {
  {
    std::lock_guard<std::mutex> lock(core_->mutex);
    const Core::Font font = core_->font;
    if (!core_->kept || core_->engineGone || font == Core::Font::NotAsked || font == Core::Font::Failed) {
      return false;
    }
    if (core_->synth == nullptr) {
      core_->waiting = core_->kept;
      return true;
    }
    if (!core_->start(*core_->kept)) return false;
  }
  // Only after the engine's lock is released: the output takes that lock to ask whether we sound.
  core_->wakeOutput();
  return true;
}

void FluidMusicEngine::Stop() {
  std::lock_guard<std::mutex> lock(core_->mutex);
  core_->silence();
}

bool FluidMusicEngine::IsPlaying() {
  std::lock_guard<std::mutex> lock(core_->mutex);
  return core_->playing();
}

void FluidMusicEngine::SetVolume(std::int32_t hundredthsOfADecibel) {
  const std::int32_t clamped = std::clamp(hundredthsOfADecibel, kQuietestVolume, kLoudestVolume);
  std::lock_guard<std::mutex> lock(core_->mutex);
  core_->amplitude = std::pow(10.0, clamped / 2000.0);
}

bool FluidMusicEngine::sounding() {
  std::lock_guard<std::mutex> lock(core_->mutex);
  return core_->audible();
}

void FluidMusicEngine::mixInto(float* stereo, int frames) {
  std::lock_guard<std::mutex> lock(core_->mutex);
  // Silent, the synthesizer would still run its reverb and chorus over nothing: it is simply not run.
  if (!core_->audible()) return;
  float* rendered = core_->rendered.data();
  const auto amplitude = static_cast<float>(core_->amplitude);
  for (int done = 0; done < frames;) {
    const int count = std::min(frames - done, kRenderFrames);
    fluid_synth_write_float(core_->synth, count, rendered, 0, 2, rendered, 1, 2);
    float* out = stereo + 2 * done;
    for (int i = 0; i < 2 * count; ++i) out[i] += amplitude * rendered[i];
    done += count;
  }
  if (fluid_synth_get_active_voice_count(core_->synth) > 0) {
    core_->tailFrames = kTailFrames;
  } else {
    core_->tailFrames = std::max(0L, core_->tailFrames - frames);
  }
}

}  // namespace nokturna
