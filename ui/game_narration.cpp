// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/game_narration.h"

namespace nokturna {

void GameNarration::speakTo(Speech& speech, const GameState& state) {
  speech_ = &speech;
  state_ = &state;
}

void GameNarration::gameStarted(Side first) {
  lineOwners_.fill(std::nullopt);
  squareOwners_.assign(squareOwners_.size(), std::nullopt);
  anyGamePlayed_ = true;
  shown_.gameStarted(first);
  if (!listening()) return;
  // Moves of the game this one replaces, not heard yet, would now mislead.
  speech_->dropUnsaid();
  speech_->say(NewGameSpoken(state_->mode));
  speech_->say(TurnSpoken(first));
}

void GameNarration::lineClaimed(int line, Side side) {
  lineOwners_[line] = side;
  shown_.lineClaimed(line, side);
  if (listening()) speech_->say(ClaimSpoken(line, side));
}

void GameNarration::squareWon(int square, Side side) {
  squareOwners_[square] = side;
  shown_.squareWon(square, side);
  if (listening()) speech_->say(SquareSpoken(square));
}

void GameNarration::scoreChanged(Side side, int score) {
  shown_.scoreChanged(side, score);
  if (listening()) speech_->say(ScoreSpoken(side, score));
}

void GameNarration::turnPassed(Side side) {
  shown_.turnPassed(side);
  if (listening()) speech_->say(TurnSpoken(side));
}

void GameNarration::gameEnded(Side winner) {
  shown_.gameEnded(winner);
  if (!listening()) return;
  speech_->say(EndSpoken(*state_));
  speech_->resultShown();
}

void GameNarration::modeChanged(PlayMode mode) {
  shown_.modeChanged(mode);
  if (listening()) speech_->say(ModeSpoken(mode));
}

}  // namespace nokturna
