// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A label whose caption the game keeps up to date: the turn, a score, the clock. To assistive technology
// it is its fixed name ("Turn", "Game time") with the caption as its value.
#pragma once

#include <QLabel>

namespace nokturna {

class CaptionLabel : public QLabel {
  Q_OBJECT

 public:
  CaptionLabel(const QString& accessibleName, const QString& caption, QWidget* parent);

  // Shows `caption`; screen readers hear of a change.
  void setCaption(const QString& caption);
};

}  // namespace nokturna
