// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>

class QWidget;

namespace nokturna {

// Where the top-left corner of a window of `size` (its frame included) goes in `available`: centred on
// each axis where it fits, else at the area's own edge, so the title bar and the menu of a window larger
// than a small screen stay on it.
QPoint PlaceInArea(QSize size, const QRect& available);

// Moves a top-level window to its place (PlaceInArea) in the available area of its screen, its frame
// counted once the desktop has told its size.
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
