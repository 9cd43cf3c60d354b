// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the main window says to a screen reader beyond what its controls are called: the game's events as
// they happen, and the answers to a player's questions.
#include <QAccessible>
#include <QTimer>

#include "ui/announcer.h"
#include "ui/clickable_image.h"
#include "ui/main_window.h"
#include "ui/spoken_words.h"
#include "ui/winner_window.h"

namespace nokturna {

void MainWindow::startSpeech() {
  announcer_ = new Announcer(
      board_, [this] { return guard_.moveInProgress(); }, [this] { return computerPause_->isActive(); },
      [this]() -> QWidget* { return winnerWindow(); });
  narration_.speakTo(*announcer_, game_.state);
}

void MainWindow::sayScores() {
  if (announcer_->listening()) announcer_->answer(ScoresAnswer(game_.state, narration_.anyGamePlayed()));
}

void MainWindow::sayTime() {
  if (announcer_->listening()) announcer_->answer(TimeAnswer(game_.state.clock));
}

void MainWindow::saySquaresBeside() {
  if (!announcer_->listening()) return;
  announcer_->answer(SquaresBesideAnswer(game_.state.board, cursorLine_, narration_.squareOwners()));
}

void MainWindow::sayWhyRefused(int line) {
  if (!announcer_->listening() || line < 1 || line > kLineCount) return;
  announcer_->answer(RefusalAnswer(game_.state, line, narration_.lineOwner(line)));
}

// In reading order, round the board; the cursor shows where it lands, and the reader reads that line.
void MainWindow::moveToFreeLine(bool forward) {
  for (int step = 1; step <= kLineCount; ++step) {
    const int offset = forward ? step : kLineCount - step;
    const int line = (cursorLine_ - 1 + offset) % kLineCount + 1;
    if (!game_.state.board.claimed(line)) {
      cursorLine_ = line;
      showCursor();
      return;
    }
  }
  if (announcer_->listening()) announcer_->answer(kNoFreeLine);
}

}  // namespace nokturna
