// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's pictures, compiled in as ":/pictures/<name>", each with a twin "<name>@2x" of twice the
// pixels. On a screen of more than one device pixel per logical pixel the twin is used, marked with its
// device pixel ratio so that it covers the same logical area as the small picture.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace nokturna {

// The sharpest picture for the screens at hand; `name` is the small picture's file name, "board.bmp".
QPixmap GamePicture(const QString& name);

// The window icon, in both sizes.
QIcon GameIcon();

}  // namespace nokturna
