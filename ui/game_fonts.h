// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's typefaces, chosen by family name from fonts that ship with it, so that captions measure
// and look the same on every system.
#pragma once

#include <QFont>

namespace nokturna {

inline constexpr const char* kLabelFamily = "Liberation Sans";  // a plain sans serif for the board's labels
inline constexpr const char* kVerdictFamily = "Lato";           // a heavy face for the winner's verdict

// Bold board-label text at `pointSize`.
QFont LabelFont(qreal pointSize);

// The winner window's verdict: black weight, 14.25 pt.
QFont VerdictFont();

}  // namespace nokturna
