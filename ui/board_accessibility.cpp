#include "ui/board_accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "engine/board_geometry.h"
#include "ui/caption_label.h"
#include "ui/clickable_image.h"

namespace nokturna {

namespace {

// A line image: a button a screen reader can press, through the same path as a mouse click.
class LineImageAccessible : public QAccessibleWidget {
 public:
  explicit LineImageAccessible(ClickableImage* image) : QAccessibleWidget(image, QAccessible::Button) {}

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.focusable = true;  // the keyboard's cursor gives a line the focus
    state.checkable = true;
    state.checked = image()->claimed();
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

QString LineAccessibleName(int line) {
  const LinePlace p = PlaceOfLine(line);
  if (p.kind == LineKind::Horizontal) {
    return QStringLiteral("Line %1, horizontal, row %2, between columns %3 and %4")
        .arg(line)
        .arg(p.row)
        .arg(p.column)
        .arg(p.column + 1);
  }
  return QStringLiteral("Line %1, vertical, column %2, between rows %3 and %4")
      .arg(line)
      .arg(p.column)
      .arg(p.row)
      .arg(p.row + 1);
}

QString SquareAccessibleName(int square) {
  const SquarePlace q = PlaceOfSquare(square);
  return QStringLiteral("Square %1, row %2, column %3").arg(square).arg(q.row).arg(q.column);
}

QString LineAccessibleDescription(const QString& owner) {
  return owner.isEmpty() ? QStringLiteral("free") : QStringLiteral("claimed by ") + owner;
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
