// Whole games from the first line to the winner, checking the board's invariants after every move.
#include "whole_game.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/line_claiming.h"
#include "engine/new_game.h"
#include "opponent/play_modes.h"
#include "recording_window.h"

namespace nokturna {
namespace {

using testing::PlayWholeGame;
using testing::TestGame;

TEST(WholeGames, PersonAgainstComputerKeepsEveryInvariant) {
  for (std::uint64_t seed = 1; seed <= 1500; ++seed) {
    PlayWholeGame(seed, kPersonVsComputer);
    if (HasFatalFailure()) FAIL() << "seed " << seed;
  }
}

TEST(WholeGames, PersonAgainstPersonKeepsEveryInvariant) {
  for (std::uint64_t seed = 1; seed <= 1500; ++seed) {
    PlayWholeGame(seed, kPersonVsPerson);
    if (HasFatalFailure()) FAIL() << "seed " << seed;
  }
}

TEST(WholeGames, TheCarefulComputerBeatsARandomPersonMostOfTheTime) {
  int computerWins = 0;
  for (std::uint64_t seed = 1; seed <= 200; ++seed) {
    TestGame t(seed);
    std::mt19937 person(static_cast<unsigned>(seed));
    play1_Click(t.game);
    while (!t.game.state.gameStopped) {
      if (t.game.state.turn == kComputer) {
        Timer1_Timer(t.game);
        continue;
      }
      int line;
      do line = std::uniform_int_distribution<int>(1, kLineCount)(person);
      while (t.game.state.claimed(line));
      box_Click(t.game, line);
    }
    computerWins += t.game.state.score[kComputer] > t.game.state.score[kPlayer1];
  }
  EXPECT_GT(computerWins, 150);
}

}  // namespace
}  // namespace nokturna
