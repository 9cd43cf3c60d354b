// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/menu_style.h"

#include <QStyleOptionMenuItem>
#include <QWidget>

namespace nokturna {

MenuStyle::MenuStyle() : QProxyStyle() {}

void MenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  if (item == nullptr) {
    QProxyStyle::drawControl(element, option, painter, widget);
    return;
  }
  QStyleOptionMenuItem shown(*item);
  if (element == CE_MenuItem && item->checkType == QStyleOptionMenuItem::NonExclusive && !item->checked) {
    // Drawn as an entry without a mark; the column's width comes from the whole menu, not the entry.
    shown.checkType = QStyleOptionMenuItem::NotCheckable;
  }
  if (element == CE_MenuBarItem && (item->state & State_Selected) && widget != nullptr &&
      widget->hasFocus()) {
    // The menu bar has the keyboard (after Alt): the chosen title shows as a press on it would.
    shown.state |= State_Sunken;
  }
  QProxyStyle::drawControl(element, &shown, painter, widget);
}

int MenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                         QStyleHintReturn* returnData) const {
  if (hint == SH_MenuBar_AltKeyNavigation) return 1;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace nokturna
