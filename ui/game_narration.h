// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The game told to a screen reader as it happens. Stands between the rules and the window: every event
// goes on to the window first, which shows it, and is then said, in the order the rules tell it. Plain
// C++; what says the words (and whether anyone listens) is behind `Speech`.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/game_events.h"
#include "engine/game_state.h"
#include "ui/spoken_words.h"

namespace nokturna {

class Speech {
 public:
  virtual ~Speech() = default;
  // No screen reader, no words: nothing is said or even put into words.
  virtual bool listening() const = 0;
  // Said after what is still unsaid, once the reader has had time for it.
  virtual void say(SpokenEvent event) = 0;
  // What was not said yet no longer holds (a new game began).
  virtual void dropUnsaid() = 0;
  // The game is over and the window that announces the winner is up: what is unsaid of the end, the
  // result last, is the window's to tell.
  virtual void resultShown() = 0;
};

class GameNarration : public GameEvents {
 public:
  explicit GameNarration(GameEvents& shown) : shown_(shown) {}

  // Whom to tell, and the state the events are about; until then the events only go to the window.
  void speakTo(Speech& speech, const GameState& state);

  std::optional<Side> lineOwner(int line) const { return lineOwners_[line]; }
  const std::vector<std::optional<Side>>& squareOwners() const { return squareOwners_; }
  bool anyGamePlayed() const { return anyGamePlayed_; }

  void gameStarted(Side first) override;
  void lineClaimed(int line, Side side) override;
  void squareWon(int square, Side side) override;
  void scoreChanged(Side side, int score) override;
  void turnPassed(Side side) override;
  void computerTurnDue() override { shown_.computerTurnDue(); }
  void computerTurnCancelled() override { shown_.computerTurnCancelled(); }
  void clockMoved(int hours, int minutes, int seconds) override {
    shown_.clockMoved(hours, minutes, seconds);
  }
  void gameEnded(Side winner) override;
  void modeChanged(PlayMode mode) override;
  bool ask(const Question& question) override { return shown_.ask(question); }

 private:
  bool listening() const { return speech_ != nullptr && speech_->listening(); }

  GameEvents& shown_;
  Speech* speech_ = nullptr;
  const GameState* state_ = nullptr;
  std::array<std::optional<Side>, kLineCount + 1> lineOwners_{};
  std::vector<std::optional<Side>> squareOwners_ = std::vector<std::optional<Side>>(kSquareCount + 1);
  bool anyGamePlayed_ = false;
};

}  // namespace nokturna
