// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The words a screen reader says for each kind of event and question, as a player hears them.
#include "ui/spoken_words.h"

#include <gtest/gtest.h>

#include <functional>

namespace nokturna {
namespace {

using enum Side;

TEST(SpokenWords, ALineIsNamedByItsPlaceThenItsOwnerInFortyCharactersAtMost) {
  EXPECT_EQ(LineWords(1, std::nullopt), "Row 1, column 1, across: free");
  EXPECT_EQ(LineWords(9, PlayerOne), "Row 1, column 2, down: Player 1");
  EXPECT_EQ(LineWords(105, PlayerTwo), "Row 7, column 8, down: Player 2");
  for (int line = 1; line <= kLineCount; ++line) {
    for (std::optional<Side> owner :
         {std::optional<Side>(), std::optional(PlayerOne), std::optional(Computer)}) {
      EXPECT_LE(LineWords(line, owner).size(), kLongestLineWords) << line;
    }
  }
}

TEST(SpokenWords, EventsSaidInOneBreathNameEachMoverOnceAndSkipATurnThatAClaimBegins) {
  GameState over;
  over.scores[IndexOf(PlayerOne)] = 20;
  over.scores[IndexOf(Computer)] = 29;
  const struct {
    std::vector<SpokenEvent> events;
    const char* said;
  } cases[] = {
      {{ClaimSpoken(14, PlayerOne), TurnSpoken(Computer)},
       "Player 1: row 1, column 7, down. Daviz Edezo's turn."},
      {{ClaimSpoken(14, PlayerOne), TurnSpoken(Computer), ClaimSpoken(16, Computer), TurnSpoken(PlayerOne)},
       "Player 1: row 1, column 7, down. Daviz Edezo: row 2, column 1, across. Player 1's turn."},
      // A chain of squares: the mover is named once, each square and score follows its line.
      {{ClaimSpoken(16, Computer), SquareSpoken(1), ScoreSpoken(Computer, 1), ClaimSpoken(17, Computer),
        SquareSpoken(2), SquareSpoken(9), ScoreSpoken(Computer, 3)},
       "Daviz Edezo: row 2, column 1, across. Square row 1, column 1. Daviz Edezo has 1. Row 2, column 2, "
       "across. Square row 1, column 2. Square row 2, column 2. Daviz Edezo has 3."},
      {{NewGameSpoken(PlayMode::PersonVsComputer), TurnSpoken(PlayerOne)},
       "New game, Orang vs Daviz Edezo. Player 1's turn."},
      {{ModeSpoken(PlayMode::PersonVsPerson)}, "Mode Orang vs Orang."},
      {{ClaimSpoken(112, PlayerOne), SquareSpoken(49), ScoreSpoken(PlayerOne, 20), EndSpoken(over)},
       "Player 1: row 8, column 7, across. Square row 7, column 7. Player 1 has 20. Daviz Edezo wins, 29 to "
       "20."},
  };
  for (const auto& c : cases) EXPECT_EQ(Utterance(c.events), c.said);
}

TEST(SpokenWords, KeysAnswerWithScoresTimeSquaresAndWhyAClaimIsRefused) {
  GameState state;
  Board& board = state.board;
  for (int line : {1, 8, 9, 16, 2, 10})
    board.lines[line].claimed = true;  // square 1 won, square 2 three sides
  std::vector<std::optional<Side>> owners(kSquareCount + 1);
  owners[1] = PlayerTwo;
  const std::optional<Side> nobody;

  const struct {
    std::function<std::string()> answer;
    const char* said;
  } cases[] = {
      {[&] { return ScoresAnswer(state, false); }, "No game yet. Orang vs Daviz Edezo"},
      {[&] { return RefusalAnswer(state, 20, nobody); }, "No game. Menu, Play, boy starts one"},
      {[&] {
         return TimeAnswer({0, 0, 0});
       },
       "Game time 0 seconds"},
      {[&] {
         return TimeAnswer({0, 1, 1});
       },
       "Game time 1 minute 1 second"},
      {[&] {
         return TimeAnswer({2, 0, 5});
       },
       "Game time 2 hours 0 minutes 5 seconds"},
      {[&] { return SquaresBesideAnswer(board, 1, owners); }, "edge above, square below: won by Player 2"},
      {[&] { return SquaresBesideAnswer(board, 17, owners); },
       "square above: 3 sides, square below: 0 sides"},
      {[&] { return SquaresBesideAnswer(board, 15, owners); }, "square left: 0 sides, edge right"},
      {[&] { return SquaresBesideAnswer(board, 24, owners); }, "square left: 1 side, square right: 0 sides"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.answer(), c.said);

  state.running = true;
  state.scores[IndexOf(PlayerOne)] = 3;
  state.scores[IndexOf(Computer)] = 5;
  EXPECT_EQ(ScoresAnswer(state, true), "Player 1 3, Daviz Edezo 5. Player 1's turn");
  EXPECT_EQ(RefusalAnswer(state, 9, PlayerOne), "Taken by Player 1");
  EXPECT_EQ(RefusalAnswer(state, 20, nobody), "");
  state.turn = Computer;
  EXPECT_EQ(RefusalAnswer(state, 20, nobody), "Wait, Daviz Edezo's turn");
  state.running = false;
  EXPECT_EQ(ScoresAnswer(state, true), "Game over. Daviz Edezo wins, 5 to 3");
}

}  // namespace
}  // namespace nokturna
