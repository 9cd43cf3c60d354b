#include "audio/fluid_music_engine.h"

#include <dlfcn.h>
#include <fluidsynth.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "audio/standard_midi_file.h"

namespace nokturna {

namespace {

constexpr char kDefaultSoundFont[] = "/usr/share/sounds/sf2/default-GM.sf2";
constexpr char kSmallSoundFont[] = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// The synthesizer's level at a master volume of 0 hundredths of a decibel, half FluidSynth's own default.
// The game plays its music at +5.7 dB. There a loud full arrangement (melody, chords, bass and drums, all
// fortissimo) through the small Debian font, the loudest of the fonts, peaks near 0.7 of full scale, and
// the game's own songs near 0.1 to 0.3: room left for the sound effects on top.
constexpr double kReferenceGain = 0.1;
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

std::uint64_t NextSerial() {
  static std::atomic<std::uint64_t> serial{0};
  return ++serial;
}

// One play of a segment.
struct Play {
  std::uint64_t performance;
  std::uint64_t segment;
  std::shared_ptr<const std::vector<std::uint8_t>> song;
  std::int64_t endTick;
  bool waiting = false;  // asked for before the SoundFont was in
  fluid_player_t* player = nullptr;
};

}  // namespace

struct FluidMusicEngine::Core {
  Core(std::string path, SdlAudioOutput* output, bool usable)
      : soundFontPath(std::move(path)), outputUsable(usable), output(output) {}
  ~Core() {
    for (const std::shared_ptr<Play>& play : plays) {
      if (play->player != nullptr) delete_fluid_player(play->player);
    }
    if (synth != nullptr) delete_fluid_synth(synth);
    if (settings != nullptr) delete_fluid_settings(settings);
  }

  enum class Font { NotAsked, Loading, In, Failed };

  const std::string soundFontPath;
  const bool outputUsable;
  SdlAudioOutput* output;  // woken when a song starts; none once the engine is gone

  std::mutex mutex;
  std::condition_variable loaderDone;
  // Everything below is guarded by `mutex`.
  Font font = Font::NotAsked;
  bool loaderFinished = false;
  bool engineGone = false;
  std::thread loader;
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  double amplitude = 1.0;  // the master volume as a factor
  std::vector<std::shared_ptr<Play>> plays;
  std::vector<float> rendered = std::vector<float>(2 * kRenderFrames);
  long tailFrames = 0;  // left to render after the last voice ended

  bool audible() const {
    if (synth == nullptr) return false;
    if (tailFrames > 0) return true;
    return std::any_of(plays.begin(), plays.end(), [](const std::shared_ptr<Play>& play) {
      return play->player != nullptr && fluid_player_get_status(play->player) == FLUID_PLAYER_PLAYING;
    });
  }

  static bool Sounding(const Play& play) {
    if (play.waiting) return true;
    if (play.player == nullptr) return false;
    // The player calls itself done only seconds after the end of the song; the song is over as soon as
    // the player has passed the last end-of-track mark.
    return fluid_player_get_status(play.player) == FLUID_PLAYER_PLAYING &&
           fluid_player_get_current_tick(play.player) <= play.endTick;
  }

  // Ends a play at once (a player exists only while the synthesizer does).
  void silence(Play& play) {
    play.waiting = false;
    if (play.player == nullptr) return;
    fluid_player_stop(play.player);
    delete_fluid_player(play.player);
    play.player = nullptr;
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

  // Starts a play from the beginning of its song on a fresh player: seeking an old one back to 0 loses the
  // notes of the first tick. Needs the synthesizer.
  bool start(Play& play) {
    play.waiting = false;
    for (const std::shared_ptr<Play>& other : plays) {
      if (other.get() != &play) silence(*other);
    }
    clearSynth();
    fluid_player_t* player = new_fluid_player(synth);
    if (player == nullptr) return false;
    // The player takes a copy of the song. A loop count of 1 plays the song once.
    if (fluid_player_add_mem(player, play.song->data(), play.song->size()) != FLUID_OK ||
        fluid_player_set_loop(player, 1) != FLUID_OK || fluid_player_play(player) != FLUID_OK) {
      delete_fluid_player(player);
      return false;
    }
    play.player = player;
    tailFrames = kTailFrames;
    return true;
  }

  void forget(const std::shared_ptr<Play>& play) {
    plays.erase(std::remove(plays.begin(), plays.end(), play), plays.end());
  }
};

namespace {

using Core = FluidMusicEngine::Core;

// Runs on the loading thread: makes the synthesizer, loads the font, and hands both to the engine.
void LoadSoundFont(std::shared_ptr<Core> core) {
  // The load runs beside the window's first paint and the game: it gives way to both. A nicer value can
  // only be raised, so this thread starts no other.
  setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19);
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
  }
  const bool loaded =
      synth != nullptr && fluid_synth_sfload(synth, core->soundFontPath.c_str(), 1) != FLUID_FAILED;
  {
    std::lock_guard<std::mutex> lock(core->mutex);
    if (loaded && !core->engineGone) {
      core->settings = std::exchange(settings, nullptr);
      core->synth = std::exchange(synth, nullptr);
      core->font = Core::Font::In;
      // Starting a play stops every other, so at most one is still waiting.
      for (const std::shared_ptr<Play>& play : core->plays) {
        if (play->waiting && !core->start(*play)) play->waiting = false;
      }
    } else {
      core->font = Core::Font::Failed;
      for (const std::shared_ptr<Play>& play : core->plays) play->waiting = false;
    }
  }
  if (synth != nullptr) delete_fluid_synth(synth);
  if (settings != nullptr) delete_fluid_settings(settings);
  {
    std::lock_guard<std::mutex> lock(core->mutex);
    core->loaderFinished = true;
  }
  core->loaderDone.notify_all();
}

class FluidSegment : public MusicSegment {
 public:
  FluidSegment(std::vector<std::uint8_t> song, std::int64_t endTick)
      : serial(NextSerial()),
        song(std::make_shared<const std::vector<std::uint8_t>>(std::move(song))),
        endTick(endTick) {}

