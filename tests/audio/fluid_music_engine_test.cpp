// The real music engine, rendered offline through its AudioSource (no sound device needed), both on its
// own and under the game's sound. Songs are small MIDI files the tests write themselves.
#include "audio/fluid_music_engine.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/sdl_audio_output.h"
#include "tests/audio/game_music.h"
#include "tests/audio/midi_image.h"
#include "tests/audio/scoped_process_state.h"
#include "tests/audio/wait_until.h"
#include "tests/audio/wav_image.h"

namespace nokturna {
namespace {

namespace fs = std::filesystem;
using testing::LoudArrangement;
using testing::MidiImage;
using testing::PianoPhrase;
using testing::WaitUntil;
using testing::WriteFile;

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
// frames from that first sounding period on. Empty if nothing ever sounds.
std::vector<float> RenderFromFirstSound(FluidMusicEngine& engine, long frames) {
  std::vector<float> period;
  if (!WaitUntil([&] {
        period = Render(engine, kPeriod);
        return Peak(period) > kAudible;
      })) {
    return {};
  }
  std::vector<float> rest = Render(engine, frames - kPeriod);
  period.insert(period.end(), rest.begin(), rest.end());
  return period;
}

// The threads of the process; the font's loading thread is one of them while it runs.
long ThreadCount() { return std::distance(fs::directory_iterator("/proc/self/task"), {}); }

class SongFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(TestSoundFont())) GTEST_SKIP() << "no General MIDI SoundFont installed";
    char pattern[] = "/tmp/nokturna-music-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    game_.reset();
    if (!folder_.empty()) fs::remove_all(folder_);
  }

  static std::string songName(int n) { return "Music" + std::to_string(n) + ".mid"; }
  std::string song(int n) const { return folder_ + "/" + songName(n); }

  // The game starts with the songs of `folder` on `engine`: the first one plays, at +570.
  void loadWindow(FluidMusicEngine& engine) { game_.emplace(engine, folder_ + "/"); }
  void chooseSong(int n) { game_->sound().chooseSong(n); }
  // Music off, as the game also does when it is left.
  void musicOff() { game_->sound().switchMusic(false); }

  std::string folder_;
  std::optional<testing::GameMusic> game_;
};

// ---------------------------------------------------------------------------------------------------
// Playing

using MusicPlaying = SongFolder;

TEST_F(MusicPlaying, ASongSoundsOnceAndIsOverWhenItsLastNoteEnds) {
  FluidMusicEngine engine(TestSoundFont());
  WriteFile(song(1), MidiImage(PianoPhrase()));  // two seconds
  EXPECT_FALSE(engine.Play()) << "nothing loaded yet";
  ASSERT_TRUE(engine.Start());
  ASSERT_TRUE(engine.Load(song(1)));
  ASSERT_TRUE(engine.Play());
  EXPECT_TRUE(engine.IsPlaying());  // also while the font still loads

  const std::vector<float> first = RenderFromFirstSound(engine, kRate);
  ASSERT_FALSE(first.empty());
  EXPECT_GT(Rms(first), 1e-3);
  EXPECT_TRUE(engine.IsPlaying());
  EXPECT_TRUE(engine.sounding());

  long frames = kRate;
  while (engine.IsPlaying() && frames < 10 * kRate) {
    Render(engine, kPeriod);
    frames += kPeriod;
  }
  EXPECT_NEAR(frames / double{kRate}, 2.0, 0.1);
  // The last notes fade out; then nothing more, not even when the player calls itself done.
  Render(engine, kRate);
  EXPECT_LT(Peak(Render(engine, 4 * kRate)), 1e-5);
  EXPECT_FALSE(engine.IsPlaying());
  // Once the reverb has died away the synthesizer is no longer run: the output may sleep.
  for (frames = 0; engine.sounding() && frames < 10 * kRate; frames += kPeriod) Render(engine, kPeriod);
  EXPECT_FALSE(engine.sounding());
}

