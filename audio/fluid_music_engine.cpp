#include "audio/fluid_music_engine.h"

#include <dlfcn.h>
#include <fluidsynth.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "audio/music_level.h"
#include "audio/soundfont_presets.h"
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
  SynthPresets presets;                 // those the synthesizer holds; outlive it
  double amplitude = 1.0;               // the master volume as a factor
  std::shared_ptr<const Song> waiting;  // asked to play before the SoundFont was in
  fluid_player_t* player = nullptr;     // plays the song; there only while the synthesizer is
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
    presets.bringIn(synth, song.programs);
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
  SynthPresets presets;  // outlives the synthesizer made here
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
  bool loaded = false;
  for (auto font = core->soundFonts.begin(); synth != nullptr && !loaded && font != core->soundFonts.end();
       ++font) {
    loaded = LooksLikeSoundFont(*font) && presets.readFont(synth, *font, wanted);
  }
  bool started = false;
  {
    std::lock_guard<std::mutex> lock(core->mutex);
    if (loaded && !core->engineGone) {
      core->presets = std::move(presets);
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
  const std::optional<CheckedMidiSong> checked = CheckMidiSong(*bytes);
  if (!checked) return false;
  core_->kept = std::make_shared<const Song>(Song{std::move(*bytes), checked->endTick, checked->programs});
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
