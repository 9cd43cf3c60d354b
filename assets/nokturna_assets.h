#pragma once

#include <QString>

// Resource paths of the game's built-in pictures and sound clips. The files
// are compiled into every program that links nokturna_assets; Qt's image
// loading picks the @2x twin of a picture by itself on high-density screens.
namespace nokturna::assets {

// ":/sounds/1.wav" .. ":/sounds/4.wav"; an empty string for any other id.
QString soundClipPath(int id);

// ":/pictures/<name>.png", or ".bmp" for the board: e.g. picturePath("board") is ":/pictures/board.bmp".
QString picturePath(const char* name);

}  // namespace nokturna::assets
