// SPDX-FileCopyrightText: 2026 The Nokturna team
// SPDX-License-Identifier: GPL-3.0-or-later
//
// nokturna-sound: the game's sound in a process of its own. SDL2 and FluidSynth, and every library and
// sound server client they bring in, live here, so that nothing they do (crash, hang, deadlock, render
// slowly) is the game's: the game (sound_process.h) starts this program once its window shows, tells it
// what is wanted over the socket it hands it as file descriptor 3 (sound_messages.h), and starts it
// again when it goes.
//
// Its threads: this one reads the game's messages, carries them out on the back end (a clip is played at
// once, the music brought to what is wanted), and reports four times a second how far the song was
// heard; the back end's own threads (audio_source.h) make the sound. It leaves, without tidying up, when
// the game goes (the socket's end, or the kernel's SIGKILL when the game dies first), and when its output
// can no longer come back by itself (SdlAudioOutput::stalled): it says so first, and a fresh process, which
// the game starts at once, finds the sound server anew and picks the song up where it was heard.
//
// NOKTURNA_SOUND_PROBE=asleep or =awake (the clip latency benchmark only): each clip's first sample at
// the device is reported to the game; "awake" keeps the output running as a song would.
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <variant>

#include "audio/fluid_music_engine.h"
#include "audio/in_process_back_end.h"
#include "audio/sdl_audio_output.h"
#include "audio/sdl_clip_player.h"
#include "audio/sound_messages.h"

namespace nokturna {
namespace {

constexpr int kGameSocket = 3;
constexpr int kReportEveryMs = 250;
// How the program ends when its output stalled: the game only sees it gone.
constexpr int kStalledStatus = 3;

void Send(const FromSound& message) {
  const std::vector<std::uint8_t> packet = Encode(message);
  // A game that does not read is hung or gone: a report it misses is of no use later anyway.
  if (send(kGameSocket, packet.data(), packet.size(), MSG_DONTWAIT | MSG_NOSIGNAL) < 0 && errno == EPIPE) {
    _exit(0);
  }
}

// Notes when sound first reaches the device after a clip was asked for (NOKTURNA_SOUND_PROBE).
class ClipProbe : public AudioSource {
 public:
  explicit ClipProbe(bool awake) : awake_(awake) {}
  void arm() { armed_.store(true); }
  void mixInto(float* stereo, int frames) override {
    const std::int64_t now = MonotonicNs();
    const std::int64_t period = lastCall_ != 0 ? now - lastCall_ : 0;
    lastCall_ = now;
    if (!armed_.load()) return;
    for (int i = 0; i < 2 * frames; ++i) {
      if (stereo[i] == 0.0f) continue;
      armed_.store(false);
      Send(ClipHeardReport{now, period});
      return;
    }
  }
  bool sounding() override { return awake_; }

 private:
  const bool awake_;
  std::atomic<bool> armed_{false};
  std::int64_t lastCall_ = 0;  // the audio thread's alone
};

class SoundProgram {
 public:
  SoundProgram() {
    const char* probe = std::getenv("NOKTURNA_SOUND_PROBE");
    if (probe != nullptr && (std::strcmp(probe, "asleep") == 0 || std::strcmp(probe, "awake") == 0)) {
      probe_.emplace(std::strcmp(probe, "awake") == 0);
      output_.addSource(&*probe_);
    }
  }
  SoundProgram(const SoundProgram&) = delete;
  SoundProgram& operator=(const SoundProgram&) = delete;

  [[noreturn]] void run() {
    std::int64_t nextReport = 0;
    std::array<std::uint8_t, kLargestMessage> packet{};
    for (;;) {
      const std::int64_t now = MonotonicNs();
      if (now >= nextReport) {
        // Nothing is left to tidy: the device, the sound server's link and the threads go with the process,
        // and the destructors could hang on the very thing that stalled.
        if (output_.stalled()) {
          Send(LeavingReport{});
          _exit(kStalledStatus);
        }
        Send(ProgressReport{backEnd_.progress()});
        nextReport = now + std::int64_t{kReportEveryMs} * 1'000'000;
      }
      pollfd game{kGameSocket, POLLIN, 0};
      const int waitMs = static_cast<int>((nextReport - now) / 1'000'000) + 1;
      if (poll(&game, 1, waitMs) < 0 && errno != EINTR) _exit(0);
      if ((game.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0 && (game.revents & POLLIN) == 0) _exit(0);
      while ((game.revents & POLLIN) != 0) {
        const ssize_t got = recv(kGameSocket, packet.data(), packet.size(), MSG_DONTWAIT | MSG_TRUNC);
        if (got == 0) _exit(0);  // the game has gone
        if (got < 0) {
          if (errno == EAGAIN || errno == EINTR) break;
          _exit(0);
        }
        if (static_cast<std::size_t>(got) > packet.size()) continue;  // no message of ours is that long
        if (const std::optional<ToSound> message =
                DecodeToSound({packet.data(), static_cast<std::size_t>(got)})) {
          carryOut(*message);
        }
      }
    }
  }

 private:
  void carryOut(const ToSound& message) {
    if (const auto* music = std::get_if<MusicMessage>(&message)) {
      backEnd_.bringTo(music->wanted, music->resumeFrom);
      return;
    }
    const auto& clip = std::get<ClipMessage>(message);
    // A clip that comes late belongs to no moment of the game: one asked for while this program was
    // starting plays only if it is still fresh.
    const auto patience = std::chrono::nanoseconds(kClipPatience).count();
    if (MonotonicNs() - clip.askedAtNs > patience) return;
    if (probe_) probe_->arm();
    backEnd_.play(clip.clip);
  }

  // Members are destroyed in reverse order, though this program never gets that far: it leaves by _exit.
  SdlAudioOutput output_;
  SdlClipPlayer clips_{output_};
  FluidMusicEngine music_{output_};
  InProcessBackEnd backEnd_{clips_, music_};
  std::optional<ClipProbe> probe_;
};

}  // namespace
}  // namespace nokturna

int main() {
  // Nothing outlives the game: when it dies, the kernel ends this program too. A game that died before
  // this line leaves the socket closed, and the first read below ends the program.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  std::signal(SIGPIPE, SIG_IGN);
  nokturna::SoundProgram program;
  program.run();
}
