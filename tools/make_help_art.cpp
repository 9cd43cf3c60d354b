// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Paints the how-to-play picture (howto.png, or howto@2x.png) into the folder given on the command line.
// Its thumbnail is no drawing: it is the game's own main window, built offscreen, with a few lines
// claimed through its own click path, grabbed and scaled down. Arrows and a few words explain it.
//
//   make_help_art <output folder> <scale: 1 or 2>
//
// The scale is the whole program's (QT_SCALE_FACTOR), so the 2x picture holds a grab of the window as a
// high-density screen shows it, with the @2x board and line pictures.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QRadialGradient>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>

#include "artwork_drawing.h"
#include "ui/main_window.h"

namespace {

using namespace artwork;

constexpr int kWidth = 453, kHeight = 262;

// Where the thumbnail of the main window sits, and how wide it is.
constexpr double kThumbLeft = 14, kThumbTop = 50, kThumbWidth = 200;

// The game shown: person against person, blue (Player 1) to move first. Blue closes the square
// bounded by lines 33, 40, 41 and 48 and then draws line 87 well away from every other line.
constexpr int kClaimed[] = {33, 5, 40, 70, 41, 111, 48, 87, 13, 62, 100};
constexpr int kWonSquare = 17;
constexpr int kLoneLine = 87;

void click(QWidget* target) {
  const QPointF at(target->width() / 2.0, target->height() / 2.0);
  const QPointF global = target->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(target, &release);
}

template <typename T>
T* child(const QWidget& window, const QString& name) {
  T* found = window.findChild<T*>(name);
  if (found == nullptr) {
    std::fprintf(stderr, "the main window has no %s\n", qPrintable(name));
    std::exit(1);
  }
  return found;
}

struct Shot {
  QImage thumbnail;      // device pixels, at the picture's scale
  QPointF squareCentre;  // in picture coordinates
  QPointF lineCentre;
  bool lineHorizontal = false;
};

Shot shootMainWindow(double scale) {
  nokturna::MainWindow window;
  window.show();
  QApplication::processEvents();
  child<QAction>(window, QStringLiteral("personVsPersonAction"))->trigger();
  child<QAction>(window, QStringLiteral("playAction"))->trigger();
  for (int line : kClaimed) click(child<QLabel>(window, QStringLiteral("line%1").arg(line)));
  QApplication::processEvents();

  const QImage grab = window.grab().toImage();
  const double factor = kThumbWidth / window.width();
  Shot shot;
  shot.thumbnail = grab.scaledToWidth(static_cast<int>(kThumbWidth * scale), Qt::SmoothTransformation);
  auto centreOf = [&](const QWidget* w) {
    const QPointF c = QPointF(w->mapTo(&window, QPoint(0, 0))) + QPointF(w->width(), w->height()) / 2.0;
    return QPointF(kThumbLeft, kThumbTop) + c * factor;
  };
  shot.squareCentre = centreOf(child<QLabel>(window, QStringLiteral("marker%1").arg(kWonSquare)));
  const QLabel* line = child<QLabel>(window, QStringLiteral("line%1").arg(kLoneLine));
  shot.lineCentre = centreOf(line);
  shot.lineHorizontal = line->width() > line->height();
  return shot;
}

// A fat arrow whose tip touches `tip`, coming from `from`.
void drawArrow(QPainter& p, QPointF from, QPointF tip, const QColor& fill) {
  const QLineF axis(from, tip);
  const double length = axis.length();
  QPainterPath arrow;
  const double head = 11, half = 7.5, shaft = 2.6;
  arrow.moveTo(0, -shaft);
  arrow.lineTo(length - head, -shaft);
  arrow.lineTo(length - head, -half);
  arrow.lineTo(length, 0);
  arrow.lineTo(length - head, half);
  arrow.lineTo(length - head, shaft);
  arrow.lineTo(0, shaft);
  arrow.quadTo(-3, 0, 0, -shaft);
  p.save();
  p.translate(from);
  p.rotate(-axis.angle());
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 110));
  p.drawPath(arrow.translated(1.2, 1.6));
  QLinearGradient g(QPointF(0, -half), QPointF(0, half));
  g.setColorAt(0.0, fill.lighter(150));
  g.setColorAt(0.5, fill);
  g.setColorAt(1.0, fill.darker(150));
  p.setBrush(g);
  p.setPen(QPen(fill.darker(260), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(arrow);
  p.restore();
}

// Words set in a box of width `width`, wrapped at spaces, starting at baseline `top`.
double drawWrapped(QPainter& p, const QString& text, const QFont& f, QPointF at, double width, double leading,
                   const QColor& colour) {
  const QFontMetricsF metrics(f);
  QString line;
  double baseline = at.y();
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  auto flush = [&] {
    QPainterPath path;
    path.addText(QPointF(at.x(), baseline), f, line);
    p.drawPath(path);
    baseline += leading;
    line.clear();
  };
  for (const QString& word : text.split(QLatin1Char(' '))) {
    const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
    if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) flush();
    line = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
  }
  if (!line.isEmpty()) flush();
  return baseline;
}

