// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Resource paths of the game's built-in pictures. The files are compiled into
// every program that links nokturna_assets; Qt's image loading picks the @2x
// twin of a picture by itself on high-density screens. The sound clips are
// built into the sound program instead (audio/builtin_clips.h), which plays them.
namespace nokturna::assets {

// ":/pictures/<name>.png", or ".bmp" for the board: e.g. picturePath("board") is ":/pictures/board.bmp".
QString picturePath(const char* name);

}  // namespace nokturna::assets
