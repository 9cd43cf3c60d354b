#include "ui/form3.h"

#include <QLabel>
#include <QMouseEvent>

#include "engine/board_layout.h"
#include "ui/game_fonts.h"
#include "ui/game_pictures.h"
#include "ui/window_placement.h"

namespace nokturna {

namespace {
// The verdict's place in the lower part of the picture, in twips.
constexpr int kVerdictLeft = 240, kVerdictTop = 2880, kVerdictWidth = 3495, kVerdictHeight = 855;
}  // namespace

Form3::Form3() : PictureBackground(GamePicture(QStringLiteral("winner.png")), Qt::black) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("WIN"));
  setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
  setAttribute(Qt::WA_DeleteOnClose);
  // Left open, it must not keep the program alive once the main window has closed.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(kClientWidth, kClientHeight);

  label1 = new QLabel(this);
  label1->setObjectName(QStringLiteral("label1"));
  label1->setGeometry(twipsToPixels(kVerdictLeft), twipsToPixels(kVerdictTop), twipsToPixels(kVerdictWidth),
                      twipsToPixels(kVerdictHeight));
  label1->setAlignment(Qt::AlignCenter);
  label1->setWordWrap(true);
  label1->setFont(VerdictFont());
  QPalette palette = label1->palette();
  palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
  label1->setPalette(palette);

  // Centred on the screen, which is where the main window starts too.
  CentreOnScreen(this);
}

void Form3::setVerdict(const QString& text) { label1->setText(text); }

bool Form3::outsideVerdict(const QPointF& position) const {
  return !label1->geometry().contains(position.toPoint());
}

// A click on the verdict reaches the window too (the label ignores it); only a click beside it counts.
void Form3::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressedOutsideVerdict_ = outsideVerdict(event->position());
  event->accept();
}

void Form3::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool click = pressedOutsideVerdict_ && rect().contains(event->position().toPoint()) &&
                     outsideVerdict(event->position());
  pressedOutsideVerdict_ = false;
  event->accept();
  if (click) close();
}

}  // namespace nokturna
