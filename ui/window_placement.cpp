#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace nokturna {

void CentreOnScreen(QWidget* window) {
  QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  // Before the first show the frame is not known yet; the client size is what the user sees centred.
  window->setGeometry(
      QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window->size(), screen->availableGeometry()));
}

}  // namespace nokturna
