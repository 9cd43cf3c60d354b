#include "engine/new_game.h"

#include "engine/line_claiming.h"

namespace nokturna {

const Question kRestartQuestion{"Mau Ngulang game ape takut KO ??", "Ehem.. Ngulang-ngulanglu kayak cebok !!",
                                Buttons::OkCancel};

namespace {
// Numbers shown in captions carry a sign position: a blank in front of a non-negative number.
std::string withSignPosition(int n) { return n < 0 ? std::to_string(n) : " " + std::to_string(n); }
}  // namespace

void NewGame(Game& game) {
  GameState& s = game.state;
  WindowPort& window = game.window;

  // A computer turn still pending from the replaced game must not move for "Player 1" in this one.
  window.setTimerEnabled(Timer::Timer1, false);

  s.clockHours = s.clockMinutes = s.clockSeconds = 0;
  s.squaresClosed = 0;
  for (int slot = 1; slot <= 3; ++slot) {
    s.score[slot] = 0;
    if (slot <= 2) window.setCaption(slot == 1 ? Label::scorelbl1 : Label::scorelbl2, withSignPosition(0));
  }
  for (int n = 1; n <= kLineCount; ++n) {
    if (n <= kSquareCount) window.setMarkerPicture(n, 0);
    s.lineState[n][2] = 0;
    window.setLinePicture(n, 0, s.lineState[n][1]);
  }
  s.turn = kPlayer1;
  window.setCaption(Label::commentlbl, TurnCaption(s, s.turn));
  s.gameStopped = false;
  window.setTimerEnabled(Timer::Timer2, true);
}

void play1_Click(Game& game) {
  if (game.state.gameStopped) {
    NewGame(game);
    return;
  }
  if (game.window.confirm(kRestartQuestion)) NewGame(game);
}

}  // namespace nokturna
