// The real music engine, rendered offline through its AudioSource (no sound device needed), both on its
// own and under the music module. Songs are small MIDI files the tests write themselves.
#include "audio/fluid_music_engine.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/music_player.h"
#include "audio/sdl_audio_output.h"
#include "audio/song_album.h"
#include "tests/audio/midi_image.h"
#include "tests/audio/wav_image.h"

namespace nokturna {
namespace {

namespace fs = std::filesystem;
using testing::LoudArrangement;
using testing::MidiImage;
using testing::PianoPhrase;
using testing::WriteFile;
using Clock = std::chrono::steady_clock;

constexpr int kRate = SdlAudioOutput::kOutputRate;
constexpr int kPeriod = SdlAudioOutput::kPeriodFrames;

// The small font loads in a blink; any General MIDI font will do otherwise.
std::string TestSoundFont() {
  const std::string small = "/usr/share/sounds/sf2/TimGM6mb.sf2";
  return fs::exists(small) ? small : DefaultSoundFont();
}

std::vector<float> Render(FluidMusicEngine& engine, long frames) {
  std::vector<float> stereo(2 * frames, 0.0f);
  for (long done = 0; done < frames; done += kPeriod) {
    engine.mixInto(stereo.data() + 2 * done, static_cast<int>(std::min<long>(kPeriod, frames - done)));
  }
  return stereo;
}

double Peak(const std::vector<float>& stereo) {
  double peak = 0;
  for (float s : stereo) peak = std::max(peak, double{std::fabs(s)});
  return peak;
}

double Rms(const std::vector<float>& stereo, std::size_t from = 0, std::size_t to = SIZE_MAX) {
  to = std::min(to, stereo.size());
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += double{stereo[i]} * stereo[i];
  return std::sqrt(sum / static_cast<double>(to - from));
}

constexpr double kAudible = 1e-3;

// Renders periods until the music sounds (the SoundFont loads on a thread of its own), then `frames`
// frames from that first sounding period on. Empty if nothing sounds within ten seconds.
std::vector<float> RenderFromFirstSound(FluidMusicEngine& engine, long frames) {
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (Clock::now() < deadline) {
    std::vector<float> period = Render(engine, kPeriod);
    if (Peak(period) > kAudible) {
      std::vector<float> rest = Render(engine, frames - kPeriod);
      period.insert(period.end(), rest.begin(), rest.end());
      return period;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return {};
}

class SongFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(TestSoundFont())) GTEST_SKIP() << "no General MIDI SoundFont installed";
    char pattern[] = "/tmp/nokturna-music-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    songFolder = folder_ + "/";
    for (int i = 1; i <= 4; ++i) songFile[i] = "Music" + std::to_string(i) + ".mid";
  }
  void TearDown() override {
    SetMusicEngine(nullptr);
    if (!folder_.empty()) fs::remove_all(folder_);
  }

  std::string song(int n) const { return songFolder + songFile[n]; }

  void loadWindow(FluidMusicEngine& engine) {
    SetMusicEngine(&engine);
    InitMusic();
    LoadSong(1);
    SetMusicVolume(85);
    PlaySong();
  }

  static void chooseSong(std::uint8_t n) {
    StopSong();
    LoadSong(n);
    InitMusic();
    SetMusicVolume(85);
    PlaySong();
  }

