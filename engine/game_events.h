// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What happens in a game, told to whoever shows it: the main window, or a recorder in the tests. The
// rules call these in the order the player is to see and hear it, and never say how to show it; the
// receiver picks the picture, caption, timer or sound.
#pragma once

#include <string>

#include "engine/sides.h"

namespace nokturna {

enum class Buttons { OkCancel, YesNo };

struct Question {
  std::string prompt;
  std::string title;
  Buttons buttons;
};

class GameEvents {
 public:
  virtual ~GameEvents() = default;

  // A game began: every line free, no square won, both scores back to their start, `first` to move, and
  // the game clock counting from zero again (what it shows may stay until its first tick).
  virtual void gameStarted(Side first) = 0;

  // `side` claimed `line`; squares, scores and the turn follow in later events. The receiver may let
  // pending window events run here (the move's sound does) but must hold back input until the rules return.
  virtual void lineClaimed(int line, Side side) = 0;
  // That line was the fourth side of `square`, now `side`'s. One line can win two squares.
  virtual void squareWon(int square, Side side) = 0;
  // After a move won squares: `side`'s new score.
  virtual void scoreChanged(Side side, int score) = 0;
  // A move that won nothing hands the turn to `side`.
  virtual void turnPassed(Side side) = 0;

  // The computer is to move once it has paused; when the pause is over the receiver calls
  // TakeComputerTurn. A pause already running goes on as it is.
  virtual void computerTurnDue() = 0;
  // A pause still running must come to nothing.
  virtual void computerTurnCancelled() = 0;

  // One more second of game time.
  virtual void clockMoved(int hours, int minutes, int seconds) = 0;

  // The last square is won and the game is over: the clock stops, `winner` is crowned, and no line can
  // be claimed any more (the rules have marked the game stopped before they say so).
  virtual void gameEnded(Side winner) = 0;

  // The play mode is now `mode`.
  virtual void modeChanged(PlayMode mode) = 0;

  // Asks the person and waits for the answer: true for OK or Yes.
  virtual bool ask(const Question& question) = 0;
};

}  // namespace nokturna
