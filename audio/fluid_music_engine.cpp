// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/fluid_music_engine.h"

#include <dlfcn.h>
#include <fluidsynth.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <utility>

#include "audio/font_file.h"
#include "audio/song_synth.h"
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

// The load runs beside the window's first paint and the game: it gives way to both.
constexpr int kLoaderNiceness = 19;

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

// Tells whoever waits on `bell` that there is something new. Never waits.
void Ring(std::atomic<std::uint32_t>& bell) {
  bell.fetch_add(1, std::memory_order_release);
  bell.notify_all();
}

void RaiseTo(std::atomic<std::uint32_t>& value, std::uint32_t to) {
  std::uint32_t now = value.load();
  while (now < to && !value.compare_exchange_weak(now, to)) {
  }
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

FluidMusicEngine::FluidMusicEngine(AudioMixer& mixer, std::vector<std::string> soundFonts)
    : mixer_(mixer), soundFonts_(std::move(soundFonts)) {
  QuietenFluidSynth();
  mixer_.addSource(this);
}

FluidMusicEngine::~FluidMusicEngine() {
  mixer_.removeSource(this);
  // Both threads hear the stop at once: the renderer's bell rings with it, and font reading gives up.
  loader_.request_stop();
  renderer_.request_stop();
  if (loader_.joinable()) loader_.join();
  if (renderer_.joinable()) renderer_.join();
}

// ---------------------------------------------------------------------------------------------------
// The game's thread

bool FluidMusicEngine::Start() {
  if (font_.load() == Font::Failed) return false;
  if (started_) return true;
  // Only the headers are read here; whether a font really loads shows on the loading thread.
  if (std::none_of(soundFonts_.begin(), soundFonts_.end(), LooksLikeSoundFont)) return false;
  started_ = true;
  font_ = Font::Loading;
  renderer_ = std::jthread([this](std::stop_token stop) { renderSongs(std::move(stop)); });
  loader_ = std::jthread([this](std::stop_token stop) { loadFont(std::move(stop)); });
  return true;
}

bool FluidMusicEngine::Load(const std::string& path) {
  std::optional<std::vector<std::uint8_t>> bytes = ReadSongFile(path);
  if (!bytes) return false;
  const std::optional<CheckedMidiSong> checked = CheckMidiSong(*bytes);
  if (!checked) return false;
  kept_ = std::make_shared<const Song>(Song{std::move(*bytes), checked->endTick, checked->programs});
  return true;
}

bool FluidMusicEngine::Play() { return PlayFrom(0); }

bool FluidMusicEngine::PlayFrom(std::int64_t tick) {
  if (!kept_ || !started_ || font_.load() == Font::Failed) return false;
  cue(kept_, std::max<std::int64_t>(tick, 0));
  playing_ = performances_;
  playedFrom_ = std::max<std::int64_t>(tick, 0);
  return true;
}

void FluidMusicEngine::Stop() {
  cue(nullptr);
  playing_ = 0;
}

bool FluidMusicEngine::IsPlaying() {
  return playing_ != 0 && font_.load() != Font::Failed && over_.load() < playing_;
}

std::int64_t FluidMusicEngine::HeardTick() {
  if (playing_ == 0 || heardPerformance_.load(std::memory_order_acquire) != playing_) return playedFrom_;
  return heardTick_.load(std::memory_order_relaxed);
}

void FluidMusicEngine::SetVolume(std::int32_t hundredthsOfADecibel) {
  const std::int32_t clamped = std::clamp(hundredthsOfADecibel, kQuietestVolume, kLoudestVolume);
  amplitude_ = static_cast<float>(std::pow(10.0, clamped / 2000.0));
}

// A new performance: what sounds of the last one stops being heard at once, and the renderer starts the
// song (or rests) as soon as it hears of it.
void FluidMusicEngine::cue(std::shared_ptr<const Song> song, std::int64_t fromTick) {
  const Cue next{++performances_, song ? 1u : 0u};
  cue_ = next;
  {
    std::lock_guard<std::mutex> lock(wantedMutex_);
    wantedSong_.swap(song);
    wantedFromTick_ = fromTick;
    wantedPerformance_ = next.performance;
  }
  // `song` now holds the song wanted before, let go here rather than under the lock.
  song.reset();
  Ring(rendererBell_);
}

// ---------------------------------------------------------------------------------------------------
// The font loader's thread

void FluidMusicEngine::loadFont(std::stop_token stop) {
  pthread_setname_np(pthread_self(), "nokturna font");
  // A nicer value can only be raised, so this thread starts no other.
  setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), kLoaderNiceness);
  const StopFontReadingOn reading(stop);
  // Only the presets of the song asked for already, if any, and program 0's; every later song brings in
  // its own as it starts.
  Programs wanted;
  wanted.set(0);
  {
    std::lock_guard<std::mutex> lock(wantedMutex_);
    if (wantedSong_) wanted |= wantedSong_->programs;
  }
  loaded_ = SongSynth::Load(soundFonts_, wanted);
  font_.store(loaded_ ? Font::In : Font::Failed, std::memory_order_release);
  Ring(rendererBell_);
}

// ---------------------------------------------------------------------------------------------------
// The renderer's thread

