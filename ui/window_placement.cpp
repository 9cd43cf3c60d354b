// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace nokturna {

namespace {
int placeOnAxis(int size, int start, int length) {
  return size <= length ? start + (length - size) / 2 : start;
}
}  // namespace

QPoint PlaceInArea(QSize size, const QRect& available) {
  return {placeOnAxis(size.width(), available.left(), available.width()),
          placeOnAxis(size.height(), available.top(), available.height())};
}

void CentreOnScreen(QWidget* window) {
  QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  // Before the first show the frame is not known yet and counts as nothing; a move places the frame's
  // corner all the same, so a frame that comes later grows the window right and down, never off the top.
  window->move(PlaceInArea(window->frameGeometry().size(), screen->availableGeometry()));
}

}  // namespace nokturna
