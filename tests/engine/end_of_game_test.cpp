// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/end_of_game.h"

#include <gtest/gtest.h>

#include "engine/line_claiming.h"
#include "engine/new_game.h"
#include "recording_events.h"

namespace nokturna {
namespace {

using testing::TestGame;

// Every line taken but the one given; scores as given, 49 squares in all once it closes.
struct LastLine : TestGame {
  LastLine(PlayMode mode, Side mover, int firstScore, int secondScore, int lastLine) {
    state().mode = mode;
    StartNewGame(game);
    for (int line = 1; line <= kLineCount; ++line) state().board.lines[line].claimed = line != lastLine;
    state().score(Side::PlayerOne) = firstScore;
    state().score(OpponentIn(mode)) = secondScore;
    state().squaresWon = firstScore + secondScore;
    state().turn = mover;
    events.log.clear();
  }
};

TEST(EndOfGame, PlayerOneWinsTwentyFiveToTwentyFourAgainstTheComputer) {
  LastLine t(PlayMode::PersonVsComputer, Side::PlayerOne, 24, 24, 112);
  ClaimLine(t.game, 112);
  const std::vector<std::string> expected = {"lineClaimed 112 Player 1", "squareWon 49 Player 1",
                                             "scoreChanged Player 1 25", "gameEnded Player 1"};
  EXPECT_EQ(t.events.log, expected);
  EXPECT_FALSE(t.state().running);
}

TEST(EndOfGame, PlayerTwoWinsTwentyNineToTwentyInPersonAgainstPerson) {
  LastLine t(PlayMode::PersonVsPerson, Side::PlayerTwo, 20, 28, 112);
  ClaimLine(t.game, 112);
  EXPECT_EQ(t.events.winner, Side::PlayerTwo);
}

TEST(EndOfGame, TheComputersLastSquareEndsTheGameWithNoFurtherTurn) {
  LastLine t(PlayMode::PersonVsComputer, Side::Computer, 10, 38, 112);
  ClaimLine(t.game, 112);
  EXPECT_EQ(t.events.winner, Side::Computer);
  EXPECT_EQ(t.events.log.back(), "gameEnded Daviz Edezo");  // no computer turn after it
  EXPECT_EQ(t.state().turn, Side::Computer);                // the turn does not pass at the end
}

TEST(EndOfGame, ClosingTheLastTwoSquaresAtOnceEndsTheGameToo) {
  LastLine t(PlayMode::PersonVsComputer, Side::PlayerOne, 23, 24, 9);  // line 9 is shared by squares 1 and 2
  ClaimLine(t.game, 9);
  EXPECT_EQ(t.state().squaresWon, 49);
  EXPECT_EQ(t.state().score(Side::PlayerOne), 25);
  EXPECT_EQ(t.events.winner, Side::PlayerOne);
}

TEST(EndOfGame, TheGameIsStoppedBeforeItsEndIsToldAndClicksAfterItAreIgnored) {
  // Whoever hears of the end may let a click through meanwhile: it must find no game.
  struct ClickAtTheEnd : testing::EventRecorder {
    void gameEnded(Side winner) override {
      EventRecorder::gameEnded(winner);
      game->state.board.lines[50].claimed = false;
      LineClicked(*game, 50);
    }
    Game* game = nullptr;
  } events;
  Game game(events);
  events.game = &game;
  StartNewGame(game);
  for (int line = 1; line < kLineCount; ++line) game.state.board.lines[line].claimed = true;
  game.state.score(Side::PlayerOne) = game.state.squaresWon = 48;
  ClaimLine(game, 112);
  EXPECT_EQ(events.gamesEnded, 1);
  EXPECT_FALSE(game.state.board.claimed(50));
  EXPECT_EQ(events.log.back(), "gameEnded Player 1");
}

}  // namespace
}  // namespace nokturna