  std::string folder_;
};

// ---------------------------------------------------------------------------------------------------
// Playing

using MusicPlaying = SongFolder;

TEST_F(MusicPlaying, ASongSoundsOnceAndIsOverWhenItsLastNoteEnds) {
  FluidMusicEngine engine(TestSoundFont());
  WriteFile(song(1), MidiImage(PianoPhrase()));  // two seconds
  auto root = engine.CreateRoot();
  auto performance = root->CreatePerformance();
  ASSERT_TRUE(performance->Init());
  auto segment = root->CreateLoader()->LoadSegment(song(1));
  ASSERT_NE(segment, nullptr);
  auto state = performance->PlaySegment(*segment, 0, 0);
  ASSERT_NE(state, nullptr);
  EXPECT_TRUE(performance->IsPlaying(segment.get(), state.get()));  // also while the font still loads

  const std::vector<float> first = RenderFromFirstSound(engine, kRate);
  ASSERT_FALSE(first.empty());
  EXPECT_GT(Rms(first), 1e-3);
  EXPECT_TRUE(performance->IsPlaying(segment.get(), state.get()));
  EXPECT_TRUE(performance->IsPlaying(segment.get(), nullptr));
  EXPECT_TRUE(engine.sounding());

  long frames = kRate;
  while (performance->IsPlaying(segment.get(), state.get()) && frames < 10 * kRate) {
    Render(engine, kPeriod);
    frames += kPeriod;
  }
  EXPECT_NEAR(frames / double{kRate}, 2.0, 0.1);
  // The last notes fade out; then nothing more, not even when the player calls itself done.
  Render(engine, kRate);
  EXPECT_LT(Peak(Render(engine, 4 * kRate)), 1e-5);
  EXPECT_FALSE(performance->IsPlaying(segment.get(), state.get()));
  // Once the reverb has died away the synthesizer is no longer run: the output may sleep.
  for (frames = 0; engine.sounding() && frames < 10 * kRate; frames += kPeriod) Render(engine, kPeriod);
  EXPECT_FALSE(engine.sounding());
}

TEST_F(MusicPlaying, StopSilencesTheSongWithinOnePeriod) {
  FluidMusicEngine engine(TestSoundFont());
  WriteFile(song(1), MidiImage(LoudArrangement()));
  loadWindow(engine);
  ASSERT_GT(Rms(RenderFromFirstSound(engine, kRate / 2)), 1e-3);
  StopSong();
  EXPECT_FALSE(engine.sounding()) << "a stopped song leaves nothing ringing";
  Render(engine, kPeriod);
  EXPECT_LT(Peak(Render(engine, 10 * kPeriod)), 1e-6);
  // Music on again plays nothing by itself.
  EXPECT_LT(Peak(Render(engine, kRate)), 1e-6);
}

TEST_F(MusicPlaying, ChoosingASongRestartsItFromTheVeryBeginning) {
  FluidMusicEngine engine(TestSoundFont());
  WriteFile(song(1), MidiImage(PianoPhrase()));
  loadWindow(engine);
  const std::vector<float> first = RenderFromFirstSound(engine, 8192);
  ASSERT_FALSE(first.empty());
  Render(engine, 40 * kPeriod);  // whole periods, as the device asks for them
  chooseSong(1);
  const std::vector<float> again = Render(engine, 8192);
  // The reverb's slow modulation does not restart with the song, so the two differ by a trace.
  std::vector<float> difference(first.size());
  for (std::size_t i = 0; i < first.size(); ++i) difference[i] = first[i] - again[i];
  EXPECT_LT(Rms(difference), 0.05 * Rms(first));
}

TEST_F(MusicPlaying, VolumeFollowsHundredthsOfADecibelAndLoudSongsKeepHeadroom) {
  FluidMusicEngine engine(TestSoundFont());
  WriteFile(song(1), MidiImage(LoudArrangement()));
  SetMusicEngine(&engine);
  InitMusic();  // -900
  LoadSong(1);
  PlaySong();
  const std::vector<float> quiet = RenderFromFirstSound(engine, kRate);
  ASSERT_FALSE(quiet.empty());
  chooseSong(1);  // 570
  const std::vector<float> loud = Render(engine, 8 * kRate);
  const double gain = 20 * std::log10(Rms(loud, 0, 2 * kRate) / Rms(quiet));
  EXPECT_NEAR(gain, 14.7, 0.5);
  EXPECT_LT(Peak(loud), 0.9);  // below full scale with room to spare, not clipped by the output
}

TEST_F(MusicPlaying, TheGamesOwnSongsSoundWhenTheyAreThere) {
  int found = 0;
  for (int n = 1; n <= 4; ++n) {
    const std::string path = std::string(NOKTURNA_SONG_ALBUM_DIR) + "/" + songFile[n];
    if (!fs::exists(path)) continue;
    SCOPED_TRACE(path);
    ++found;
    FluidMusicEngine engine(TestSoundFont());
    fs::copy_file(path, song(1), fs::copy_options::overwrite_existing);
    loadWindow(engine);
    ASSERT_TRUE(MusicReady());
    const std::vector<float> music = RenderFromFirstSound(engine, 20 * kRate);
    ASSERT_FALSE(music.empty());
    EXPECT_LT(Peak(music), 1.0);
  }
  if (found == 0) GTEST_SKIP() << "the song album is not there yet";
}

// ---------------------------------------------------------------------------------------------------
// Before the SoundFont is in, and shutting down

using MusicLifecycle = SongFolder;

TEST_F(MusicLifecycle, ASongAskedForBeforeTheFontIsInStartsFromItsBeginningOnceItIs) {
  WriteFile(song(1), MidiImage(PianoPhrase()));
  std::vector<float> early;
  {
    FluidMusicEngine engine(TestSoundFont());
    loadWindow(engine);  // at once: the font is still on its way
    early = RenderFromFirstSound(engine, 8192);
    SetMusicEngine(nullptr);
  }
  FluidMusicEngine engine(TestSoundFont());
  loadWindow(engine);
  ASSERT_FALSE(RenderFromFirstSound(engine, kPeriod).empty());
  chooseSong(1);
  const std::vector<float> reference = Render(engine, 8192);
  ASSERT_EQ(early.size(), reference.size());
  std::vector<float> difference(early.size());
  for (std::size_t i = 0; i < early.size(); ++i) difference[i] = early[i] - reference[i];
  EXPECT_LT(Rms(difference), 0.05 * Rms(reference));
}

TEST_F(MusicLifecycle, ShuttingDownIsQuickWhileTheFontLoadsAndWhileASongSounds) {
  WriteFile(song(1), MidiImage(PianoPhrase()));
  // The system's default font is the large one on most machines: it takes a second or more to load.
  const std::string systemFont = "/usr/share/sounds/sf2/default-GM.sf2";
  for (const std::string& font : {fs::exists(systemFont) ? systemFont : TestSoundFont(), TestSoundFont()}) {
    SCOPED_TRACE(font);
    auto engine = std::make_unique<FluidMusicEngine>(font);
    loadWindow(*engine);
    const auto begin = Clock::now();
    ShutDownMusic();
    SetMusicEngine(nullptr);
    engine.reset();
    EXPECT_LT(Clock::now() - begin, std::chrono::milliseconds(900));
  }
  FluidMusicEngine engine(TestSoundFont());
  loadWindow(engine);
  ASSERT_FALSE(RenderFromFirstSound(engine, kPeriod).empty());
  const auto begin = Clock::now();
  ShutDownMusic();
  EXPECT_LT(Clock::now() - begin, std::chrono::milliseconds(100));
  Render(engine, kPeriod);
  EXPECT_LT(Peak(Render(engine, kRate)), 1e-6);
}

// ---------------------------------------------------------------------------------------------------
// Bad input: no crash, no message, and the game plays on

using MusicBadInput = SongFolder;

TEST_F(MusicBadInput, UnloadableSongFilesLoadNothingAndTheOldSongPlaysAgain) {
  FluidMusicEngine engine(TestSoundFont());
  auto loader = engine.CreateRoot()->CreateLoader();
  const std::vector<std::uint8_t> good = MidiImage(PianoPhrase());
  const std::string sub = folder_ + "/sub/";

  ::testing::internal::CaptureStderr();
  EXPECT_EQ(loader->LoadSegment(folder_ + "/missing/Music1.mid"), nullptr) << "missing folder";
  fs::create_directory(sub);
  EXPECT_EQ(loader->LoadSegment(sub + "Music1.mid"), nullptr) << "empty folder";
  WriteFile(sub + "Music1.mid", {});
  EXPECT_EQ(loader->LoadSegment(sub + "Music1.mid"), nullptr) << "zero bytes";
  WriteFile(sub + "Music1.mid", std::vector<std::uint8_t>(good.begin(), good.end() - 5));
  EXPECT_EQ(loader->LoadSegment(sub + "Music1.mid"), nullptr) << "truncated";
  WriteFile(sub + "Music2.mid", testing::SteadyClip8(22050, 2000, 0xC0));
  EXPECT_EQ(loader->LoadSegment(sub + "Music2.mid"), nullptr) << "a WAV file";
  fs::create_directory(sub + "Music3.mid");
  EXPECT_EQ(loader->LoadSegment(sub + "Music3.mid"), nullptr) << "a folder";
  fs::remove(sub + "Music1.mid");
  WriteFile(sub + "music1.mid", good);
  EXPECT_EQ(loader->LoadSegment(sub + "Music1.mid"), nullptr) << "wrong letter case";

  // Under the module: song 4 plays; choosing the broken song 2 plays song 4 again from its start.
  WriteFile(sub + "Music4.mid", good);
  songFolder = sub;
  SetMusicEngine(&engine);
  InitMusic();
  LoadSong(4);
  SetMusicVolume(85);
  PlaySong();
  const std::vector<float> first = RenderFromFirstSound(engine, 8192);
  ASSERT_FALSE(first.empty());
  for (std::uint8_t n : {1, 2, 3}) {
    chooseSong(n);
    const std::vector<float> again = Render(engine, 8192);
    EXPECT_GT(Rms(again), 0.5 * Rms(first)) << "song " << int{n};
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(MusicBadInput, AnUnreadableSongFileLoadsNothing) {
  if (geteuid() == 0) GTEST_SKIP() << "every file is readable to root";
  FluidMusicEngine engine(TestSoundFont());
  WriteFile(song(1), MidiImage(PianoPhrase()));
  chmod(song(1).c_str(), 0);
  EXPECT_EQ(engine.CreateRoot()->CreateLoader()->LoadSegment(song(1)), nullptr);
}

TEST_F(MusicBadInput, NoSoundFontABrokenOneOrNoSoundDeviceLeaveTheMusicOffWithoutAWord) {
  WriteFile(song(1), MidiImage(PianoPhrase()));
  const std::string broken = folder_ + "/broken.sf2";
  std::vector<std::uint8_t> header{'R', 'I', 'F', 'F', 0, 1, 0, 0, 's', 'f', 'b', 'k'};
  header.resize(256, 0x5A);
  WriteFile(broken, header);

  ::testing::internal::CaptureStderr();
  {
    FluidMusicEngine engine(folder_ + "/none.sf2");
    loadWindow(engine);
    EXPECT_FALSE(MusicReady());
    EXPECT_LT(Peak(Render(engine, kRate / 4)), 1e-9);
    SetMusicEngine(nullptr);
  }
  {
    // The header passes, the load fails on the font's thread: silence, and the next start gives up.
    FluidMusicEngine engine(broken);
    loadWindow(engine);
    EXPECT_TRUE(MusicReady());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_LT(Peak(Render(engine, kRate / 4)), 1e-9);
    chooseSong(1);
    EXPECT_FALSE(MusicReady());
    SetMusicEngine(nullptr);
  }
  {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlAudioOutput output;
    ASSERT_FALSE(output.isOpen());
    FluidMusicEngine engine(output, TestSoundFont());
    loadWindow(engine);
    EXPECT_FALSE(MusicReady());
    ShutDownMusic();
    SetMusicEngine(nullptr);
    unsetenv("SDL_AUDIODRIVER");
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace nokturna
