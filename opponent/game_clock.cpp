#include "opponent/game_clock.h"

namespace nokturna {

namespace {
std::string twoDigits(int value) { return value < 10 ? "0" + std::to_string(value) : std::to_string(value); }
}  // namespace

std::string ClockText(int hours, int minutes, int seconds) {
  return twoDigits(hours) + ":" + twoDigits(minutes) + ":" + twoDigits(seconds);
}

void Timer2_Timer(Game& game) {
  GameState& s = game.state;
  ++s.clockSeconds;  // the clock counts ticks, one second each
  if (s.clockSeconds >= 60) {
    ++s.clockMinutes;
    s.clockSeconds -= 60;
  }
  if (s.clockMinutes >= 60) {
    ++s.clockHours;
    s.clockMinutes -= 60;
  }
  game.window.setCaption(Label::timelbl, ClockText(s.clockHours, s.clockMinutes, s.clockSeconds));
}

}  // namespace nokturna