TEST_F(MusicPlaying, StopSilencesTheSongWithinOnePeriod) {
  FluidMusicEngine engine(TestSoundFont());
  WriteFile(song(1), MidiImage(LoudArrangement()));
  loadWindow(engine);
  ASSERT_GT(Rms(RenderFromFirstSound(engine, kRate / 2)), 1e-3);
  musicOff();
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

TEST_F(MusicPlaying, ASongWithInstrumentsTheLastOneLackedSoundsAsItDoesAlone) {
  // The synthesizer holds only the presets of the songs played so far: the second song's strings and bass
  // are read as it starts. Without them it would play them on the piano.
  WriteFile(song(1), MidiImage(PianoPhrase()));
  WriteFile(song(2), MidiImage(LoudArrangement()));
  FluidMusicEngine alone(TestSoundFont());
  ASSERT_TRUE(alone.Start() && alone.Load(song(2)) && alone.Play());
  const std::vector<float> reference = RenderFromFirstSound(alone, kRate);
  ASSERT_FALSE(reference.empty());

  FluidMusicEngine engine(TestSoundFont());
  ASSERT_TRUE(engine.Start() && engine.Load(song(1)) && engine.Play());
  ASSERT_FALSE(RenderFromFirstSound(engine, kPeriod).empty());
  ASSERT_TRUE(engine.Load(song(2)) && engine.Play());
  const std::vector<float> second = Render(engine, kRate);
  std::vector<float> difference(reference.size());
  for (std::size_t i = 0; i < reference.size(); ++i) difference[i] = second[i] - reference[i];
  // The reverb's slow modulation goes on from the first song, so the two differ by a trace.
  EXPECT_LT(Rms(difference), 0.05 * Rms(reference));
}

TEST_F(MusicPlaying, VolumeFollowsHundredthsOfADecibelAndLoudSongsKeepHeadroom) {
  FluidMusicEngine engine(TestSoundFont());
  WriteFile(song(1), MidiImage(LoudArrangement()));
  ASSERT_TRUE(engine.Start());
  engine.SetVolume(-900);  // where the engine is set as it starts
  ASSERT_TRUE(engine.Load(song(1)) && engine.Play());
  const std::vector<float> quiet = RenderFromFirstSound(engine, kRate);
  ASSERT_FALSE(quiet.empty());
  loadWindow(engine);  // 570
  const std::vector<float> loud = Render(engine, 8 * kRate);
  const double gain = 20 * std::log10(Rms(loud, 0, 2 * kRate) / Rms(quiet));
  EXPECT_NEAR(gain, 14.7, 0.5);
  EXPECT_LT(Peak(loud), 0.9);  // below full scale with room to spare, not clipped by the output
}

TEST_F(MusicPlaying, TheGamesOwnSongsSoundWhenTheyAreThere) {
  int found = 0;
  for (int n = 1; n <= 4; ++n) {
    const std::string path = std::string(NOKTURNA_SONG_ALBUM_DIR) + "/" + songName(n);
    if (!fs::exists(path)) continue;
    SCOPED_TRACE(path);
    ++found;
    FluidMusicEngine engine(TestSoundFont());
    fs::copy_file(path, song(1), fs::copy_options::overwrite_existing);
    loadWindow(engine);
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
    game_.reset();
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

TEST_F(MusicLifecycle, ShuttingDownWaitsNeitherForTheFontNorForTheSong) {
  WriteFile(song(1), MidiImage(PianoPhrase()));
  // The engine checks the font file on the calling thread, then its loading thread opens it again. A
  // write lease taken in between holds that second open until the test lets the lease go (the kernel
  // gives way by itself only after /proc/sys/fs/lease-break-time, 45 s by default): a load that cannot
  // finish. The kernel tells the lease holder of an open that waits by SIGIO.
  const std::string font = folder_ + "/held.sf2";
  fs::copy_file(TestSoundFont(), font);
  testing::ScopedProcessState process;
  process.ignoreSignal(SIGIO);
  const long threads = ThreadCount();
  bool held = false;
  // The loading thread may open the font before the lease is in place; it then loads as usual, and the
  // engine is made again.
  for (int attempt = 0; attempt < 20 && !held; ++attempt) {
    auto engine = std::make_unique<FluidMusicEngine>(font);
    ASSERT_TRUE(engine->Start());
    const int lease = open(font.c_str(), O_RDONLY);
    ASSERT_GE(lease, 0);
    const bool leased = fcntl(lease, F_SETLEASE, F_WRLCK) == 0;
    ASSERT_TRUE(leased || errno == EAGAIN) << "no lease on " << font << ": " << std::strerror(errno);
    if (leased) {
      // A write lease with an open waiting on it reads as the read lease it is asked to become.
      EXPECT_TRUE(WaitUntil([&] { return fcntl(lease, F_GETLEASE) == F_RDLCK || ThreadCount() == threads; }));
      held = fcntl(lease, F_GETLEASE) == F_RDLCK;
    }
    if (held) {
      ASSERT_TRUE(engine->Load(song(1)) && engine->Play());  // the song waits for the font
    }
    engine->Stop();
    engine.reset();
    if (held) {
      EXPECT_GT(ThreadCount(), threads) << "the engine waited for its font";
    }
    close(lease);
    // The load, held or not, ends on its own and is thrown away.
    ASSERT_TRUE(WaitUntil([&] { return ThreadCount() == threads; }))
        << "the font's loading thread never ended";
  }
  ASSERT_TRUE(held) << "the loading thread always opened the font before the lease was in place";

  // Rendered offline, a song moves on only as the test renders it: a shutdown that waited for its end
  // would never return.
  FluidMusicEngine engine(TestSoundFont());
  loadWindow(engine);
  ASSERT_FALSE(RenderFromFirstSound(engine, kPeriod).empty());
  musicOff();
  Render(engine, kPeriod);
  EXPECT_LT(Peak(Render(engine, kRate)), 1e-6);
}

// ---------------------------------------------------------------------------------------------------
// Bad input: no crash, no message, and the game plays on

using MusicBadInput = SongFolder;

TEST_F(MusicBadInput, UnloadableSongFilesLoadNothingAndTheOldSongPlaysAgain) {
  FluidMusicEngine engine(TestSoundFont());
  const std::vector<std::uint8_t> good = MidiImage(PianoPhrase());
  const std::string sub = folder_ + "/sub/";

  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(engine.Load(folder_ + "/missing/Music1.mid")) << "missing folder";
  fs::create_directory(sub);
  EXPECT_FALSE(engine.Load(sub + "Music1.mid")) << "empty folder";
  WriteFile(sub + "Music1.mid", {});
  EXPECT_FALSE(engine.Load(sub + "Music1.mid")) << "zero bytes";
  WriteFile(sub + "Music1.mid", std::vector<std::uint8_t>(good.begin(), good.end() - 5));
  EXPECT_FALSE(engine.Load(sub + "Music1.mid")) << "truncated";
  WriteFile(sub + "Music2.mid", testing::SteadyClip8(22050, 2000, 0xC0));
  EXPECT_FALSE(engine.Load(sub + "Music2.mid")) << "a WAV file";
  fs::create_directory(sub + "Music3.mid");
  EXPECT_FALSE(engine.Load(sub + "Music3.mid")) << "a folder";
  fs::remove(sub + "Music1.mid");
  WriteFile(sub + "music1.mid", good);
  EXPECT_FALSE(engine.Load(sub + "Music1.mid")) << "wrong letter case";
  // A good song followed by nothing but zeros up to 8 MB still loads; one byte more and it is taken for
  // a damaged file.
  WriteFile(sub + "long.mid", good);
  fs::resize_file(sub + "long.mid", 8 << 20);
  EXPECT_TRUE(engine.Load(sub + "long.mid")) << "8 MB";
  fs::resize_file(sub + "long.mid", (8 << 20) + 1);
  EXPECT_FALSE(engine.Load(sub + "long.mid")) << "over 8 MB";

  // Under the game's sound: song 4 plays; choosing the broken songs plays song 4 again from its start.
  WriteFile(sub + "Music4.mid", good);
  game_.emplace(engine, sub);
  chooseSong(4);
  const std::vector<float> first = RenderFromFirstSound(engine, 8192);
  ASSERT_FALSE(first.empty());
  for (int n : {1, 2, 3}) {
    chooseSong(n);
    const std::vector<float> again = Render(engine, 8192);
    EXPECT_GT(Rms(again), 0.5 * Rms(first)) << "song " << n;
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(MusicBadInput, AnUnreadableSongFileLoadsNothing) {
  // Root reads every file, so the loads run in a child that first becomes nobody and reports by its exit
  // status. A readable twin beside the file shows that the child can load a song at all.
  const std::string readable = song(1), unreadable = song(2);
  WriteFile(readable, MidiImage(PianoPhrase()));
  WriteFile(unreadable, MidiImage(PianoPhrase()));
  ASSERT_EQ(chmod(unreadable.c_str(), 0), 0);
  ASSERT_EQ(chmod(readable.c_str(), 0644), 0);
  ASSERT_EQ(chmod(folder_.c_str(), 0711), 0);  // the child may reach the files
  const char* const outcomes[] = {"as expected", "the child could not become nobody",
                                  "the child can still read the unreadable file",
                                  "the readable twin did not load", "the unreadable file loaded"};
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
                           setresuid(kNobody, kNobody, kNobody) != 0)) {
      _exit(1);
    }
    if (access(unreadable.c_str(), R_OK) == 0) _exit(2);
    FluidMusicEngine engine(TestSoundFont());
    if (!engine.Load(readable)) _exit(3);
    _exit(engine.Load(unreadable) ? 4 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the child did not finish";
  ASSERT_LT(WEXITSTATUS(status), 5);
  EXPECT_EQ(WEXITSTATUS(status), 0) << outcomes[WEXITSTATUS(status)];
}

// SoundFonts that are there but do not load: empty, cut short, and damaged after a good header.
std::vector<std::string> WriteBadFonts(const std::string& folder) {
  const std::vector<std::string> fonts{folder + "/empty.sf2", folder + "/cut.sf2", folder + "/damaged.sf2"};
  WriteFile(fonts[0], {});
  fs::copy_file(TestSoundFont(), fonts[1]);
  fs::resize_file(fonts[1], fs::file_size(fonts[1]) / 2);
  std::vector<std::uint8_t> damaged{'R', 'I', 'F', 'F', 0, 1, 0, 0, 's', 'f', 'b', 'k'};
  damaged.resize(256, 0x5A);
  WriteFile(fonts[2], damaged);
  return fonts;
}

TEST_F(MusicBadInput, AFontThatCannotBeCutIsReadWholeAndSoundsTheSame) {
  // A chunk of its own after the preset data: FluidSynth reads past it, the cutting does not.
  const std::string font = folder_ + "/extra-chunk.sf2";
  fs::copy_file(TestSoundFont(), font);
  std::ofstream(font, std::ios::binary | std::ios::app).write("junk\4\0\0\0abcd", 12);
  const auto riffSize = static_cast<std::uint32_t>(fs::file_size(font) - 8);
  std::fstream riff(font, std::ios::binary | std::ios::in | std::ios::out);
  riff.seekp(4);
  for (int i = 0; i < 4; ++i) riff.put(static_cast<char>(riffSize >> (8 * i)));
  riff.close();

  WriteFile(song(1), MidiImage(LoudArrangement()));
  std::vector<float> rendered[2];
  for (int whole = 0; whole < 2; ++whole) {
    FluidMusicEngine engine(whole ? font : TestSoundFont());
    ASSERT_TRUE(engine.Start() && engine.Load(song(1)) && engine.Play());
    rendered[whole] = RenderFromFirstSound(engine, kRate);
    ASSERT_FALSE(rendered[whole].empty()) << (whole ? "the font with the extra chunk" : "the font");
  }
  EXPECT_TRUE(rendered[1] == rendered[0]) << "the whole font sounds otherwise than the presets cut from it";
}

TEST_F(MusicBadInput, NoSoundFontOrOnlyBrokenOnesLeaveTheMusicOffWithoutAWord) {
  WriteFile(song(1), MidiImage(PianoPhrase()));
  const std::vector<std::string> bad = WriteBadFonts(folder_);

  ::testing::internal::CaptureStderr();
  {
    FluidMusicEngine engine(folder_ + "/none.sf2");
    loadWindow(engine);
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_LT(Peak(Render(engine, kRate / 4)), 1e-9);
    game_.reset();
  }
  {
    // Two of the headers pass, but every load fails on the font's thread: silence, and the next start
    // gives up.
    FluidMusicEngine engine(bad);
    loadWindow(engine);
    EXPECT_TRUE(WaitUntil([&] { return !engine.Start(); }));
    EXPECT_FALSE(engine.IsPlaying()) << "the song that waited for a font is given up";
    EXPECT_LT(Peak(Render(engine, kRate / 4)), 1e-9);
    chooseSong(1);
    EXPECT_FALSE(engine.IsPlaying());
    game_.reset();
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(MusicBadInput, AFontThatIsThereButDoesNotLoadGivesWayToTheNext) {
  WriteFile(song(1), MidiImage(PianoPhrase()));
  ::testing::internal::CaptureStderr();
  for (const std::string& bad : WriteBadFonts(folder_)) {
    SCOPED_TRACE(bad);
    FluidMusicEngine engine(std::vector<std::string>{bad, TestSoundFont()});
    loadWindow(engine);
    EXPECT_FALSE(RenderFromFirstSound(engine, kPeriod).empty()) << "no song from the next font";
    game_.reset();
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace nokturna
