// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/winner_window.h"

#include <QLabel>
#include <QMouseEvent>

#include "ui/board_layout.h"
#include "ui/game_fonts.h"
#include "ui/game_pictures.h"

namespace nokturna {

WinnerWindow::WinnerWindow()
    : PictureWindow(QStringLiteral("winnerWindow"), QStringLiteral("WIN"),
                    GamePicture(QStringLiteral("winner.png")), Qt::black, QSize(kClientWidth, kClientHeight),
                    QString()) {
  verdictLabel_ = new QLabel(this);
  verdictLabel_->setObjectName(QStringLiteral("verdictLabel"));
  const PixelRect verdict = VerdictRect();
  verdictLabel_->setGeometry(verdict.left, verdict.top, verdict.width, verdict.height);
  verdictLabel_->setAlignment(Qt::AlignCenter);
  verdictLabel_->setWordWrap(true);
  verdictLabel_->setFont(VerdictFont());
  QPalette palette = verdictLabel_->palette();
  palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
  verdictLabel_->setPalette(palette);
}

void WinnerWindow::setVerdict(const QString& text) {
  verdictLabel_->setText(text);
  setAccessibleDescription(text);
}

bool WinnerWindow::outsideVerdict(const QPointF& position) const {
  return !verdictLabel_->geometry().contains(position.toPoint());
}

// A click on the verdict reaches the window too (the label ignores it); only a click beside it counts.
void WinnerWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressedOutsideVerdict_ = outsideVerdict(event->position());
  event->accept();
}

void WinnerWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool click = pressedOutsideVerdict_ && rect().contains(event->position().toPoint()) &&
                     outsideVerdict(event->position());
  pressedOutsideVerdict_ = false;
  event->accept();
  if (click) close();
}

}  // namespace nokturna
