#include "engine/end_of_game.h"

namespace nokturna {

void EndGame(Game& game) {
  GameState& s = game.state;
  const int first = kPlayer1;
  const int second = s.playMode == kPersonVsPerson ? kPlayer2 : kComputer;
  // 49 squares split between two sides never tie.
  const int winner = s.score[first] > s.score[second] ? first : second;

  game.window.setTimerEnabled(Timer::Timer2, false);
  game.window.setCaption(Label::commentlbl, "Pemenangnya adalah / Master Kubur is " + s.playerName[winner]);
  game.window.setWinnerCaption(s.playerName[winner] + " adalah Raja Kubur");
  s.gameStopped = true;
  if (game.window.soundOn()) game.window.playClip(2);
  game.window.showWinner();
}

}  // namespace nokturna
