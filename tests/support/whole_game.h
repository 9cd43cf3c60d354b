// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Whole games played through the rules from the first line to the winner, with the board's invariants
// checked after every move. Shared by the whole-game tests and the long soak.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "engine/line_claiming.h"
#include "engine/new_game.h"
#include "opponent/computer_player.h"
#include "opponent/play_modes.h"
#include "recording_events.h"

namespace nokturna::testing {

// One move: the computer's when it is to move (its pause over), else a person's click on a line drawn at
// random; clicks on taken lines come first and must change nothing.
inline void PlayOneMove(TestGame& t, std::mt19937& person) {
  if (t.game.state.turn == Side::Computer) {
    t.events.computerPauseOver();
    TakeComputerTurn(t.game);
    return;
  }
  const std::size_t heard = t.events.log.size();
  int line = std::uniform_int_distribution<int>(1, kLineCount)(person);
  while (t.game.state.board.claimed(line)) {
    LineClicked(t.game, line);
    ASSERT_EQ(t.events.log.size(), heard);
    line = std::uniform_int_distribution<int>(1, kLineCount)(person);
  }
  LineClicked(t.game, line);
}

// Everything that must hold between two moves: the lines shown are the lines claimed, the squares shown
// are the squares closed, the scores add up, and the computer's pause and the clock run exactly when
// they should.
inline void CheckInvariants(const TestGame& t, PlayMode mode, int claimedLines) {
  const GameState& s = t.game.state;
  int claimed = 0;
  // The per-line and per-square comparisons run millions of times in the soak: plain tests first, and
  // the assertion (with its message) only for one that fails.
  for (int line = 1; line <= kLineCount; ++line) {
    const LineKind kind = IsHorizontal(line) ? LineKind::Horizontal : LineKind::Vertical;
    if (s.board.lines[line].kind != kind) {
      ASSERT_EQ(s.board.lines[line].kind, kind) << line;
    }
    claimed += s.board.claimed(line);
    if (t.events.lineOwner[line].has_value() != s.board.claimed(line)) {
      ASSERT_EQ(t.events.lineOwner[line].has_value(), s.board.claimed(line)) << line;
    }
  }
  ASSERT_EQ(claimed, claimedLines);

  int complete = 0;
  for (int q = 1; q <= kSquareCount; ++q) {
    bool allSides = true;
    for (int side : SidesOfSquare(q)) allSides = allSides && s.board.claimed(side);
    complete += allSides;
    if (t.events.squareOwner[q].has_value() != allSides) {
      ASSERT_EQ(t.events.squareOwner[q].has_value(), allSides) << "square " << q;
    }
  }
  ASSERT_EQ(complete, s.squaresWon);
  ASSERT_EQ(s.score(Side::PlayerOne) + s.score(Side::Computer) + s.score(Side::PlayerTwo), s.squaresWon);
  const Side idle = mode == PlayMode::PersonVsPerson ? Side::Computer : Side::PlayerTwo;
  ASSERT_EQ(s.score(idle), 0);

  ASSERT_EQ(s.running, s.squaresWon != kSquareCount);
  if (s.running) {
    ASSERT_TRUE(s.turn == Side::PlayerOne || s.turn == OpponentIn(mode));
    ASSERT_EQ(t.events.computerPending, s.turn == Side::Computer);
    ASSERT_TRUE(t.events.clockRunning);
  } else {
    ASSERT_FALSE(t.events.computerPending);
    ASSERT_FALSE(t.events.clockRunning);
  }
}

// One seeded game in `mode`, every invariant checked after every move. Stops at the first broken
// invariant; the caller checks HasFatalFailure().
inline void PlayWholeGame(std::uint64_t seed, PlayMode mode) {
  TestGame t(seed);
  std::mt19937 person(static_cast<unsigned>(seed));
  ModeChosen(t.game, mode);
  PlayChosen(t.game);
  int claimedLines = 0;
  while (t.game.state.running) {
    ASSERT_LT(claimedLines, kLineCount);
    t.events.log.clear();
    PlayOneMove(t, person);
    if (::testing::Test::HasFatalFailure()) return;
    ++claimedLines;
    CheckInvariants(t, mode, claimedLines);
    if (::testing::Test::HasFatalFailure()) return;
  }
  // Once the 49th square closes no line is left.
  ASSERT_EQ(claimedLines, kLineCount);
  const GameState& s = t.game.state;
  const Side second = OpponentIn(mode);
  ASSERT_EQ(t.events.winner, s.score(Side::PlayerOne) > s.score(second) ? Side::PlayerOne : second);
  ASSERT_EQ(t.events.gamesEnded, 1);
}

}  // namespace nokturna::testing