void paintHowTo(QImage& img, double scale, const Shot& shot) {
  // Night sky over a dark hill.
  paintPixels(
      img, scale, [](double, double) { return true; },
      [](double x, double y) {
        const QColor sky = mix(QColor(44, 24, 66), QColor(12, 10, 28), y / kHeight);
        const double cloud = fbm(x / 70.0, y / 26.0, 505u);
        return mix(sky, QColor(72, 56, 100), std::max(0.0, cloud - 0.55) * 1.2);
      });
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(scale, scale);

  Rng rng(2718u);
  p.setPen(Qt::NoPen);
  for (int k = 0; k < 60; ++k) {
    const QPointF star(rng.uniform(220, kWidth - 4), rng.uniform(40, 200));
    const double r = rng.uniform(0.3, 0.85);
    p.setBrush(QColor(255, 250, 230, static_cast<int>(rng.uniform(90, 220))));
    p.drawEllipse(star, r, r);
  }

  // Title across the top.
  QPainterPath title = textPathCentred(lato(27), QStringLiteral("Cara Main Nokturna"), kWidth / 2.0, 33);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0, 0, 0, 200), 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(title.translated(1.2, 1.6));
  p.setPen(QPen(QColor(40, 0, 0), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(title);
  QLinearGradient red(QPointF(0, 8), QPointF(0, 40));
  red.setColorAt(0.0, QColor(255, 80, 60));
  red.setColorAt(1.0, QColor(175, 0, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(red);
  p.drawPath(title);

  // Bottom right: the graveyard where the losers rest.
  QPainterPath hill;
  hill.moveTo(226, 240);
  hill.cubicTo(290, 222, 360, 236, kWidth, 218);
  hill.lineTo(kWidth, kHeight);
  hill.lineTo(226, kHeight);
  hill.closeSubpath();
  drawMoon(p, QPointF(433, 207), 10);
  drawBat(p, QPointF(352, 203), 13, QColor(10, 6, 14));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(18, 14, 24));
  p.drawPath(hill);
  drawTombstone(p, QRectF(300, 218, 18, 24), QColor(92, 88, 104), QStringLiteral("RIP"), -6);
  drawCross(p, QPointF(344, 238), 20, QColor(72, 68, 84), 7);
  drawTombstone(p, QRectF(420, 212, 16, 22), QColor(80, 76, 92), {}, 5);
  drawGhost(p, QPointF(392, 204), 32, 10);
  drawSkull(p, QPointF(254, 241), 17, true);

  // The thumbnail in a cream photo mount.
  const QRectF photo(kThumbLeft, kThumbTop, kThumbWidth, shot.thumbnail.height() / scale);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 120));
  p.drawRect(photo.adjusted(-2, -2, 6, 6));
  p.setBrush(QColor(238, 230, 208));
  p.drawRect(photo.adjusted(-4, -4, 4, 4));
  p.drawImage(photo, shot.thumbnail);
  p.setPen(QPen(QColor(90, 80, 70), 0.8));
  p.setBrush(Qt::NoBrush);
  p.drawRect(photo);

  // The arrows: red at the won square, blue at the lone line.
  const QColor arrowRed(228, 22, 22), arrowBlue(40, 110, 250);
  const QPointF square = shot.squareCentre;
  drawArrow(p, square + QPointF(-38, -30), square + QPointF(-6, -5), arrowRed);
  const QPointF line = shot.lineCentre + (shot.lineHorizontal ? QPointF(0, 2) : QPointF(2, 0));
  drawArrow(p, line + QPointF(44, 22), line + QPointF(3, 1.5), arrowBlue);

  // The key: each arrow again, with what it means.
  const QFont words = sans(12.5);
  const QColor ink(242, 236, 220);
  drawArrow(p, QPointF(232, 68), QPointF(262, 68), arrowRed);
  double next = drawWrapped(p,
                            QStringLiteral("Tutup kotaknya, dapat poin! Kotak yang tertutup jadi milikmu "
                                           "dan kamu jalan sekali lagi."),
                            words, QPointF(270, 72), 172, 15, ink);
  drawArrow(p, QPointF(232, next + 10), QPointF(262, next + 10), arrowBlue);
  next = drawWrapped(p, QStringLiteral("Klik di antara dua tiang untuk menarik garis."), words,
                     QPointF(270, next + 14), 172, 15, ink);
  drawWrapped(p, QStringLiteral("Kotak terbanyak jadi Raja Kubur!"), sans(12.5, QFont::Black),
              QPointF(232, next + 12), 210, 15, QColor(255, 205, 70));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::string(argv[2]) != "1" && std::string(argv[2]) != "2")) {
    std::fprintf(stderr, "usage: %s <output folder> <scale: 1 or 2>\n", argv[0]);
    return 2;
  }
  const int scale = argv[2][0] - '0';
  qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  const Shot shot = shootMainWindow(scale);
  QImage img(kWidth * scale, kHeight * scale, QImage::Format_RGB32);
  img.fill(Qt::black);
  paintHowTo(img, scale, shot);
  const QString name = scale == 2 ? QStringLiteral("howto@2x.png") : QStringLiteral("howto.png");
  return save(img, QString::fromLocal8Bit(argv[1]), name) ? 0 : 1;
}
