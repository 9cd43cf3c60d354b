// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/cursor_glow.h"

#include <QPainter>
#include <utility>

namespace nokturna {

CursorGlow::CursorGlow(QWidget* board) : QFocusFrame(board) {
  setObjectName(QStringLiteral("cursorGlow"));
  hide();
}

void CursorGlow::surround(const QRect& line) {
  setGeometry(line.adjusted(-kReach, -kReach, kReach, kReach));
  raise();
  show();
}

void CursorGlow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Qt::NoBrush);
  const QRectF line = QRectF(rect()).adjusted(kReach, kReach, -kReach, -kReach);
  const QColor gold = QColor::fromRgba(kColour);
  // Outwards from the line: a dark hairline, so the ring stands clear of a light bar as well as of the
  // grey board; a solid gold ring; a halo fading into the board.
  painter.setPen(QPen(QColor(40, 24, 0, 220), 1.0));
  painter.drawRect(line.adjusted(-0.5, -0.5, 0.5, 0.5));
  painter.setPen(QPen(gold, 2.0));
  painter.drawRoundedRect(line.adjusted(-2, -2, 2, 2), 2.5, 2.5);
  for (const auto& [reach, alpha] : {std::pair{3.5, 140}, std::pair{4.5, 70}}) {
    QColor halo = gold;
    halo.setAlpha(alpha);
    painter.setPen(QPen(halo, 1.0));
    painter.drawRoundedRect(line.adjusted(-reach, -reach, reach, reach), reach + 1, reach + 1);
  }
}

}  // namespace nokturna
