// Sound-effect latency: from a clip asked of the game's sound to the moment the output's callback hands the
// clip's first sample to the device. A probe source mixed after the clip player sees the finished period and
// notes when sound first appears in it. The reference is the device's own period, timed between callbacks in
// the same run; the goal is a latency of at most one period plus 1 ms.
//
// Half the plays start from a sleeping output (nothing sounded before: the usual case in a game without
// music), half over an output kept running (as while a song plays), where a clip waits for the next
// period to begin.
//
// Runs on SDL's "disk" driver, which paces its callbacks in real time like a sound card (SDL_AUDIODRIVER
// may name another driver).
#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

#include "assets/nokturna_assets.h"
#include "audio/game_sound.h"
#include "audio/in_process_back_end.h"
#include "audio/music_engine.h"
#include "audio/sdl_audio_output.h"
#include "audio/sdl_clip_player.h"

namespace {

using Clock = std::chrono::steady_clock;

class Probe : public nokturna::AudioSource {
 public:
  void mixInto(float* stereo, int frames) override {
    const auto now = Clock::now().time_since_epoch().count();
    if (lastCallback.load() != 0 && keepAwake.load()) intervals.push_back(now - lastCallback.load());
    lastCallback.store(now);
    bool sound = false;
    for (int i = 0; i < frames * 2 && !sound; ++i) sound = stereo[i] != 0.0f;
    if (sound && armed.load()) {
      heard.store(now);
      armed.store(false);
    }
    silentPeriods.store(sound ? 0 : silentPeriods.load() + 1);
  }
  // Keeps the output running, as a song would, without adding any sound.
  bool sounding() override { return keepAwake.load(); }

  std::atomic<bool> keepAwake{false};
  std::atomic<bool> armed{false};
  std::atomic<Clock::rep> heard{0};
  std::atomic<Clock::rep> lastCallback{0};
  std::atomic<int> silentPeriods{0};
  std::vector<Clock::rep> intervals;  // audio thread only, read once it stopped
};

// No music here: the clips alone.
class NoMusic : public nokturna::MusicEngine {
 public:
  bool Start() override { return false; }
  bool Load(const std::string&) override { return false; }
  bool Play() override { return false; }
  void Stop() override {}
  bool IsPlaying() override { return false; }
  void SetVolume(std::int32_t) override {}
};

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

}  // namespace

int main(int argc, char* argv[]) {
  const int trials = argc > 1 ? std::atoi(argv[1]) : 200;
  setenv("SDL_AUDIODRIVER", "disk", 0);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 0);
  unsetenv("SDL_DISKAUDIODELAY");

  QCoreApplication app(argc, argv);  // the clip is read from the program's resources
  (void)nokturna::assets::soundClipPath(1);
  nokturna::SdlAudioOutput output;
  if (!output.isOpen()) {
    std::fprintf(stderr, "clip latency: no sound device\n");
    return 2;
  }
  nokturna::SdlClipPlayer clips(output);
  NoMusic music;
  nokturna::InProcessBackEnd backEnd(clips, music);
  nokturna::GameSound sound(nokturna::SongAlbum{});
  sound.connect(&backEnd);
  Probe probe;
  output.addSource(&probe);

  std::mt19937 chance(1);
  std::vector<double> asleepMs, runningMs;
  for (int trial = 0; trial < trials; ++trial) {
    const bool running = trial >= trials / 2;
    probe.keepAwake.store(running);
    if (running) {
      // Start from silence, at a random point of the period.
      while (probe.silentPeriods.load() < 2) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } else {
      // Start once the output has gone to sleep: no period mixed for a while.
      while (Clock::now().time_since_epoch().count() - probe.lastCallback.load() <
             std::chrono::duration_cast<Clock::duration>(std::chrono::milliseconds(60)).count())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<int>(0, 12000)(chance)));
    probe.heard.store(0);
    probe.armed.store(true);
    const auto asked = Clock::now();
    sound.play(nokturna::Clip::LineClaimed);
    while (probe.heard.load() == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
    (running ? runningMs : asleepMs)
        .push_back(std::chrono::duration<double, std::milli>(Clock::duration(probe.heard.load()) -
                                                             asked.time_since_epoch())
                       .count());
  }
  probe.keepAwake.store(false);
  output.removeSource(&probe);
  sound.connect(nullptr);

  std::vector<double> periodMs;
  for (Clock::rep interval : probe.intervals)
    periodMs.push_back(std::chrono::duration<double, std::milli>(Clock::duration(interval)).count());
  const double period = Percentile(periodMs, 0.5);
  const double nominal =
      1000.0 * nokturna::SdlAudioOutput::kPeriodFrames / nokturna::SdlAudioOutput::kOutputRate;
  const double goal = nominal + 1.0;
  std::printf(
      "clip latency: %d plays, period %d frames (%.2f ms nominal, %.2f ms measured); goal <= %.2f ms\n",
      trials, nokturna::SdlAudioOutput::kPeriodFrames, nominal, period, goal);
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
