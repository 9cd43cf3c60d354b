// Whole games from the first line to the winner, checking the board's invariants after every move.
#include <gtest/gtest.h>

#include <random>

#include "engine/line_claiming.h"
#include "engine/new_game.h"
#include "opponent/play_modes.h"
#include "recording_window.h"

namespace nokturna {
namespace {

using testing::TestGame;

void checkInvariants(const TestGame& t, int mode, int claimedLines) {
  const GameState& s = t.game.state;
  int claimed = 0;
  for (int line = 1; line <= kLineCount; ++line) {
    ASSERT_EQ(s.lineState[line][1], isHorizontal(line) ? kHorizontal : kVertical);
    claimed += s.claimed(line);
    ASSERT_EQ(t.window.linePicture[line] != 0, s.claimed(line)) << line;
  }
  ASSERT_EQ(claimed, claimedLines);

  int complete = 0;
  for (int q = 1; q <= kSquareCount; ++q) {
    bool allSides = true;
    for (int side : sidesOfSquare(q)) allSides = allSides && s.claimed(side);
    complete += allSides;
    ASSERT_EQ(t.window.markerPicture[q] != 0, allSides) << "square " << q;
  }
  ASSERT_EQ(complete, s.squaresClosed);
  ASSERT_EQ(s.score[1] + s.score[2] + s.score[3], s.squaresClosed);
  const int idle = mode == kPersonVsPerson ? kComputer : kPlayer2;
  ASSERT_EQ(s.score[idle], 0);

  ASSERT_EQ(s.gameStopped, s.squaresClosed == kSquareCount);
  if (!s.gameStopped) {
    ASSERT_TRUE(s.turn == kPlayer1 || s.turn == (mode == kPersonVsPerson ? kPlayer2 : kComputer));
    ASSERT_EQ(t.window.timerOn(Timer::Timer1), s.turn == kComputer);
    ASSERT_TRUE(t.window.timerOn(Timer::Timer2));
  } else {
    ASSERT_FALSE(t.window.timerOn(Timer::Timer1));
    ASSERT_FALSE(t.window.timerOn(Timer::Timer2));
  }
}

void playWholeGame(std::uint64_t seed, int mode) {
  TestGame t(seed);
  std::mt19937 person(static_cast<unsigned>(seed));
  vsmode_Click(t.game, mode);
  play1_Click(t.game);
  int claimedLines = 0;
  while (!t.game.state.gameStopped) {
    ASSERT_LT(claimedLines, kLineCount);
    t.window.log.clear();
    if (t.game.state.turn == kComputer) {
      Timer1_Timer(t.game);
    } else {
      // A person clicks anywhere; clicks on taken lines must change nothing.
      int line = std::uniform_int_distribution<int>(1, kLineCount)(person);
      while (t.game.state.claimed(line)) {
        box_Click(t.game, line);
        ASSERT_TRUE(t.window.log.empty());
        line = std::uniform_int_distribution<int>(1, kLineCount)(person);
      }
      box_Click(t.game, line);
    }
    ++claimedLines;
    checkInvariants(t, mode, claimedLines);
    if (::testing::Test::HasFatalFailure()) return;
  }
  // Once the 49th square closes no line is left.
  ASSERT_EQ(claimedLines, kLineCount);
  const GameState& s = t.game.state;
  const int second = mode == kPersonVsPerson ? kPlayer2 : kComputer;
  const int winner = s.score[kPlayer1] > s.score[second] ? kPlayer1 : second;
  ASSERT_EQ(t.window.winnerCaption, s.playerName[winner] + " adalah Raja Kubur");
  ASSERT_EQ(t.window.winnerShown, 1);
}

TEST(WholeGames, PersonAgainstComputerKeepsEveryInvariant) {
  for (std::uint64_t seed = 1; seed <= 1500; ++seed) {
    playWholeGame(seed, kPersonVsComputer);
    if (HasFatalFailure()) FAIL() << "seed " << seed;
  }
}

TEST(WholeGames, PersonAgainstPersonKeepsEveryInvariant) {
  for (std::uint64_t seed = 1; seed <= 1500; ++seed) {
    playWholeGame(seed, kPersonVsPerson);
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
