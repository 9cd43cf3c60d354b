// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The reference for the start-up, memory and idle benchmarks: a bare Qt 6 window with a menu bar of the
// game's shape (four menus, the second with three submenus) above a 623 x 557 picture, and nothing else.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Reference"));
  QMenuBar* bar = window.menuBar();
  bar->setNativeMenuBar(false);
  QMenu* first = bar->addMenu(QStringLiteral("&Menu"));
  first->addAction(QStringLiteral("&Play"));
  first->addAction(QStringLiteral("&Quit"));
  QMenu* second = bar->addMenu(QStringLiteral("&Settings"));
  for (const char* name : {"&Mode", "S&ound", "&Music"}) {
    QMenu* sub = second->addMenu(QString::fromLatin1(name));
    sub->addAction(QStringLiteral("One"))->setCheckable(true);
    sub->addAction(QStringLiteral("Two"))->setCheckable(true);
  }
  QMenu* third = bar->addMenu(QStringLiteral("&Songs"));
  for (int i = 1; i <= 4; ++i) third->addAction(QStringLiteral("Song %1").arg(i))->setCheckable(true);
  QMenu* fourth = bar->addMenu(QStringLiteral("&Help"));
  fourth->addAction(QStringLiteral("&How"));
  fourth->addAction(QStringLiteral("&About"));

  // A picture of the board's size, drawn rather than loaded so the reference needs no files.
  QImage picture(623, 557, QImage::Format_RGB32);
  picture.fill(QColor(40, 60, 40));
  {
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    for (int x = 20; x < 623; x += 80) painter.drawLine(x, 0, x, 556);
  }
  auto* board = new QLabel;
  board->setPixmap(QPixmap::fromImage(picture));
  board->setFixedSize(623, 557);
  window.setCentralWidget(board);

  window.show();
  return QApplication::exec();
}