  // The loader took only files that read as standard MIDI files.
  bool SetStandardMidiFile() override { return true; }
  // Every play starts on a fresh player at the beginning of the song; no other start point is offered.
  bool SetStartPoint(std::int32_t musicTime) override { return musicTime == 0; }

  const std::uint64_t serial;
  const std::shared_ptr<const std::vector<std::uint8_t>> song;
  const std::int64_t endTick;
};

class FluidSegmentState : public MusicSegmentState {
 public:
  explicit FluidSegmentState(std::weak_ptr<Play> play) : play(std::move(play)) {}
  const std::weak_ptr<Play> play;  // gone with its performance
};

class FluidLoader : public MusicLoader {
 public:
  std::unique_ptr<MusicSegment> LoadSegment(const std::string& path) override {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return nullptr;
    std::ifstream file(path, std::ios::binary);
    if (!file) return nullptr;
    std::vector<std::uint8_t> song((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return nullptr;
    const std::optional<std::int64_t> endTick = MidiSongEndTick(song);
    if (!endTick) return nullptr;
    return std::make_unique<FluidSegment>(std::move(song), *endTick);
  }

  // Standard MIDI files refer to no other files: their instruments all come from the SoundFont.
  bool SetSearchDirectory(const std::string&) override { return true; }
};

class FluidPerformance : public MusicPerformance {
 public:
  explicit FluidPerformance(std::shared_ptr<Core> core) : core_(std::move(core)), serial_(NextSerial()) {}

  ~FluidPerformance() override {
    std::lock_guard<std::mutex> lock(core_->mutex);
    for (const std::shared_ptr<Play>& play : mine()) {
      core_->silence(*play);
      core_->forget(play);
    }
  }

  bool Init() override {
    if (!core_->outputUsable || !LooksLikeSoundFont(core_->soundFontPath)) return false;
    std::lock_guard<std::mutex> lock(core_->mutex);
    if (core_->engineGone || core_->font == Core::Font::Failed) return false;
    if (core_->font == Core::Font::NotAsked) {
      core_->font = Core::Font::Loading;
      core_->loader = std::thread(LoadSoundFont, core_);
    }
    initialised_ = true;
    return true;
  }

  // The synthesizer is the one port; one channel group is enough for a standard MIDI file, any more
  // are simply unused.
  bool SetPort(int port, int channelGroups) override {
    return initialised_ && (port == -1 || port == 0) && channelGroups >= 1;
  }

  // The whole SoundFont is loaded, so every instrument is always at the synthesizer.
  bool SetMasterAutoDownload(bool) override { return initialised_; }

  bool SetMasterVolume(std::int32_t volume) override {
    if (!initialised_) return false;
    const std::int32_t clamped = std::clamp(volume, kQuietestVolume, kLoudestVolume);
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->amplitude = std::pow(10.0, clamped / 2000.0);
    return true;
  }

  bool IsPlaying(const MusicSegment* segment, const MusicSegmentState* state) override {
    std::lock_guard<std::mutex> lock(core_->mutex);
    for (const std::shared_ptr<Play>& play : matching(segment, state)) {
      if (Core::Sounding(*play)) return true;
    }
    return false;
  }

  std::unique_ptr<MusicSegmentState> PlaySegment(const MusicSegment& segment, std::int32_t flags,
                                                 std::int64_t startTime) override {
    const auto* ours = dynamic_cast<const FluidSegment*>(&segment);
    if (!initialised_ || ours == nullptr || flags != 0 || startTime != 0) return nullptr;
    auto play = std::make_shared<Play>(Play{serial_, ours->serial, ours->song, ours->endTick});
    SdlAudioOutput* output = nullptr;
    {
      std::lock_guard<std::mutex> lock(core_->mutex);
      if (core_->engineGone || core_->font == Core::Font::Failed) return nullptr;
      // Plays already silenced are over for good; forgetting them keeps every song ever chosen from
      // staying in memory. Their states then simply report them as not playing.
      std::erase_if(core_->plays,
                    [](const std::shared_ptr<Play>& old) { return old->player == nullptr && !old->waiting; });
      core_->plays.push_back(play);
      if (core_->synth == nullptr) {
        for (const std::shared_ptr<Play>& other : core_->plays) other->waiting = false;
        play->waiting = true;
      } else if (!core_->start(*play)) {
        core_->forget(play);
        return nullptr;
      }
      output = core_->output;
    }
    // Only after the engine's lock is released: the output takes that lock to ask whether we sound.
    if (output != nullptr) output->wake();
    return std::make_unique<FluidSegmentState>(play);
  }

  bool Stop(const MusicSegment* segment, const MusicSegmentState* state, std::int64_t time,
            std::int32_t flags) override {
    if (!initialised_ || time != 0 || flags != 0) return false;
    std::lock_guard<std::mutex> lock(core_->mutex);
    for (const std::shared_ptr<Play>& play : matching(segment, state)) core_->silence(*play);
    return true;
  }

 private:
  // This performance's plays; the caller holds the mutex.
  std::vector<std::shared_ptr<Play>> mine() const {
    std::vector<std::shared_ptr<Play>> found;
    for (const std::shared_ptr<Play>& play : core_->plays) {
      if (play->performance == serial_) found.push_back(play);
    }
    return found;
  }

  // The plays of this performance that the pair names: the play `state` if given (and of `segment`, if
  // that is given too), otherwise every play of `segment`. The caller holds the mutex.
  std::vector<std::shared_ptr<Play>> matching(const MusicSegment* segment,
                                              const MusicSegmentState* state) const {
    const auto* ourSegment = dynamic_cast<const FluidSegment*>(segment);
    if (segment != nullptr && ourSegment == nullptr) return {};
    std::vector<std::shared_ptr<Play>> found;
    if (state != nullptr) {
      const auto* ourState = dynamic_cast<const FluidSegmentState*>(state);
      std::shared_ptr<Play> play = ourState != nullptr ? ourState->play.lock() : nullptr;
      if (play && play->performance == serial_ &&
          (ourSegment == nullptr || play->segment == ourSegment->serial)) {
        found.push_back(play);
      }
      return found;
    }
    if (ourSegment == nullptr) return {};
    for (const std::shared_ptr<Play>& play : mine()) {
      if (play->segment == ourSegment->serial) found.push_back(play);
    }
    return found;
  }

  const std::shared_ptr<Core> core_;
  const std::uint64_t serial_;
  bool initialised_ = false;
};

class FluidRoot : public MusicRoot {
 public:
  explicit FluidRoot(std::shared_ptr<Core> core) : core_(std::move(core)) {}
  std::unique_ptr<MusicLoader> CreateLoader() override { return std::make_unique<FluidLoader>(); }
  std::unique_ptr<MusicPerformance> CreatePerformance() override {
    return std::make_unique<FluidPerformance>(core_);
  }

 private:
  const std::shared_ptr<Core> core_;
};

}  // namespace

std::string DefaultSoundFont() {
  std::error_code error;
  if (!std::filesystem::exists(kSmallSoundFont, error) && std::filesystem::exists(kDefaultSoundFont, error)) {
    return kDefaultSoundFont;
  }
  return kSmallSoundFont;
}

FluidMusicEngine::FluidMusicEngine(SdlAudioOutput& output, std::string soundFontPath)
    : output_(&output), core_(std::make_shared<Core>(std::move(soundFontPath), &output, output.isOpen())) {
  QuietenFluidSynth();
  output_->addSource(this);
}

FluidMusicEngine::FluidMusicEngine(std::string soundFontPath)
    : output_(nullptr), core_(std::make_shared<Core>(std::move(soundFontPath), nullptr, true)) {
  QuietenFluidSynth();
}

FluidMusicEngine::~FluidMusicEngine() {
  if (output_ != nullptr) output_->removeSource(this);
  std::thread loader;
  {
    // Objects that outlive the engine find no synthesizer and stay quiet.
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->engineGone = true;
    core_->output = nullptr;
    for (const std::shared_ptr<Play>& play : core_->plays) {
      if (play->player != nullptr) delete_fluid_player(play->player);
      play->player = nullptr;
      play->waiting = false;
    }
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

std::unique_ptr<MusicRoot> FluidMusicEngine::CreateRoot() { return std::make_unique<FluidRoot>(core_); }

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
