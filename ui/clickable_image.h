// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// An image control that reports a left-button click with its index: pressed and released inside it.
// Its rectangle takes clicks whether or not it shows a picture, so a cleared line can still be claimed.
// It also remembers who claimed the line it draws, for assistive technology to tell.
#pragma once

#include <QLabel>
#include <optional>

#include "engine/sides.h"

class QMouseEvent;

namespace nokturna {

class ClickableImage : public QLabel {
  Q_OBJECT

 public:
  ClickableImage(int index, QWidget* parent);

  int index() const { return index_; }

  // A click that comes from assistive technology rather than the mouse: reported the same way.
  void activate();

  std::optional<Side> owner() const { return owner_; }
  // Screen readers hear of a change.
  void setOwner(std::optional<Side> owner);

 signals:
  void clicked(int index);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int index_;
  bool pressed_ = false;
  std::optional<Side> owner_;
};

}  // namespace nokturna
