// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Whole games from the first line to the winner: the board's invariants after every move, and the order
// in which the window hears of each move.
#include "whole_game.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

#include "recording_events.h"

namespace nokturna {
namespace {

using testing::PlayOneMove;
using testing::PlayWholeGame;
using testing::TestGame;

TEST(WholeGames, PersonAgainstComputerKeepsEveryInvariant) {
  for (std::uint64_t seed = 1; seed <= 1500; ++seed) {
    PlayWholeGame(seed, PlayMode::PersonVsComputer);
    if (HasFatalFailure()) FAIL() << "seed " << seed;
  }
}

TEST(WholeGames, PersonAgainstPersonKeepsEveryInvariant) {
  for (std::uint64_t seed = 1; seed <= 1500; ++seed) {
    PlayWholeGame(seed, PlayMode::PersonVsPerson);
    if (HasFatalFailure()) FAIL() << "seed " << seed;
  }
}

TEST(WholeGames, TheCarefulComputerBeatsARandomPersonMostOfTheTime) {
  int computerWins = 0;
  for (std::uint64_t seed = 1; seed <= 200; ++seed) {
    TestGame t(seed);
    std::mt19937 person(static_cast<unsigned>(seed));
    PlayChosen(t.game);
    while (t.game.state.running) PlayOneMove(t, person);
    computerWins += t.events.winner == Side::Computer;
  }
  EXPECT_GT(computerWins, 150);
}

// One letter an event: X computer turn cancelled, G game started, L line claimed, W square won, S score
// changed, T turn passed, C computer turn due, E game ended.
std::string letters(const std::vector<std::string>& log) {
  const std::vector<std::pair<std::string, char>> letterOf = {
      {"computerTurnCancelled", 'X'}, {"gameStarted", 'G'}, {"lineClaimed", 'L'},     {"squareWon", 'W'},
      {"scoreChanged", 'S'},          {"turnPassed", 'T'},  {"computerTurnDue", 'C'}, {"gameEnded", 'E'}};
  std::string word;
  for (const std::string& event : log) {
    for (const auto& [name, letter] : letterOf) {
      if (event.rfind(name, 0) == 0) word += letter;
    }
  }
  return word;
}

// Whoever is to move once each move is told: its mover, or the side the turn passed to.
std::vector<std::string> sidesToMove(const std::vector<std::string>& log) {
  std::vector<std::string> sides;
  for (const std::string& event : log) {
    if (event.rfind("lineClaimed ", 0) == 0) sides.push_back(event.substr(event.find(' ', 12) + 1));
    if (event.rfind("turnPassed ", 0) == 0) sides.back() = event.substr(11);
  }
  return sides;
}

TEST(WholeGames, EachMoveTellsItsLineThenItsSquaresAndScoreThenWhoMovesNext) {
  for (const PlayMode mode : {PlayMode::PersonVsPerson, PlayMode::PersonVsComputer}) {
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
      TestGame t(seed);
      std::mt19937 person(static_cast<unsigned>(seed));
      ModeChosen(t.game, mode);
      t.events.log.clear();
      PlayChosen(t.game);
      while (t.game.state.running) PlayOneMove(t, person);

      // A game opens with any pending computer turn cancelled. Then every move: its line; the squares
      // it won, one or two, and the new score, or else the turn passing; the computer's turn when it is
      // the one to move. The last move wins the last square and ends the game.
      const std::string word = letters(t.events.log);
      EXPECT_TRUE(std::regex_match(word, std::regex("XG(L(WW?S|T)C?)*LWW?SE"))) << word;

      int move = 0;
      std::size_t at = word.find('L');
      for (const std::string& side : sidesToMove(t.events.log)) {
        const std::size_t next = word.find('L', at + 1);
        const bool computerDue = word.substr(at, next - at).find('C') != std::string::npos;
        if (next != std::string::npos) {
          EXPECT_EQ(computerDue, side == "Daviz Edezo") << "move " << move;
        }
        at = next;
        ++move;
      }
      EXPECT_EQ(move, kLineCount);
    }
  }
}

}  // namespace
}  // namespace nokturna
