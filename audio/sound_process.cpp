// SPDX-FileCopyrightText: 2026 The Nokturna team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/sound_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <thread>
#include <utility>

#include "audio/program_folder.h"

extern char** environ;

namespace nokturna {

namespace {

// Where the sound program finds its socket to the game (sound_program.cpp).
constexpr int kProgramSocket = 3;
// How often a running program's reports are looked at; it reports four times a second.
constexpr std::chrono::milliseconds kLookEvery{250};
// How often a program that was killed is looked at until it is reaped (a moment, as a rule).
constexpr std::chrono::milliseconds kReapEvery{20};

using Clock = RestartPolicy::Clock;

// True once `pid` has ended (and been reaped) within `patience`.
bool EndsWithin(pid_t pid, std::chrono::milliseconds patience) {
  const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  if (pidfd >= 0) {
    pollfd ended{pidfd, POLLIN, 0};
    const bool gone = poll(&ended, 1, static_cast<int>(patience.count())) == 1;
    close(pidfd);
    return gone && waitpid(pid, nullptr, WNOHANG) == pid;
  }
  // A kernel without process descriptors: looked at every millisecond.
  const auto deadline = Clock::now() + patience;
  do {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  } while (Clock::now() < deadline);
  return false;
}

// Lets a notifier go from inside its own signal: it is deleted once that signal is over.
void Retire(std::unique_ptr<QSocketNotifier>& notifier) {
  if (!notifier) return;
  notifier->setEnabled(false);
  notifier.release()->deleteLater();
}

}  // namespace

std::string SoundProgramPath() { return ProgramFolder() + "/nokturna-sound"; }

SoundProcess::SoundProcess(std::string program) : program_(std::move(program)) {
  checks_.callOnTimeout([this] { check(); });
}

SoundProcess::~SoundProcess() {
  checks_.stop();
  readable_.reset();
  writable_.reset();
  if (socket_ >= 0) close(socket_);
  // The program leaves on the socket's end; one that is stuck (a sound server that hangs, a stopped
  // process) is killed after the grace.
  if (pid_ != 0 && !EndsWithin(pid_, kGrace)) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  for (const pid_t leftover : leftovers_) waitpid(leftover, nullptr, 0);
}

void SoundProcess::start() {
  if (begun_) return;
  begun_ = true;
  // The first start does not wait for a sound to be wanted: a clip asked for later then plays at once.
  spawn();
}

void SoundProcess::bringTo(const WantedMusic& wanted) {
  wanted_ = wanted;
  musicWaiting_ = true;
  if (pid_ != 0) {
    flush();
  } else {
    startIfDue();
  }
}

void SoundProcess::play(Clip clip) {
  clipWaiting_ = ClipMessage{clip, MonotonicNs()};
  if (pid_ != 0) {
    flush();
  } else {
    startIfDue();
  }
}

bool SoundProcess::wantsSound() const {
  const auto patience = std::chrono::nanoseconds(kClipPatience).count();
  if (clipWaiting_ && MonotonicNs() - clipWaiting_->askedAtNs <= patience) return true;
  if (!wanted_ || wanted_->choice == 0 || wanted_->stopped) return false;
  return !(progress_.choice == wanted_->choice && progress_.over);
}

void SoundProcess::startIfDue() {
  if (!begun_ || !available_ || pid_ != 0) return;
  if (!wantsSound()) {
    clipWaiting_.reset();
    if (leftovers_.empty()) {
      checks_.stop();
    } else {
      checks_.start(kReapEvery);
    }
    return;
  }
  const Clock::time_point now = Clock::now();
  const std::optional<Clock::time_point> next = policy_.nextStart(now);
  if (!next) return;
  if (*next <= now) {
    spawn();
    return;
  }
  checks_.start(std::chrono::ceil<std::chrono::milliseconds>(*next - now));
}

void SoundProcess::spawn() {
  if (!available_) return;
  int pair[2];
  if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0) return;
  // The program's end must not already be its own number: a dup2 onto itself would keep close-on-exec.
  if (pair[1] == kProgramSocket) {
    const int moved = fcntl(pair[1], F_DUPFD_CLOEXEC, kProgramSocket + 1);
    close(pair[1]);
    pair[1] = moved;
  }
  fcntl(pair[0], F_SETFL, fcntl(pair[0], F_GETFL) | O_NONBLOCK);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pair[1], kProgramSocket);
  // The program starts with every signal at its default and none blocked, whatever the game's threads set.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  std::string name = program_;
  char* arguments[] = {name.data(), nullptr};
  pid_t pid = 0;
  // posix_spawn, not fork: nothing of the game's memory is copied, and a missing program is told at once.
  const int error =
      pair[1] < 0 ? EMFILE : posix_spawn(&pid, program_.c_str(), &actions, &attributes, arguments, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (pair[1] >= 0) close(pair[1]);
  if (error != 0) {
    close(pair[0]);
    if (error == ENOENT || error == EACCES || error == ENOEXEC || error == ENOTDIR) {
      available_ = false;  // no sound program: the game plays in silence
      checks_.stop();
    } else {
      // The system could not start it this time (out of processes, of memory): as a program that died.
      policy_.started(Clock::now());
      policy_.gone();
      startIfDue();
    }
    return;
  }
  pid_ = pid;
  socket_ = pair[0];
  policy_.started(Clock::now());
  readable_ = std::make_unique<QSocketNotifier>(socket_, QSocketNotifier::Read);
  QObject::connect(readable_.get(), &QSocketNotifier::activated, readable_.get(), [this] { readReports(); });
  writable_ = std::make_unique<QSocketNotifier>(socket_, QSocketNotifier::Write);
  writable_->setEnabled(false);
  QObject::connect(writable_.get(), &QSocketNotifier::activated, writable_.get(), [this] { flush(); });
  musicWaiting_ = wanted_.has_value();
  checks_.start(kLookEvery);
  flush();
}

