// What assistive technology (a screen reader) is told about the board: the names of line and square
// images, and the accessible interfaces of the line images and caption labels. The words describe the
// game; nothing here changes what the game does or shows.
#pragma once

#include <QString>

namespace nokturna {

// "Line 9, vertical, column 2, between rows 1 and 2": rows and columns of posts, counted from the top
// left. "Square 12, row 2, column 5": rows and columns of squares.
QString LineAccessibleName(int line);
QString SquareAccessibleName(int square);

// "free" / "claimed by <name>"; "empty" / "won by <name>". An empty owner name means nobody.
QString LineAccessibleDescription(const QString& owner);
QString SquareAccessibleDescription(const QString& owner);

// Makes line images pressable buttons (checked once claimed) and caption labels name-and-value texts.
// Safe to call more than once.
void InstallBoardAccessibility();

}  // namespace nokturna
