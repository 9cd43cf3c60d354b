// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/game_fonts.h"

namespace nokturna {

namespace {
QFont familyFont(const char* family, qreal pointSize, QFont::Weight weight) {
  QFont font(QString::fromLatin1(family));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(pointSize);
  font.setWeight(weight);
  return font;
}
}  // namespace

QFont LabelFont(qreal pointSize) { return familyFont(kLabelFamily, pointSize, QFont::Bold); }

QFont VerdictFont() { return familyFont(kVerdictFamily, 14.25, QFont::Black); }

}  // namespace nokturna
