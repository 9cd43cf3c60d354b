#include "engine/end_of_game.h"

#include <gtest/gtest.h>

#include "engine/line_claiming.h"
#include "engine/new_game.h"
#include "recording_window.h"

namespace nokturna {
namespace {

using testing::TestGame;

// Every line taken but the one given; scores as given, 49 squares in all once it closes.
struct LastLine : TestGame {
  LastLine(int mode, int mover, int firstScore, int secondScore, int lastLine) {
    state().playMode = mode;
    NewGame(game);
    for (int line = 1; line <= kLineCount; ++line) state().lineState[line][2] = line != lastLine;
    const int second = mode == kPersonVsPerson ? kPlayer2 : kComputer;
    state().score[kPlayer1] = firstScore;
    state().score[second] = secondScore;
    state().squaresClosed = firstScore + secondScore;
    state().turn = mover;
    window.log.clear();
  }
};

TEST(EndOfGame, PlayerOneWinsTwentyFiveToTwentyFourAgainstTheComputer) {
  LastLine t(kPersonVsComputer, kPlayer1, 24, 24, 112);
  ClaimLine(t.game, 112);
  EXPECT_EQ(t.window.caption(Label::commentlbl), "Pemenangnya adalah / Master Kubur is Player 1");
  EXPECT_EQ(t.window.winnerCaption, "Player 1 adalah Raja Kubur");
  EXPECT_TRUE(t.state().gameStopped);
  EXPECT_FALSE(t.window.timerOn(Timer::Timer2));
  EXPECT_EQ(t.window.winnerShown, 1);
}

TEST(EndOfGame, ResultIsAnnouncedInOrderAndTheEndSoundCutsTheMoveSound) {
  LastLine t(kPersonVsComputer, kPlayer1, 24, 24, 112);
  ClaimLine(t.game, 112);
  const std::vector<std::string> expected = {"line 112 slot 1",
                                             "clip 1",
                                             "marker 49 slot 1",
                                             "caption 25",
                                             "Timer2 off",
                                             "caption Pemenangnya adalah / Master Kubur is Player 1",
                                             "winner caption Player 1 adalah Raja Kubur",
                                             "clip 2",
                                             "show winner"};
  EXPECT_EQ(t.window.log, expected);
}

TEST(EndOfGame, PlayerTwoWinsTwentyNineToTwentyInPersonAgainstPerson) {
  LastLine t(kPersonVsPerson, kPlayer2, 20, 28, 112);
  ClaimLine(t.game, 112);
  EXPECT_EQ(t.window.caption(Label::commentlbl), "Pemenangnya adalah / Master Kubur is Player 2");
  EXPECT_EQ(t.window.winnerCaption, "Player 2 adalah Raja Kubur");
}

TEST(EndOfGame, TheComputersLastSquareEndsTheGameWithNoFurtherTurn) {
  LastLine t(kPersonVsComputer, kComputer, 10, 38, 112);
  ClaimLine(t.game, 112);
  EXPECT_EQ(t.window.winnerCaption, "Daviz Edezo adalah Raja Kubur");
  EXPECT_FALSE(t.window.timerOn(Timer::Timer1));
  EXPECT_EQ(t.state().turn, kComputer);  // the turn does not pass at the end
}

TEST(EndOfGame, ClosingTheLastTwoSquaresAtOnceEndsTheGameToo) {
  LastLine t(kPersonVsComputer, kPlayer1, 23, 24, 9);  // line 9 is shared by squares 1 and 2
  ClaimLine(t.game, 9);
  EXPECT_EQ(t.state().squaresClosed, 49);
  EXPECT_EQ(t.state().score[kPlayer1], 25);
  EXPECT_EQ(t.window.winnerCaption, "Player 1 adalah Raja Kubur");
}

TEST(EndOfGame, WithSoundOffTheResultComesSilently) {
  LastLine t(kPersonVsComputer, kPlayer1, 24, 24, 112);
  t.window.sound = false;
  ClaimLine(t.game, 112);
  EXPECT_TRUE(t.window.clips.empty());
  EXPECT_EQ(t.window.winnerShown, 1);
}

TEST(EndOfGame, ClicksAfterTheEndAreIgnored) {
  LastLine t(kPersonVsPerson, kPlayer1, 24, 24, 112);
  ClaimLine(t.game, 112);
  t.state().lineState[50][2] = 0;  // even a free line does nothing now
  t.window.log.clear();
  box_Click(t.game, 50);
  EXPECT_TRUE(t.window.log.empty());
}

}  // namespace
}  // namespace nokturna
