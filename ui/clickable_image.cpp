#include "ui/clickable_image.h"

#include <QAccessible>
#include <QMouseEvent>

namespace nokturna {

ClickableImage::ClickableImage(int index, QWidget* parent) : QLabel(parent), index_(index) {
  // Pictures keep their natural size, anchored where the image sits.
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void ClickableImage::activate() { emit clicked(index_); }

void ClickableImage::setClaimed(bool claimed) {
  if (claimed_ == claimed) return;
  claimed_ = claimed;
  QAccessible::State changed;
  changed.checked = true;
  QAccessibleStateChangeEvent event(this, changed);
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
