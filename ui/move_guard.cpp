// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/move_guard.h"

#include <QTimer>
#include <utility>

namespace nokturna {

void MoveGuard::runMove(const Input& move) {
  moveInProgress_ = true;
  move();
  moveInProgress_ = false;
  if (!held_.empty()) scheduleReplay();
}

void MoveGuard::offer(Input input) {
  // Input already waiting goes first, even when no move runs any more.
  if (moveInProgress_ || !held_.empty()) {
    held_.push_back(std::move(input));
    return;
  }
  input();
}

void MoveGuard::scheduleReplay() {
  if (replayScheduled_) return;
  replayScheduled_ = true;
  // From a fresh pass of the event loop, never from inside the move that just ended.
  QTimer::singleShot(0, context_, [this] {
    replayScheduled_ = false;
    replayHeld();
  });
}

void MoveGuard::replayHeld() {
  // A held command may wait in a message box; its loop must not start the next held input meanwhile.
  if (moveInProgress_ || replaying_) return;
  replaying_ = true;
  while (!held_.empty() && !moveInProgress_) {
    Input next = std::move(held_.front());
    held_.pop_front();
    next();
  }
  replaying_ = false;
}

}  // namespace nokturna