void SoundProcess::readReports() {
  std::array<std::uint8_t, kLargestMessage> packet{};
  while (socket_ >= 0) {
    const ssize_t got = recv(socket_, packet.data(), packet.size(), MSG_DONTWAIT | MSG_TRUNC);
    if (got == 0) {
      childGone();  // the program has ended, or crashed
      return;
    }
    if (got < 0) {
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) childGone();
      return;
    }
    policy_.heardFrom(Clock::now());
    if (static_cast<std::size_t>(got) > packet.size()) continue;
    const std::optional<FromSound> report = DecodeFromSound({packet.data(), static_cast<std::size_t>(got)});
    if (!report) continue;
    if (std::holds_alternative<LeavingReport>(*report)) policy_.leaving();
    if (const auto* progress = std::get_if<ProgressReport>(&*report)) {
      // A fresh program speaks before it has heard of the music: only word of the wanted choice counts.
      if (wanted_ && progress->progress.choice == wanted_->choice && wanted_->choice != 0) {
        progress_ = progress->progress;
      }
    }
    if (listener_) listener_(*report);
  }
}

bool SoundProcess::sendNow(const ToSound& message) {
  const std::vector<std::uint8_t> packet = Encode(message);
  return send(socket_, packet.data(), packet.size(), MSG_DONTWAIT | MSG_NOSIGNAL) ==
         static_cast<ssize_t>(packet.size());
}

void SoundProcess::flush() {
  if (socket_ < 0) return;
  // What cannot be written now waits; a newer wish of the same kind takes its place (bringTo, play).
  if (musicWaiting_ && wanted_) {
    const SongProgress resumeFrom = progress_.choice == wanted_->choice ? progress_ : SongProgress{};
    if (sendNow(MusicMessage{*wanted_, resumeFrom})) musicWaiting_ = false;
  }
  if (clipWaiting_ && !musicWaiting_ && sendNow(*clipWaiting_)) clipWaiting_.reset();
  const bool waiting = musicWaiting_ || clipWaiting_;
  if (waiting && errno != EAGAIN && errno != EWOULDBLOCK) {
    // The program's end is closed: it has gone, which its socket is about to tell too.
    childGone();
    return;
  }
  if (writable_) writable_->setEnabled(waiting);
}

void SoundProcess::childGone() {
  if (pid_ == 0) return;
  Retire(readable_);
  Retire(writable_);
  close(socket_);
  socket_ = -1;
  // Dead already, or hung: either way it ends now. Not yet reaped, its number is still its own.
  kill(pid_, SIGKILL);
  if (waitpid(pid_, nullptr, WNOHANG) != pid_) leftovers_.push_back(pid_);
  pid_ = 0;
  policy_.gone();
  musicWaiting_ = wanted_.has_value();
  checks_.stop();
  startIfDue();
  if (!leftovers_.empty() && !checks_.isActive()) checks_.start(kReapEvery);
}

void SoundProcess::reapLeftovers() {
  std::erase_if(leftovers_, [](pid_t leftover) { return waitpid(leftover, nullptr, WNOHANG) == leftover; });
}

void SoundProcess::check() {
  reapLeftovers();
  if (pid_ != 0) {
    readReports();  // what has come counts before the program is judged
    if (pid_ != 0 && policy_.hung(Clock::now())) childGone();
    return;
  }
  startIfDue();
  if (pid_ == 0 && leftovers_.empty() && !wantsSound()) checks_.stop();
}

}  // namespace nokturna
