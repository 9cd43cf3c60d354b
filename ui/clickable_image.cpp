// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/clickable_image.h"

#include <QAccessible>
#include <QMouseEvent>

namespace nokturna {

ClickableImage::ClickableImage(int index, QWidget* parent) : QLabel(parent), index_(index) {
  // Pictures keep their natural size, anchored where the image sits.
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void ClickableImage::activate() { emit clicked(index_); }

void ClickableImage::setOwner(std::optional<Side> owner) {
  if (owner_ == owner) return;
  owner_ = owner;
  // The owner is part of the line's name.
  QAccessibleEvent event(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
}

void ClickableImage::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QLabel::mousePressEvent(event);
    return;
  }
  pressed_ = true;
  event->accept();
}

void ClickableImage::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QLabel::mouseReleaseEvent(event);
    return;
  }
  // Sliding off the image before letting go takes the click back.
  const bool wasPressed = pressed_;
  pressed_ = false;
  event->accept();
  if (wasPressed && rect().contains(event->position().toPoint())) emit clicked(index_);
}

}  // namespace nokturna
