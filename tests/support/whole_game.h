// Whole games played through the rules from the first line to the winner, with the board's invariants
// checked after every move. Shared by the whole-game tests and the long soak.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "engine/line_claiming.h"
#include "engine/new_game.h"
#include "opponent/play_modes.h"
#include "recording_window.h"

namespace nokturna::testing {

// Everything that must hold between two moves: the lines drawn are the lines claimed, the markers shown
// are the squares closed, the scores add up, and the timers run exactly when they should.
inline void CheckInvariants(const TestGame& t, int mode, int claimedLines) {
  const GameState& s = t.game.state;
  int claimed = 0;
  // The per-line and per-square comparisons run millions of times in the soak: plain tests first, and
  // the assertion (with its message) only for one that fails.
  for (int line = 1; line <= kLineCount; ++line) {
    const int orientation = isHorizontal(line) ? kHorizontal : kVertical;
    if (s.lineState[line][1] != orientation) {
      ASSERT_EQ(s.lineState[line][1], orientation) << line;
    }
    claimed += s.claimed(line);
    if ((t.window.linePicture[line] != 0) != s.claimed(line)) {
      ASSERT_EQ(t.window.linePicture[line] != 0, s.claimed(line)) << line;
    }
  }
  ASSERT_EQ(claimed, claimedLines);

  int complete = 0;
  for (int q = 1; q <= kSquareCount; ++q) {
    bool allSides = true;
    for (int side : sidesOfSquare(q)) allSides = allSides && s.claimed(side);
    complete += allSides;
    if ((t.window.markerPicture[q] != 0) != allSides) {
      ASSERT_EQ(t.window.markerPicture[q] != 0, allSides) << "square " << q;
    }
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

// One seeded game in `mode`: a person clicking at random (taken lines too) and, against the computer,
// the computer's ticks. Stops at the first broken invariant; the caller checks HasFatalFailure().
inline void PlayWholeGame(std::uint64_t seed, int mode) {
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
    CheckInvariants(t, mode, claimedLines);
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

}  // namespace nokturna::testing
