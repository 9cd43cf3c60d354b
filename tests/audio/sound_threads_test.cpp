// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The sound's threads never wait for one another (audio/audio_source.h). The music's renderer held up in a
// file read, as a slow disk or another program's hold on the SoundFont would hold it, keeps neither a clip
// nor the game's thread waiting, plays on once the file can be read, and does not hold up a shutdown.
// The font is held with a write lease: the renderer's open runs into it when a song needs presets the
// synthesizer does not hold yet, and stays held up until the test lets the lease go.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "audio/fluid_music_engine.h"
#include "audio/sdl_audio_output.h"
#include "audio/sdl_clip_player.h"
#include "tests/audio/disk_device.h"
#include "tests/audio/heard_music.h"
#include "tests/audio/midi_image.h"
#include "tests/audio/period_counter.h"
#include "tests/audio/process_threads.h"
#include "tests/audio/scoped_process_state.h"
#include "tests/audio/wait_until.h"
#include "tests/audio/wav_image.h"

namespace nokturna {
namespace {

namespace fs = std::filesystem;
using testing::WaitUntil;

// A write lease on `path`, once no one else has the file open; -1 if there never is such a moment.
int Lease(const std::string& path) {
  int lease = -1;
  WaitUntil([&] {
    lease = open(path.c_str(), O_RDONLY);
    if (lease >= 0 && fcntl(lease, F_SETLEASE, F_WRLCK) == 0) return true;
    if (lease >= 0) close(lease);
    lease = -1;
    return false;
  });
  return lease;
}

// An open ran into the lease: it reads as the read lease it is asked to become.
bool HeldUp(int lease) { return fcntl(lease, F_GETLEASE) == F_RDLCK; }

// A song on one General MIDI program.
std::vector<std::uint8_t> SongOn(int program) {
  testing::MidiSong song = testing::PianoPhrase();
  song.programs = {{0, program}};
  return testing::MidiImage(song);
}

// The longest run of samples within a hair of `level`.
long LongestRunAt(const std::vector<float>& heard, float level) {
  long longest = 0, run = 0;
  for (float sample : heard) {
    run = std::fabs(sample - level) < 0.02f ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return longest;
}

TEST(SoundThreads, AMusicRendererHeldUpInAFileReadHoldsUpNoClipAndNoShutdown) {
  if (!fs::exists(testing::TestSoundFont())) GTEST_SKIP() << "no General MIDI SoundFont installed";
  char pattern[] = "/tmp/nokturna-threads-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string folder = pattern, font = folder + "/held.sf2", recording = folder + "/out.raw";
  fs::copy_file(testing::TestSoundFont(), font);
  testing::WriteFile(folder + "/piano.mid", SongOn(0));
  testing::WriteFile(folder + "/strings.mid", SongOn(48));
  testing::WriteFile(folder + "/flute.mid", SongOn(73));
  testing::ScopedProcessState process;
  testing::UseDiskDevice(process, recording);
  process.ignoreSignal(SIGIO);  // how the kernel tells the lease's holder of an open that ran into it
  constexpr float kClipLevel = 0.5f;
  constexpr long kClipFrames = 4410;  // 0.1 s at the output rate
  const std::vector<std::uint8_t> clip = testing::SteadyClip8(22050, kClipFrames / 2, 0xC0);

  bool clipWhileHeld = false, stringsAfterTheLease = false, shutDownWhileHeld = false;
  {
    SdlAudioOutput output;
    ASSERT_TRUE(output.isOpen());
    SdlClipPlayer clips(output);
    auto music = std::make_unique<FluidMusicEngine>(output, std::vector<std::string>{font});
    testing::PeriodCounter listener(output);
    ASSERT_TRUE(music->Start() && music->Load(folder + "/piano.mid") && music->Play());
    ASSERT_TRUE(WaitUntil([&] { return listener.periods >= 10; })) << "the piano was never heard";
    music->Stop();

    // The strings' presets are not in yet: the renderer reads them, and runs into the lease.
    int lease = Lease(font);
    ASSERT_GE(lease, 0) << std::strerror(errno);
    ASSERT_TRUE(music->Load(folder + "/strings.mid") && music->Play());
    ASSERT_TRUE(WaitUntil([&] { return HeldUp(lease); })) << "the renderer never read the font";
    EXPECT_TRUE(music->IsPlaying());
    const long looks = listener.looks;
    clips.play(clip.data(), clip.size());
    // The output comes to rest again once the clip has been handed to the device to its last frame.
    ASSERT_TRUE(WaitUntil([&] { return listener.looks > looks; }));
    clipWhileHeld = HeldUp(lease);
    close(lease);
    const long periods = listener.periods;
    stringsAfterTheLease = WaitUntil([&] { return listener.periods >= periods + 20; });

    // Held up again, by the flute's presets, the engine shuts down at once all the same.
    lease = Lease(font);
    ASSERT_GE(lease, 0) << std::strerror(errno);
    ASSERT_TRUE(music->Load(folder + "/flute.mid") && music->Play());
    ASSERT_TRUE(WaitUntil([&] { return HeldUp(lease); }));
    music.reset();
    shutDownWhileHeld = HeldUp(lease);
    EXPECT_EQ(testing::ThreadsNamed("nokturna music") + testing::ThreadsNamed("nokturna font"), 0)
        << "a thread of the engine outlived it";
    close(lease);
  }
  const std::vector<float> heard = testing::ReadRecording(recording);
  fs::remove_all(folder);

  EXPECT_TRUE(clipWhileHeld) << "the clip waited for the lease to go";
  // The resampler rounds the clip's edges off; both channels of every other frame hold its level.
  EXPECT_GE(LongestRunAt(heard, kClipLevel), 2 * (kClipFrames - 64)) << "the clip was not heard whole";
  EXPECT_TRUE(stringsAfterTheLease) << "the strings never sounded once the font could be read";
  EXPECT_TRUE(shutDownWhileHeld) << "the engine's shutdown waited for the lease to go";
}

}  // namespace
}  // namespace nokturna
