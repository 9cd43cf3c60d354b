// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/game_pictures.h"

#include <QGuiApplication>

namespace nokturna {

namespace {

QString resourcePath(const QString& name) { return QStringLiteral(":/pictures/") + name; }

QString doubleSizePath(const QString& name) {
  const qsizetype dot = name.lastIndexOf(u'.');
  const QString base = dot < 0 ? name : name.left(dot);
  const QString suffix = dot < 0 ? QString() : name.mid(dot);
  return resourcePath(base + QStringLiteral("@2x") + suffix);
}

}  // namespace

QPixmap GamePicture(const QString& name) {
  // The highest ratio of all screens: a window may move to the sharpest one, and a 2x picture shrinks
  // cleanly on a 1x screen where a 1x picture blurs on a 2x one.
  const qreal ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
  if (ratio > 1.0) {
    QPixmap sharp(doubleSizePath(name));
    if (!sharp.isNull()) {
      sharp.setDevicePixelRatio(2.0);
      return sharp;
    }
  }
  return QPixmap(resourcePath(name));
}

QIcon GameIcon() {
  QIcon icon;
  icon.addFile(resourcePath(QStringLiteral("icon.png")));
  icon.addFile(doubleSizePath(QStringLiteral("icon.png")));
  return icon;
}

}  // namespace nokturna
