// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/about_window.h"

#include "ui/game_pictures.h"

namespace nokturna {

namespace {
// The title and credits the picture shows (tools/make_artwork.cpp draws it), word for word.
const char kWords[] =
    "Nokturna 1.0. "
    "Dibuat oleh: Tim Nokturna. Musik: Orkes Kuburan. Gambar: Bengkel Hantu. Lawan tanding: Daviz Edezo. "
    "NOKTURNA, hiburan dari alam sebelah.";
}  // namespace

AboutWindow::AboutWindow()
    : PictureWindow(QStringLiteral("aboutWindow"), QStringLiteral("About Nokturna 1.0"),
                    GamePicture(QStringLiteral("about.png")), Qt::black, QSize(kClientWidth, kClientHeight),
                    QString::fromUtf8(kWords)) {}

}  // namespace nokturna
