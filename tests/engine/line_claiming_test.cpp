#include "engine/line_claiming.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/new_game.h"
#include "recording_window.h"

namespace nokturna {
namespace {

using testing::TestGame;

struct Running : TestGame {
  explicit Running(int mode = kPersonVsComputer) {
    state().playMode = mode;
    NewGame(game);
    window.log.clear();
    window.clips.clear();
  }
  bool logged(const std::string& entry) const {
    return std::find(window.log.begin(), window.log.end(), entry) != window.log.end();
  }
};

TEST(LineClaiming, ClosingTheFourthSideScoresAndKeepsTheTurn) {
  Running t;
  t.claimAll({1, 8, 16});
  const std::string turnLabel = t.window.caption(Label::commentlbl);
  ClaimLine(t.game, 9);

  EXPECT_EQ(t.window.markerPicture[1], kPlayer1);
  EXPECT_EQ(t.state().score[kPlayer1], 1);
  EXPECT_EQ(t.state().squaresClosed, 1);
  EXPECT_EQ(t.window.caption(Label::scorelbl1), "1");  // no sign position during play
  EXPECT_EQ(t.state().turn, kPlayer1);
  EXPECT_EQ(t.window.caption(Label::commentlbl), turnLabel);
  EXPECT_FALSE(t.window.timerOn(Timer::Timer1));
}

TEST(LineClaiming, OneLineClosingTwoSquaresScoresTwoAndSetsTheLabelOnce) {
  Running t;
  t.claimAll({2, 10, 17, 1, 8, 16});
  ClaimLine(t.game, 9);
  EXPECT_EQ(t.window.markerPicture[1], kPlayer1);
  EXPECT_EQ(t.window.markerPicture[2], kPlayer1);
  EXPECT_EQ(t.state().score[kPlayer1], 2);
  EXPECT_EQ(t.state().squaresClosed, 2);
  EXPECT_EQ(t.window.caption(Label::scorelbl1), "2");
  EXPECT_EQ(std::count(t.window.log.begin(), t.window.log.end(), "caption 2"), 1);
}

TEST(LineClaiming, EdgeLinesLookOnlyAtTheSquareInsideTheBoard) {
  // Each edge line completes its one square when that square's other sides are down.
  struct Case {
    int line;
    std::initializer_list<int> others;
    int square;
  };
  for (const Case& c : {Case{8, {1, 16, 9}, 1}, Case{15, {7, 22, 14}, 7}, Case{3, {18, 10, 11}, 3},
                        Case{108, {93, 100, 101}, 45}}) {
    Running t;
    t.claimAll(c.others);
    ClaimLine(t.game, c.line);
    EXPECT_EQ(t.state().squaresClosed, 1) << c.line;
    EXPECT_EQ(t.window.markerPicture[c.square], kPlayer1) << c.line;
  }
}

TEST(LineClaiming, TheLineIsDrawnInTheMoversPictureOfItsOwnKind) {
  Running t(kPersonVsPerson);
  ClaimLine(t.game, 1);  // Player 1, horizontal
  EXPECT_EQ(t.window.linePicture[1], kPlayer1);
  EXPECT_EQ(t.window.lineKind[1], kHorizontal);
  ClaimLine(t.game, 8);  // Player 2, vertical
  EXPECT_EQ(t.window.linePicture[8], kPlayer2);
  EXPECT_EQ(t.window.lineKind[8], kVertical);
  EXPECT_TRUE(t.state().claimed(1));
  EXPECT_TRUE(t.state().claimed(8));
}

TEST(LineClaiming, MoveSoundComesAfterTheDrawingAndBeforeTheSquares) {
  Running t;
  t.claimAll({1, 8, 16});
  ClaimLine(t.game, 9);
  const std::vector<std::string> expected = {"line 9 slot 1", "clip 1", "marker 1 slot 1", "caption 1"};
  EXPECT_EQ(t.window.log, expected);
  EXPECT_EQ(t.window.clips, std::vector<int>{1});  // closing a square adds no sound of its own
}

TEST(LineClaiming, WithSoundOffAMoveIsSilentButOtherwiseTheSame) {
  Running t;
  t.window.sound = false;
  t.claimAll({1, 8, 16});
  ClaimLine(t.game, 9);
  EXPECT_TRUE(t.window.clips.empty());
  EXPECT_EQ(t.state().score[kPlayer1], 1);
}

TEST(LineClaiming, TurnPassesBetweenTheTwoPeopleInPersonAgainstPersonMode) {
  Running t(kPersonVsPerson);
  ClaimLine(t.game, 50);
  EXPECT_EQ(t.state().turn, kPlayer2);
  EXPECT_EQ(t.window.caption(Label::commentlbl), "Giliran / Turn : Player 2");
  EXPECT_FALSE(t.window.timerOn(Timer::Timer1));
  ClaimLine(t.game, 51);
  EXPECT_EQ(t.state().turn, kPlayer1);
  EXPECT_EQ(t.window.caption(Label::commentlbl), "Giliran / Turn : Player 1");
}

TEST(LineClaiming, PassingToTheComputerArmsItsTimerAndBlocksClicks) {
  Running t;
  box_Click(t.game, 50);
  EXPECT_EQ(t.state().turn, kComputer);
  EXPECT_EQ(t.window.caption(Label::commentlbl), "Giliran / Turn : Daviz Edezo");
  EXPECT_TRUE(t.window.timerOn(Timer::Timer1));
  box_Click(t.game, 51);
  EXPECT_FALSE(t.state().claimed(51));
}

TEST(LineClaiming, TheComputerClosingASquareArmsItsTimerAgain) {
  Running t;
  t.state().turn = kComputer;
  t.claimAll({1, 8, 16});
  ClaimLine(t.game, 9);
  EXPECT_EQ(t.state().turn, kComputer);
  EXPECT_TRUE(t.window.timerOn(Timer::Timer1));
  EXPECT_EQ(t.window.caption(Label::scorelbl2), "1");
  EXPECT_EQ(t.window.markerPicture[1], kComputer);
}

TEST(LineClaiming, PlayerTwosScoreGoesToTheSecondScoreLabel) {
  Running t(kPersonVsPerson);
  t.state().turn = kPlayer2;
  t.claimAll({1, 8, 16});
  ClaimLine(t.game, 9);
  EXPECT_EQ(t.window.caption(Label::scorelbl2), "1");
  EXPECT_EQ(t.state().score[kPlayer2], 1);
}

TEST(LineClaiming, ClicksAreIgnoredBeforeAGameOnATakenLineAndOutOfRange) {
  TestGame idle;
  box_Click(idle.game, 5);
  EXPECT_FALSE(idle.state().claimed(5));
  EXPECT_TRUE(idle.window.log.empty());

  Running t(kPersonVsPerson);
  box_Click(t.game, 5);
  t.window.log.clear();
  box_Click(t.game, 5);
  box_Click(t.game, 0);
  box_Click(t.game, 113);
  EXPECT_TRUE(t.window.log.empty());
  EXPECT_EQ(t.state().turn, kPlayer2);
}

}  // namespace
}  // namespace nokturna
