// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/picture_background.h"

#include <QPainter>

namespace nokturna {

PictureBackground::PictureBackground(const QPixmap& picture, const QColor& fill, QWidget* parent)
    : QWidget(parent), picture_(picture), fill_(fill) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBackground::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), fill_);
  // At its logical size: a 2x picture on a 2x screen covers the same area as the 1x one elsewhere, pixel
  // for pixel.
  painter.drawPixmap(QRectF(QPointF(0, 0), picture_.deviceIndependentSize()), picture_,
                     QRectF(picture_.rect()));
}

}  // namespace nokturna
