#pragma once

#include <QPointer>

class QWidget;

namespace nokturna {

// Moves a top-level window so that it sits in the middle of the available area of its screen.
void CentreOnScreen(QWidget* window);

// Makes a secondary window unless one is open (an open one is reused as it is) and shows it without an
// owner and without blocking; a window already open comes to the front.
template <typename Window>
void LoadAndShow(QPointer<Window>& window) {
  if (!window) window = new Window;
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace nokturna
