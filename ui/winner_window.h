// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The winner window: a borderless picture of a graveyard with the verdict in red across its lower part.
// It has no owner and no task-bar entry, stays open beside the main window until it is clicked anywhere
// but on the verdict (or Esc, Enter or Space is pressed), and then is gone; the next end of a game makes a
// new one.
#pragma once

#include <QString>

#include "ui/picture_window.h"

class QLabel;
class QMouseEvent;

namespace nokturna {

class WinnerWindow : public PictureWindow {
  Q_OBJECT

 public:
  // Client area 3930 x 3780 twips.
  static constexpr int kClientWidth = 262;
  static constexpr int kClientHeight = 252;

  WinnerWindow();

  // Shows the verdict; it is also what assistive technology reads of the window.
  void setVerdict(const QString& text);
  QLabel* verdictLabel() const { return verdictLabel_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool outsideVerdict(const QPointF& position) const;

  QLabel* verdictLabel_;
  bool pressedOutsideVerdict_ = false;
};

}  // namespace nokturna
