// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A secondary window that is nothing but a picture: borderless, no task-bar entry, no owner, centred on
// the screen, and gone (deleted) after a click anywhere on it, or after Esc, Enter or Space, which hand
// the keyboard back to the window that was active when it came up. To assistive technology it is its
// title, with the words its picture shows as its description; it takes the focus when it is activated,
// so a screen reader reads them as it opens. The how-to-play, About and winner windows are such windows.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QSize>
#include <QString>

#include "ui/picture_background.h"

class QKeyEvent;
class QMouseEvent;
class QShowEvent;

namespace nokturna {

class PictureWindow : public PictureBackground {
  Q_OBJECT

 public:
  PictureWindow(const QString& name, const QString& title, const QPixmap& picture, const QColor& fill,
                QSize clientSize, const QString& words);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  bool pressed_ = false;
  QPointer<QWidget> handBackTo_;
};

}  // namespace nokturna
