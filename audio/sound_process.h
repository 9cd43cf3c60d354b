// SPDX-FileCopyrightText: 2026 The Nokturna team
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The game's side of its sound program (nokturna-sound, beside the program): the back end GameSound
// talks to. It starts the program, tells it what is wanted (sound_messages.h), and starts it again when
// it dies or hangs (restart_policy.h), so that nothing the sound libraries do is ever the game's.
//
// The window's thread never waits on it. A clip is a message; every write is a try that never blocks, and
// what could not be written yet waits in a queue that keeps only what still matters: the music wanted
// last, whole, and the clip asked for last, while it is fresh. Nothing waits for an answer: the program's
// reports only say that it lives and how far the song was heard, which a fresh program is told, so that
// the song picks up where its sound stopped and a song heard to its end is not begun again.
//
// Leaving takes at most a moment, whatever the program is stuck in: the socket is closed (the program
// leaves on its end), and after a short grace the program is killed and reaped. A game without its sound
// program plays in silence, without a word. Used on the UI thread, with a Qt event loop running there.
#pragma once

#include <sys/types.h>

#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "audio/restart_policy.h"
#include "audio/sound_back_end.h"
#include "audio/sound_messages.h"

namespace nokturna {

// The sound program's file beside the running program.
std::string SoundProgramPath();

class SoundProcess : public SoundBackEnd {
 public:
  // How long the program is given to leave by itself once the game goes, before it is killed.
  static constexpr std::chrono::milliseconds kGrace{40};

  explicit SoundProcess(std::string program = SoundProgramPath());
  // Ends the program (see above) and reaps it.
  ~SoundProcess() override;
  SoundProcess(const SoundProcess&) = delete;
  SoundProcess& operator=(const SoundProcess&) = delete;

  // Starts the program, and from then on keeps one running while something wants to sound. Until then
  // what is wanted waits, a clip with the moment it was asked for: the program drops a clip that comes
  // more than kClipPatience after that.
  void start();

  void bringTo(const WantedMusic& wanted) override;
  void play(Clip clip) override;

  // The program running now; 0 while there is none.
  pid_t pid() const { return pid_; }
  // Hears every report of the program as it is read (tests, benchmarks).
  void listen(std::function<void(const FromSound&)> listener) { listener_ = std::move(listener); }

 private:
  bool wantsSound() const;
  void startIfDue();
  void spawn();
  void readReports();
  void flush();
  bool sendNow(const ToSound& message);
  void childGone();
  void reapLeftovers();
  void check();

  const std::string program_;
  bool begun_ = false;
  bool available_ = true;  // false once the program could not be started at all (missing)
  RestartPolicy policy_;
  pid_t pid_ = 0;
  int socket_ = -1;
  std::vector<pid_t> leftovers_;  // killed, not yet reaped
  std::unique_ptr<QSocketNotifier> readable_;
  std::unique_ptr<QSocketNotifier> writable_;
  QTimer checks_;  // the running program's liveness, or the next start

  std::optional<WantedMusic> wanted_;
  SongProgress progress_;      // how far the wanted choice was heard, by the program's last word
  bool musicWaiting_ = false;  // the program has yet to be told wanted_
  std::optional<ClipMessage> clipWaiting_;
  std::function<void(const FromSound&)> listener_;
};

}  // namespace nokturna
