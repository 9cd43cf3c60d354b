// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/board_accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "engine/board_geometry.h"
#include "ui/caption_label.h"
#include "ui/clickable_image.h"
#include "ui/spoken_words.h"

namespace nokturna {

namespace {

// A line image: read as an item of a list is, by its name alone, which says where it is and whose it is;
// a screen reader can press it, through the same path as a mouse click.
class LineImageAccessible : public QAccessibleWidget {
 public:
  explicit LineImageAccessible(ClickableImage* image) : QAccessibleWidget(image, QAccessible::ListItem) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return QString::fromStdString(LineWords(image()->index(), image()->owner()));
    return QAccessibleWidget::text(t);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.focusable = true;  // the keyboard's cursor gives a line the focus
    return state;
  }

  QStringList actionNames() const override { return QAccessibleWidget::actionNames() << pressAction(); }

  void doAction(const QString& actionName) override {
    if (actionName == pressAction()) {
      image()->activate();
      return;
    }
    QAccessibleWidget::doAction(actionName);
  }

 private:
  ClickableImage* image() const { return static_cast<ClickableImage*>(widget()); }
};

// A caption label: its fixed name, its caption as value (and as description).
class CaptionLabelAccessible : public QAccessibleWidget {
 public:
  explicit CaptionLabelAccessible(CaptionLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

  QString text(QAccessible::Text t) const override {
    switch (t) {
      case QAccessible::Value:
      case QAccessible::Description:
        return static_cast<const QLabel*>(widget())->text();
      default:
        return QAccessibleWidget::text(t);
    }
  }
};

QAccessibleInterface* boardInterfaces(const QString& className, QObject* object) {
  if (className == QLatin1String(ClickableImage::staticMetaObject.className())) {
    if (auto* image = qobject_cast<ClickableImage*>(object)) return new LineImageAccessible(image);
  }
  if (className == QLatin1String(CaptionLabel::staticMetaObject.className())) {
    if (auto* label = qobject_cast<CaptionLabel*>(object)) return new CaptionLabelAccessible(label);
  }
  return nullptr;
}

}  // namespace

QString SquareAccessibleName(int square) {
  const SquarePlace q = PlaceOfSquare(square);
  return QStringLiteral("Square %1, row %2, column %3").arg(square).arg(q.row).arg(q.column);
}

QString SquareAccessibleDescription(const QString& owner) {
  return owner.isEmpty() ? QStringLiteral("empty") : QStringLiteral("won by ") + owner;
}

void InstallBoardAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(boardInterfaces);
    return true;
  }();
  (void)installed;
}

}  // namespace nokturna
