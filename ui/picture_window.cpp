#include "ui/picture_window.h"

#include <QMouseEvent>

#include "ui/window_placement.h"

namespace nokturna {

PictureWindow::PictureWindow(const QString& name, const QString& title, const QPixmap& picture,
                             const QColor& fill, QSize clientSize)
    : PictureBackground(picture, fill) {
  setObjectName(name);
  // Never shown (there is no title bar), but it names the window to the desktop.
  setWindowTitle(title);
  setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
  setAttribute(Qt::WA_DeleteOnClose);
  // Left open, it must not keep the program alive once the main window has closed.
  setAttribute(Qt::WA_QuitOnClose, false);
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

}  // namespace nokturna