void FluidMusicEngine::renderSongs(std::stop_token stop) {
  pthread_setname_np(pthread_self(), "nokturna music");
  const StopFontReadingOn reading(stop);  // the presets a song brings in, and its samples
  const std::stop_callback wakeOnStop(stop, [this] { Ring(rendererBell_); });
  std::uint32_t performance = 0;  // the one in hand
  std::unique_ptr<SongSynth> synth;
  std::shared_ptr<const Song> waiting;  // its song, until the synthesizer is there to start it
  std::int64_t fromTick = 0;            // where that song begins
  bool rendering = false, songOver = false, announced = false;
  while (!stop.stop_requested()) {
    const std::uint32_t bell = rendererBell_.load(std::memory_order_acquire);
    if (!synth && font_.load(std::memory_order_acquire) == Font::In) {
      synth = std::move(loaded_);
      synth->cutWhen([&] { return stop.stop_requested() || cue_.load().performance != performance; });
    }
    std::shared_ptr<const Song> song;
    std::uint32_t wanted;
    std::int64_t wantedFrom;
    {
      std::lock_guard<std::mutex> lock(wantedMutex_);
      song = wantedSong_;
      wanted = wantedPerformance_;
      wantedFrom = wantedFromTick_;
    }
    if (wanted != performance) {
      performance = wanted;
      rendering = false;
      if (synth) synth->silence();
      waiting = std::move(song);
      fromTick = wantedFrom;
      if (!waiting) settle(performance);
    }
    song.reset();
    if (waiting && synth) {
      // The presets the song lacks are read here, with nothing locked: the mixer plays on meanwhile.
      rendering = synth->start(*waiting, fromTick);
      songOver = false;
      announced = false;
      waiting.reset();
      if (rendering) {
        streaming_.store(performance, std::memory_order_release);
      } else {
        RaiseTo(over_, performance);
        settle(performance);
      }
    } else if (waiting && font_.load(std::memory_order_acquire) == Font::Failed) {
      waiting.reset();
      RaiseTo(over_, performance);
      settle(performance);
    }
    if (rendering && ring_.back() != nullptr) {
      rendering = renderBlock(*synth, performance, songOver);
      if (!announced) {
        // A mixer resting without a device, or between its looks, hears of the song at once.
        mixer_.wake();
        announced = true;
      }
      continue;
    }
    // A ring full of blocks of a performance cut off is emptied only by a mixer that was told to play.
    if (rendering && !announced) {
      mixer_.wake();
      announced = true;
    }
    rendererBell_.wait(bell, std::memory_order_acquire);
  }
}

// Renders the next block of `performance`; false once it was its last.
bool FluidMusicEngine::renderBlock(SongSynth& synth, std::uint32_t performance, bool& songOver) {
  MusicBlock& block = *ring_.back();
  synth.render(block.stereo, MusicBlock::kFrames);
  block.performance = performance;
  block.tick = synth.tick();
  block.songOver = !songOver && synth.songOver();
  songOver = songOver || block.songOver;
  block.last = !synth.audible();
  ring_.push();
  if (block.last) settle(performance);
  Ring(listenerBell_);
  return !block.last;
}

void FluidMusicEngine::settle(std::uint32_t performance) {
  settled_.store(performance, std::memory_order_release);
  Ring(listenerBell_);
}

// ---------------------------------------------------------------------------------------------------
// The mixer's thread

bool FluidMusicEngine::sounding() {
  const Cue now = cue_.load();
  return now.plays != 0 && streaming_.load(std::memory_order_acquire) == now.performance &&
         ended_.load(std::memory_order_relaxed) != now.performance;
}

void FluidMusicEngine::dropStale(std::uint32_t performance) {
  while (ring_.size() > 0 && ring_.at(0).performance < performance) {
    ring_.pop();
    readFrames_ = 0;
    Ring(rendererBell_);
  }
}

void FluidMusicEngine::heard(const MusicBlock& block) {
  heardTick_.store(block.tick, std::memory_order_relaxed);
  heardPerformance_.store(block.performance, std::memory_order_release);
  if (block.songOver) RaiseTo(over_, block.performance);
  if (block.last) ended_.store(block.performance, std::memory_order_relaxed);
}

void FluidMusicEngine::mixInto(float* stereo, int frames) {
  const Cue now = cue_.load();
  dropStale(now.performance);
  const float amplitude = amplitude_.load(std::memory_order_relaxed);
  for (int done = 0; done < frames && ring_.size() > 0;) {
    // A block of a newer performance than the cue read above waits for the next period.
    const MusicBlock& block = ring_.at(0);
    if (block.performance != now.performance) return;
    const int count = std::min(frames - done, MusicBlock::kFrames - readFrames_);
    const float* from = block.stereo + 2 * readFrames_;
    float* to = stereo + 2 * done;
    for (int i = 0; i < 2 * count; ++i) to[i] += amplitude * from[i];
    done += count;
    readFrames_ += count;
    if (readFrames_ == MusicBlock::kFrames) {
      heard(block);
      ring_.pop();
      readFrames_ = 0;
      Ring(rendererBell_);
    }
  }
  // A ring that runs dry leaves a gap in the music rather than holding the device up.
}

void FluidMusicEngine::awaitFrames(int frames) {
  for (;;) {
    const std::uint32_t bell = listenerBell_.load(std::memory_order_acquire);
    const Cue now = cue_.load();
    if (now.plays == 0) return;
    dropStale(now.performance);
    long ready = -readFrames_;
    for (std::size_t i = 0; i < ring_.size() && ring_.at(i).performance == now.performance; ++i) {
      ready += MusicBlock::kFrames;
    }
    if (ready >= frames || settled_.load(std::memory_order_acquire) >= now.performance) return;
    listenerBell_.wait(bell, std::memory_order_acquire);
  }
}

}  // namespace nokturna
