// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Keeps a move whole. As a move's line sounds, the window lets the event loop run once so that the line
// shows at once (MainWindow::playClip); a click or a menu command already queued can then reach the
// window while the move is half done: its line drawn, its squares, score and turn not yet settled. Such
// input is held here and handled, in the order it came, once the move is over.
#pragma once

#include <deque>
#include <functional>

class QObject;

namespace nokturna {

class MoveGuard {
 public:
  using Input = std::function<void()>;

  // Replays of held input are delivered through `context`'s thread and die with it.
  explicit MoveGuard(QObject* context) : context_(context) {}

  // Runs a move (a line click or the computer's turn); input offered while it runs is held.
  void runMove(const Input& move);

  // Handles input at once, or holds it behind the move in progress and any input already held.
  void offer(Input input);

  bool moveInProgress() const { return moveInProgress_; }
  bool holding() const { return !held_.empty(); }

 private:
  void scheduleReplay();
  void replayHeld();

  QObject* context_;
  bool moveInProgress_ = false;
  bool replaying_ = false;
  bool replayScheduled_ = false;
  std::deque<Input> held_;
};

}  // namespace nokturna
