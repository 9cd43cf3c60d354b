// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/how_to_play_window.h"

#include <QApplication>
#include <QPalette>

#include "ui/game_pictures.h"

namespace nokturna {

namespace {
// What the picture says (tools/make_help_art.cpp draws it), word for word.
const char kWords[] =
    "Cara Main Nokturna. "
    "Tutup kotaknya, dapat poin! Kotak yang tertutup jadi milikmu dan kamu jalan sekali lagi. "
    "Klik di antara dua tiang untuk menarik garis. "
    "Kotak terbanyak jadi Raja Kubur!";

// What the picture cannot show: how to play by keyboard, with a screen reader.
const char kKeys[] =
    " Keys: the arrow keys move the cursor over the lines, Home and End go to the first and the last "
    "line, and Space or Enter claims the line under the cursor. S says both scores and whose turn it is, "
    "T the game time, D how many sides the squares beside the line have; N and Shift+N go to the next "
    "and the previous free line. F10 opens the menus.";
}  // namespace

HowToPlayWindow::HowToPlayWindow()
    : PictureWindow(QStringLiteral("howToPlayWindow"), QStringLiteral("How to play.."),
                    GamePicture(QStringLiteral("howto.png")), QApplication::palette().color(QPalette::Button),
                    QSize(kClientWidth, kClientHeight),
                    QString::fromUtf8(kWords) + QString::fromUtf8(kKeys)) {}

}  // namespace nokturna
