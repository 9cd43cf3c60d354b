// A secondary window that is nothing but a picture: borderless, no task-bar entry, no owner, centred on
// the screen, and gone (deleted) after a click anywhere on it. The how-to-play and About windows are
// such windows.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QSize>
#include <QString>

#include "ui/picture_background.h"

class QMouseEvent;

namespace nokturna {

class PictureWindow : public PictureBackground {
  Q_OBJECT

 public:
  PictureWindow(const QString& name, const QString& title, const QPixmap& picture, const QColor& fill,
                QSize clientSize);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

}  // namespace nokturna
