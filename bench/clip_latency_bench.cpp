// Sound-effect latency: from PlaySoundClip to the moment the output's callback hands the clip's first
// sample to the device. A probe source mixed after the clip player sees the finished period and notes
// when sound first appears in it. The reference is the device's own period, timed between callbacks in
// the same run; the goal is a latency of at most one period plus 1 ms.
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
#include "audio/sdl_audio_output.h"
#include "audio/sdl_clip_player.h"
#include "audio/sound_effects.h"

namespace {

using Clock = std::chrono::steady_clock;

class Probe : public nokturna::AudioSource {
 public:
  void mixInto(float* stereo, int frames) override {
    const auto now = Clock::now().time_since_epoch().count();
    if (lastCallback_ != 0) intervals.push_back(now - lastCallback_);
    lastCallback_ = now;
    bool sound = false;
    for (int i = 0; i < frames * 2 && !sound; ++i) sound = stereo[i] != 0.0f;
    if (sound && armed.load()) {
      heard.store(now);
      armed.store(false);
    }
    silentPeriods.store(sound ? 0 : silentPeriods.load() + 1);
  }

  std::atomic<bool> armed{false};
  std::atomic<Clock::rep> heard{0};
  std::atomic<int> silentPeriods{0};
  std::vector<Clock::rep> intervals;  // audio thread only, read once it stopped

 private:
  Clock::rep lastCallback_ = 0;
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

  QCoreApplication app(argc, argv);  // PlaySoundClip reads the clip from the program's resources
  (void)nokturna::assets::soundClipPath(1);
  nokturna::SdlAudioOutput output;
  if (!output.isOpen()) {
    std::fprintf(stderr, "clip latency: no sound device\n");
    return 2;
  }
  nokturna::SdlClipPlayer clips(output);
  nokturna::SetClipPlayer(&clips);
  Probe probe;
  output.addSource(&probe);

  std::mt19937 chance(1);
  std::vector<double> latencyMs;
  for (int trial = 0; trial < trials; ++trial) {
    // Start from silence, at a random point of the period.
    while (probe.silentPeriods.load() < 2) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<int>(0, 12000)(chance)));
    probe.heard.store(0);
    probe.armed.store(true);
    const auto asked = Clock::now();
    nokturna::PlaySoundClip(1);
    while (probe.heard.load() == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
    latencyMs.push_back(std::chrono::duration<double, std::milli>(Clock::duration(probe.heard.load()) -
                                                                  asked.time_since_epoch())
                            .count());
  }
  output.removeSource(&probe);
  nokturna::SetClipPlayer(nullptr);

  std::vector<double> periodMs;
  for (Clock::rep interval : probe.intervals)
    periodMs.push_back(std::chrono::duration<double, std::milli>(Clock::duration(interval)).count());
  const double period = Percentile(periodMs, 0.5);
  const double nominal =
      1000.0 * nokturna::SdlAudioOutput::kPeriodFrames / nokturna::SdlAudioOutput::kOutputRate;
  const double goal = nominal + 1.0;
  const double p50 = Percentile(latencyMs, 0.5), p99 = Percentile(latencyMs, 0.99),
               worst = Percentile(latencyMs, 1.0);
  std::printf("clip latency: %d plays, period %d frames (%.2f ms nominal, %.2f ms measured)\n", trials,
              nokturna::SdlAudioOutput::kPeriodFrames, nominal, period);
  std::printf("clip latency: median %.2f ms, p99 %.2f ms, worst %.2f ms; goal <= %.2f ms\n", p50, p99, worst,
              goal);
  std::printf("clip latency: ratio p99/goal %.2f, worst/goal %.2f -> %s\n", p99 / goal, worst / goal,
              p99 <= goal ? "PASS" : "FAIL");
  return 0;
}
