// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The rules' speed: ClaimLine and the computer's move (TakeComputerTurn: its choice and its claim) per
// call over many seeded games, told to a window that does nothing (what the rules cost by themselves). The
// yardstick beside them is one read of the whole board (all 112 lines), the least any move has to look at, so
// the ratio holds on a busy machine.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/line_claiming.h"
#include "engine/new_game.h"
#include "opponent/computer_player.h"
#include "opponent/play_modes.h"

namespace nokturna {
namespace {

class NullWindow : public GameEvents {
 public:
  void gameStarted(Side) override {}
  void lineClaimed(int, Side) override {}
  void squareWon(int, Side) override {}
  void scoreChanged(Side, int) override {}
  void turnPassed(Side) override {}
  void computerTurnDue() override {}
  void computerTurnCancelled() override {}
  void clockMoved(int, int, int) override {}
  void gameEnded(Side) override {}
  void modeChanged(PlayMode) override {}
  bool ask(const Question&) override { return true; }
};

using Clock = std::chrono::steady_clock;

// A game with a seeded person, started fresh.
struct SeededGame {
  explicit SeededGame(std::uint64_t seed, PlayMode mode)
      : clock(seed), game(window, [this] { return clock++; }), person(static_cast<unsigned>(seed)) {
    ModeChosen(game, mode);
    PlayChosen(game);
  }
  int freeLine() {
    int line;
    do line = std::uniform_int_distribution<int>(1, kLineCount)(person);
    while (game.state.board.claimed(line));
    return line;
  }
  std::uint64_t clock;
  NullWindow window;
  Game game;
  std::mt19937 person;
};

// Whole person-against-person games: every move is one ClaimLine.
void BM_ClaimLine(benchmark::State& state) {
  std::uint64_t seed = 1;
  std::int64_t calls = 0;
  for (auto _ : state) {
    SeededGame g(seed++, PlayMode::PersonVsPerson);
    // The free lines are drawn up front, so only ClaimLine is inside the timing.
    std::vector<int> order;
    {
      Board copy = g.game.state.board;
      std::mt19937 person(static_cast<unsigned>(seed));
      while (order.size() < kLineCount) {
        const int line = std::uniform_int_distribution<int>(1, kLineCount)(person);
        if (copy.claimed(line)) continue;
        copy.lines[line].claimed = true;
        order.push_back(line);
      }
    }
    const auto start = Clock::now();
    for (int line : order) ClaimLine(g.game, line);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    calls += static_cast<std::int64_t>(order.size());
    benchmark::DoNotOptimize(g.game.state.squaresWon);
  }
  state.counters["ns_per_call"] = benchmark::Counter(
      static_cast<double>(calls), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ClaimLine)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Person-against-computer games: each computer turn timed on its own (its ClaimLine included).
void BM_TakeComputerTurn(benchmark::State& state) {
  std::uint64_t seed = 1;
  std::int64_t calls = 0;
  for (auto _ : state) {
    SeededGame g(seed++, PlayMode::PersonVsComputer);
    Clock::duration spent{};
    while (g.game.state.running) {
      if (g.game.state.turn == Side::Computer) {
        const auto start = Clock::now();
        TakeComputerTurn(g.game);
        spent += Clock::now() - start;
        ++calls;
      } else {
        LineClicked(g.game, g.freeLine());
      }
    }
    state.SetIterationTime(std::chrono::duration<double>(spent).count());
  }
  state.counters["ns_per_call"] = benchmark::Counter(
      static_cast<double>(calls), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TakeComputerTurn)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The yardstick: one read of every line's state.
void BM_ReferenceBoardRead(benchmark::State& state) {
  SeededGame g(1, PlayMode::PersonVsPerson);
  for (int i = 0; i < 60; ++i) ClaimLine(g.game, g.freeLine());
  std::int64_t calls = 0;
  for (auto _ : state) {
    int claimed = 0;
    for (int line = 1; line <= kLineCount; ++line) claimed += g.game.state.board.claimed(line);
    benchmark::DoNotOptimize(claimed);
    benchmark::ClobberMemory();
    ++calls;
  }
  state.counters["ns_per_call"] = benchmark::Counter(
      static_cast<double>(calls), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReferenceBoardRead);

// Prints the usual table, and keeps each benchmark's ns per call for the ratios after it.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const auto found = run.counters.find("ns_per_call");
      if (found != run.counters.end()) nsPerCall[run.run_name.function_name] = found->second.value;
    }
  }
  std::map<std::string, double> nsPerCall;
};

}  // namespace
}  // namespace nokturna

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  nokturna::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const auto& ns = reporter.nsPerCall;
  const auto board = ns.find("BM_ReferenceBoardRead");
  if (board == ns.end() || board->second <= 0) return 0;
  for (const char* name : {"BM_ClaimLine", "BM_TakeComputerTurn"}) {
    const auto found = ns.find(name);
    if (found == ns.end()) continue;
    // The counter is a rate inverted into seconds per call.
    std::printf("%s: %.1f ns per call, ratio %.1f board reads (one board read %.1f ns)\n", name + 3,
                found->second * 1e9, found->second / board->second, board->second * 1e9);
  }
  return 0;
}
