// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/picture_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/window_placement.h"

namespace nokturna {

PictureWindow::PictureWindow(const QString& name, const QString& title, const QPixmap& picture,
                             const QColor& fill, QSize clientSize, const QString& words)
    : PictureBackground(picture, fill) {
  setObjectName(name);
  // Never shown (there is no title bar), but it names the window to the desktop and to screen readers.
  setWindowTitle(title);
  setAccessibleDescription(words);
  setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
  setAttribute(Qt::WA_DeleteOnClose);
  // Left open, it must not keep the program alive once the main window has closed.
  setAttribute(Qt::WA_QuitOnClose, false);
  // The window itself takes the focus whenever it is activated: it has nothing else to focus.
  setFocusPolicy(Qt::StrongFocus);
  setFocus();
  setFixedSize(clientSize);
  // Centred on the screen, where the main window starts too (and where the winner window appears).
  CentreOnScreen(this);
}

void PictureWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_ = true;
  event->accept();
}

// A click is a press and a release on the window; any place on it will do.
void PictureWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool click = pressed_ && rect().contains(event->position().toPoint());
  pressed_ = false;
  event->accept();
  if (click) close();
}

// The keyboard's click. A key held down from the game (Space claiming the last line) repeats; only a
// fresh press closes the window, so the verdict is not gone before it is seen.
void PictureWindow::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool closing =
      !event->isAutoRepeat() && (event->modifiers() & ~Qt::KeypadModifier) == 0 &&
      (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space);
  if (!closing) {
    PictureBackground::keyPressEvent(event);
    return;
  }
  event->accept();
  close();
  if (handBackTo_) handBackTo_->activateWindow();
}

void PictureWindow::showEvent(QShowEvent* event) {
  PictureBackground::showEvent(event);
  if (QWidget* active = QApplication::activeWindow(); active != this) handBackTo_ = active;
}

}  // namespace nokturna
