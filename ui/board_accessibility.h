// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What assistive technology (a screen reader) is told about the board: the names of line and square
// images, and the accessible interfaces of the line images and caption labels. The words describe the
// game; nothing here changes what the game does or shows.
#pragma once

#include <QString>

namespace nokturna {

// "Square 12, row 2, column 5": rows and columns of squares, counted from the top left.
QString SquareAccessibleName(int square);

// "empty" / "won by <name>". An empty owner name means nobody.
QString SquareAccessibleDescription(const QString& owner);

// Makes line images items a screen reader reads by their place and owner ("Row 1, column 6, down:
// free", LineWords), with a press action that claims them, and caption labels name-and-value texts.
// Safe to call more than once.
void InstallBoardAccessibility();

}  // namespace nokturna
