// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/captions.h"

namespace nokturna {

namespace {
std::string twoDigits(int value) { return value < 10 ? "0" + std::to_string(value) : std::to_string(value); }
}  // namespace

const Question kRestartQuestion{"Mau Ngulang game ape takut KO ??", "Ehem.. Ngulang-ngulanglu kayak cebok !!",
                                Buttons::OkCancel};
const Question kModeChangeQuestion{"If you change this mode you must restart the game", "Caution !!",
                                   Buttons::YesNo};
const Question kExitQuestion{"Mohon maaf, apa benar Anda mau kembali ke habitat asli di rawa ??",
                             "Ooouupss, what's wrong !!", Buttons::OkCancel};

std::string SideName(Side side) {
  switch (side) {
    case Side::PlayerOne:
      return "Player 1";
    case Side::Computer:
      return "Daviz Edezo";
    case Side::PlayerTwo:
      return "Player 2";
  }
  return {};
}

std::string TurnCaption(Side side) { return "Giliran / Turn : " + SideName(side); }

std::string VerdictCaption(Side winner) { return "Pemenangnya adalah / Master Kubur is " + SideName(winner); }

std::string WinnerCaption(Side winner) { return SideName(winner) + " adalah Raja Kubur"; }

std::string NewGameScoreCaption() { return " 0"; }

std::string ScoreCaption(int score) { return std::to_string(score); }

std::string ClockCaption(int hours, int minutes, int seconds) {
  return twoDigits(hours) + ":" + twoDigits(minutes) + ":" + twoDigits(seconds);
}

}  // namespace nokturna
