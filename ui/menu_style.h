// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The look of the game's menus over whatever style the desktop gives: an entry that is not checked shows
// nothing in the check-mark column (some styles draw an empty box there), a checked one its mark. The
// column keeps its width, so captions stay put as a mark moves, and the entries stay checkable to
// assistive technology. On the menu bar, Alt pressed and let go alone opens the keyboard's way into the
// menus whatever the desktop's style says, and shows which title the keyboard is on.
#pragma once

#include <QProxyStyle>

namespace nokturna {

class MenuStyle : public QProxyStyle {
  Q_OBJECT

 public:
  MenuStyle();

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override;
};

}  // namespace nokturna
