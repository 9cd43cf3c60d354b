#include "opponent/play_modes.h"

#include "engine/new_game.h"
#include "opponent/computer_move.h"

namespace nokturna {

const Question kModeChangeQuestion{"If you change this mode you must restart the game", "Caution !!",
                                   Buttons::YesNo};

namespace {
void switchMode(Game& game, int index) {
  game.window.setModeChecked(game.state.playMode, false);
  game.state.playMode = index;
  game.window.setModeChecked(index, true);
}
}  // namespace

void vsmode_Click(Game& game, int index) {
  if (index != kPersonVsPerson && index != kPersonVsComputer) return;
  if (game.state.playMode == index) return;
  if (game.state.gameStopped) {
    switchMode(game, index);
    return;
  }
  if (game.window.confirm(kModeChangeQuestion)) {
    switchMode(game, index);
    NewGame(game);
  }
}

void Timer1_Timer(Game& game) {
  game.window.setTimerEnabled(Timer::Timer1, false);  // one start, one tick
  // A tick that outlived its game or its turn must not move for anybody.
  if (game.state.gameStopped || game.state.turn != kComputer) return;
  ComputerMove(game);
}

}  // namespace nokturna
