// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/caption_label.h"

#include <QAccessible>

namespace nokturna {

CaptionLabel::CaptionLabel(const QString& accessibleName, const QString& caption, QWidget* parent)
    : QLabel(caption, parent) {
  setAccessibleName(accessibleName);
}

void CaptionLabel::setCaption(const QString& caption) {
  if (caption == text()) return;
  setText(caption);
  QAccessibleValueChangeEvent value(this, caption);
  QAccessible::updateAccessibility(&value);
  // The caption doubles as the description, for readers that do not ask for a label's value.
  QAccessibleEvent description(this, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&description);
}

}  // namespace nokturna
