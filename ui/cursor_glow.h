// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The keyboard's cursor as the player sees it: a glowing outline around the line it is on, in a colour of
// neither side, bright over the bare board and around a claimed bar alike.
#pragma once

#include <QFocusFrame>

class QPaintEvent;

namespace nokturna {

// A focus frame, so it may reach beyond the line's own rectangle, lets every click through to the lines
// below it, and stays out of what assistive technology lists (the focused line speaks for the cursor).
class CursorGlow : public QFocusFrame {
  Q_OBJECT

 public:
  // How far the glow reaches beyond the line's rectangle, in logical pixels.
  static constexpr int kReach = 5;
  // The glow's core colour: gold, far from the sides' blue and green and from the posts' red.
  static constexpr QRgb kColour = 0xffffc81e;

  explicit CursorGlow(QWidget* board);

  // Shows the glow around `line`, a rectangle in the board's coordinates, above everything on the board.
  void surround(const QRect& line);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace nokturna
