#include "engine/line_claiming.h"

#include "engine/end_of_game.h"

namespace nokturna {

namespace {

Label scoreLabelOf(int slot) { return slot == kPlayer1 ? Label::scorelbl1 : Label::scorelbl2; }

int nextTurn(const GameState& s) {
  const int opponent = s.playMode == kPersonVsPerson ? kPlayer2 : kComputer;
  return s.turn == kPlayer1 ? opponent : kPlayer1;
}

}  // namespace

std::string TurnCaption(const GameState& state, int slot) {
  return "Giliran / Turn : " + state.playerName[slot];
}

void box_Click(Game& game, int line) {
  const GameState& s = game.state;
  if (line < 1 || line > kLineCount) return;
  if (s.gameStopped || s.claimed(line) || s.turn == kComputer) return;
  ClaimLine(game, line);
}

void ClaimLine(Game& game, int line) {
  GameState& s = game.state;
  WindowPort& window = game.window;
  const int mover = s.turn;

  s.lineState[line][2] = 1;
  bool closedSquare = false;
  window.setLinePicture(line, mover, s.lineState[line][1]);

  // Pending window events run inside the sound call; the window holds back input until we are done.
  if (window.soundOn()) window.playClip(1);

  for (int side = 1; side <= 2; ++side) {
    const int square = squareOnSide(line, side);
    if (square == 0) continue;
    int claimedSides = 1;  // this line, just marked
    for (int other : otherSides(s, line, side)) claimedSides += s.lineState[other][2];
    if (claimedSides == 4) {
      window.setMarkerPicture(square, mover);
      ++s.score[mover];
      ++s.squaresClosed;
      closedSquare = true;
    }
  }

  if (closedSquare) window.setCaption(scoreLabelOf(mover), std::to_string(s.score[mover]));

  if (s.squaresClosed >= kSquareCount) {
    EndGame(game);
    return;
  }

  // Closing a square earns another move; otherwise the other side is up.
  if (!closedSquare) {
    s.turn = nextTurn(s);
    window.setCaption(Label::commentlbl, TurnCaption(s, s.turn));
  }

  if (s.turn == kComputer) window.setTimerEnabled(Timer::Timer1, true);
}

}  // namespace nokturna
