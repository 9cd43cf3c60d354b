// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Sound-effect latency: from a clip asked of the game's sound, in the game's process, to the moment the
// sound program's output hands the clip's first sample to the device. The sound program, started as the
// game starts it, is asked to measure itself (NOKTURNA_SOUND_PROBE): a probe source mixed after its clip
// player notes when sound first appears in a finished period, on the same monotonic clock as the game's,
// and reports it. The reference is the device's own period, timed between callbacks in the same run; the
// goal is a latency of at most one period plus 1 ms.
//
// Half the plays start from a sleeping output (nothing sounded before: the usual case in a game without
// music), half over an output kept running (as while a song plays), where a clip waits for the next
// period to begin.
//
// Runs on SDL's "disk" driver, which paces its callbacks in real time like a sound card (SDL_AUDIODRIVER
// may name another driver).
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <thread>
#include <vector>

#include "audio/game_sound.h"
#include "audio/sound_process.h"

namespace {

using nokturna::ClipHeardReport;
using nokturna::FromSound;

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

// Runs the event loop until `condition` holds; false after ten seconds. The loop sleeps until something
// comes, as the game's does: a loop that spun would take the core the sound program wakes up on.
template <typename Condition>
bool Pump(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  QTimer tick;
  tick.start(100);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

// `plays` clips through a fresh sound program that keeps its output running (`awake`) or lets it sleep.
bool Measure(bool awake, int plays, std::vector<double>& latencyMs, std::vector<double>& periodMs) {
  setenv("NOKTURNA_SOUND_PROBE", awake ? "awake" : "asleep", 1);
  nokturna::GameSound sound(nokturna::SongAlbum{});
  nokturna::SoundProcess program(NOKTURNA_SOUND_PROGRAM);
  bool up = false;
  std::optional<ClipHeardReport> heard;
  program.listen([&](const FromSound& report) {
    up = true;
    if (const auto* clip = std::get_if<ClipHeardReport>(&report)) heard = *clip;
  });
  program.start();
  sound.connect(&program);
  if (!Pump([&] { return up; })) return false;
  std::mt19937 chance(awake ? 2 : 1);
  for (int play = 0; play < plays; ++play) {
    // The last clip (0.18 s) has ended, and a sleeping output has gone to rest; then a random point of
    // the period.
    std::this_thread::sleep_for(std::chrono::milliseconds(260));
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<int>(0, 12000)(chance)));
    heard.reset();
    const std::int64_t asked = nokturna::MonotonicNs();
    sound.play(nokturna::Clip::LineClaimed);
    if (!Pump([&] { return heard.has_value(); })) return false;
    latencyMs.push_back(static_cast<double>(heard->heardAtNs - asked) / 1e6);
    if (awake && heard->periodNs > 0) periodMs.push_back(static_cast<double>(heard->periodNs) / 1e6);
  }
  sound.connect(nullptr);
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  const int trials = argc > 1 ? std::atoi(argv[1]) : 200;
  setenv("SDL_AUDIODRIVER", "disk", 0);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 0);
  unsetenv("SDL_DISKAUDIODELAY");
  QCoreApplication app(argc, argv);

  std::vector<double> asleepMs, runningMs, periodMs;
  if (!Measure(false, trials / 2, asleepMs, periodMs) ||
      !Measure(true, trials - trials / 2, runningMs, periodMs) || periodMs.empty()) {
    std::fprintf(stderr, "clip latency: the sound program did not play or report\n");
    return 2;
  }
  constexpr int kPeriodFrames = 512, kOutputRate = 44100;
  const double period = Percentile(periodMs, 0.5);
  const double nominal = 1000.0 * kPeriodFrames / kOutputRate;
  const double goal = nominal + 1.0;
  std::printf(
      "clip latency: %d plays through the sound program, period %d frames (%.2f ms nominal, %.2f ms "
      "measured); goal <= %.2f ms\n",
      trials, kPeriodFrames, nominal, period, goal);
  for (const auto& [name, series] :
       {std::pair{"from a sleeping output", asleepMs}, {"over a running output", runningMs}})
    std::printf("clip latency %s: median %.2f ms, p99 %.2f ms, worst %.2f ms\n", name,
                Percentile(series, 0.5), Percentile(series, 0.99), Percentile(series, 1.0));
  std::vector<double> all = asleepMs;
  all.insert(all.end(), runningMs.begin(), runningMs.end());
  const double p99 = Percentile(all, 0.99), worst = Percentile(all, 1.0);
  std::printf("clip latency: ratio p99/goal %.2f, worst/goal %.2f -> %s\n", p99 / goal, worst / goal,
              p99 <= goal ? "PASS" : "FAIL");
  return 0;
}
