// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Paints the game's pictures and writes them as PNG files (the board as BMP)
// into the folder given on the command line. Every picture is painted twice
// from the same drawing code: once at its natural size (name.png) and once at
// double resolution (name@2x.png), so the high-density version is really drawn,
// not enlarged. Textures come from seeded noise, so a rerun reproduces the
// same files.
//
// Fonts are asked for by family name: "Lato" (Black) and "Liberation Sans".

#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>

#include "artwork_drawing.h"

namespace {

using namespace artwork;

// ------------------------------------------------------------------ board

// Layout of the main window background, in pixels of the 1x picture.
constexpr int kBoardW = 623, kBoardH = 559;
constexpr double kFieldL = 34, kFieldT = 35, kFieldR = 589, kFieldB = 494;
constexpr int kPostX0 = 47, kPostY0 = 42, kPostDX = 75, kPostDY = 63;

QColor marble(double x, double y) {
  // Broad soft veins bent by turbulence, a few fine dark cracks, and
  // cloudy patches in the body of the stone.
  double turb = fbm(x / 70.0, y / 70.0, 11u);
  double broad = 0.5 + 0.5 * std::sin(x * 0.030 + y * 0.022 + 9.0 * turb);
  double soft = std::pow(broad, 5.0);
  double fineTurb = fbm(x / 28.0, y / 28.0, 23u);
  double v2 = std::sin(x * -0.018 + y * 0.041 + 7.0 * fineTurb);
  double crack = std::pow(1.0 - std::fabs(v2), 26.0);
  double cloud = fbm(x / 20.0, y / 20.0, 5u);
  QColor base = mix(QColor(84, 76, 100), QColor(132, 124, 146), cloud * 1.4 - 0.2);
  base = mix(base, QColor(206, 200, 218), soft * 0.75);
  base = mix(base, QColor(40, 32, 50), crack * 0.55);
  return base;
}

QColor fieldStone(double x, double y) {
  double n = fbm(x / 38.0, y / 38.0, 101u);
  double fine = valueNoise(x / 1.7, y / 1.7, 202u);
  double mist = fbm(x / 140.0 + 0.3 * std::sin(y / 50.0), y / 45.0, 303u);
  double g = 146.0 + 26.0 * (n - 0.5) + 5.0 * (fine - 0.5);
  g += 22.0 * std::max(0.0, mist - 0.45);  // drifting mist lightens the stone
  // Darken gently towards the frame.
  double dx = std::min(x - kFieldL, kFieldR - x), dy = std::min(y - kFieldT, kFieldB - y);
  double edge = std::min(dx, dy);
  g -= 18.0 * std::exp(-edge / 6.0);
  return QColor(clamp255(g - 3), clamp255(g), clamp255(g + 4));
}

void drawCaption(QPainter& p, const QString& text, double right, double baseline, const QColor& fill) {
  QFont f = lato(21);
  QPainterPath path = textPathRightAligned(f, text, right, baseline);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0, 0, 0, 90), 4.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path.translated(1.0, 1.3));
  p.setPen(QPen(QColor(205, 18, 18), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path);
  p.setPen(Qt::NoPen);
  QRectF b = path.boundingRect();
  QLinearGradient g(b.topLeft(), b.bottomLeft());
  g.setColorAt(0.0, fill.lighter(135));
  g.setColorAt(1.0, fill);
  p.setBrush(g);
  p.drawPath(path);
}

// A blood-red heading: a soft shadow, a dark outline, then the red fill.
void drawRedHeading(QPainter& p, const QPainterPath& heading, const QColor& outline,
                    const QLinearGradient& fill) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0, 0, 0, 200), 5.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(heading.translated(1.5, 2.0));
  p.setPen(QPen(outline, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(heading);
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawPath(heading);
}

void paintBoard(QImage& img, double scale) {
  auto inField = [](double x, double y) {
    return x >= kFieldL && x < kFieldR && y >= kFieldT && y < kFieldB;
  };
  paintPixels(
      img, scale, [](double, double) { return true; },
      [&](double x, double y) { return inField(x, y) ? fieldStone(x, y) : marble(x, y); });

  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(scale, scale);

  // Bevels: the outer edge of the frame stands up, the field sits sunk in.
  p.setBrush(Qt::NoBrush);
  const QRectF outer(0, 0, kBoardW, kBoardH - 2);
  p.setPen(QPen(QColor(255, 255, 255, 110), 2.0));
  p.drawLine(QPointF(1, 1), QPointF(kBoardW - 1, 1));
  p.drawLine(QPointF(1, 1), QPointF(1, outer.bottom() - 1));
  p.setPen(QPen(QColor(0, 0, 0, 120), 2.0));
  p.drawLine(QPointF(1, outer.bottom() - 1), QPointF(kBoardW - 1, outer.bottom() - 1));
  p.drawLine(QPointF(kBoardW - 1, 1), QPointF(kBoardW - 1, outer.bottom() - 1));
  const QRectF field(kFieldL, kFieldT, kFieldR - kFieldL, kFieldB - kFieldT);
  p.setPen(QPen(QColor(20, 14, 26, 170), 2.0));
  p.drawLine(field.topLeft() + QPointF(-1, -1), field.topRight() + QPointF(1, -1));
  p.drawLine(field.topLeft() + QPointF(-1, -1), field.bottomLeft() + QPointF(-1, 1));
  p.setPen(QPen(QColor(255, 255, 255, 120), 2.0));
  p.drawLine(field.bottomLeft() + QPointF(-1, 1), field.bottomRight() + QPointF(1, 1));
  p.drawLine(field.topRight() + QPointF(1, -1), field.bottomRight() + QPointF(1, 1));

  // Light plaque for the turn and message line at the top left, long enough for the longest verdict
  // ("Pemenangnya adalah / Master Kubur is Daviz Edezo" ends near x = 337).
  drawPlaque(p, QRectF(11, 9, 338, 24), 6, QColor(226, 218, 196));

  // Top border: moon and bats.
  drawMoon(p, QPointF(470, 17), 11);
  drawBat(p, QPointF(380, 14), 16, QColor(28, 20, 34));
  drawBat(p, QPointF(520, 12), 18, QColor(28, 20, 34));
  drawBat(p, QPointF(548, 21), 12, QColor(28, 20, 34), false);
  drawGhost(p, QPointF(420, 5), 24, -12);

  // Cobweb in the top right corner, with its owner.
  drawCobweb(p, QPointF(kBoardW - 1, 1), 46, 90, 90, QColor(240, 240, 245, 170), 0.7);
  drawSpider(p, QPointF(599, 27), 9, QPointF(599, 3));
  // A smaller web in the bottom left corner of the field frame.
  drawCobweb(p, QPointF(1, 492), 30, -90, 90, QColor(240, 240, 245, 120), 0.6);

  // Side borders: a winking skull on the left, a tombstone on the right.
  drawSkull(p, QPointF(17, 258), 22, true);
  drawTombstone(p, QRectF(595, 246, 22, 30), QColor(150, 150, 158), QStringLiteral("RIP"));

  // Bottom strip: a little graveyard skyline along the field.
  const QColor silhouette(40, 32, 50);
  Rng rng(4242u);
  for (double x = 8; x < 612; x += rng.uniform(22, 34)) {
    if (x > 430 && x < 440) continue;
    double h = rng.uniform(8, 13);
    double w = h * 0.72;
    if (rng.uniform(0, 1) < 0.35)
      drawCross(p, QPointF(x, 511), h + 2, silhouette, rng.uniform(-8, 8));
    else {
      p.setPen(Qt::NoPen);
      p.setBrush(silhouette);
      p.save();
      p.translate(x, 511);
      p.rotate(rng.uniform(-6, 6));
      p.drawPath(tombstonePath(QRectF(-w / 2, -h, w, h)));
      p.restore();
    }
  }
  p.setPen(QPen(silhouette, 1.2));
  p.drawLine(QPointF(3, 511), QPointF(kBoardW - 3, 511));

  // Score plaques (the program writes the scores on them in black).
  drawPlaque(p, QRectF(132, 514, 102, 42), 7, QColor(232, 224, 204));
  drawPlaque(p, QRectF(332, 514, 102, 42), 7, QColor(232, 224, 204));

  // Captions of the two sides.
  drawCaption(p, QStringLiteral("Player 1"), 127, 545, QColor(25, 95, 245));
  drawCaption(p, QStringLiteral("Lawan"), 327, 545, QColor(70, 190, 60));
  drawSkull(p, QPointF(254, 534), 17, true);

  // Dark field behind the clock.
  const QRectF clock(440, 520, 170, 37);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 80));
  p.drawRoundedRect(clock.translated(1, 1.3), 9, 9);
  QLinearGradient cg(clock.topLeft(), clock.bottomLeft());
  cg.setColorAt(0.0, QColor(46, 36, 58));
  cg.setColorAt(1.0, QColor(18, 12, 26));
  p.setBrush(cg);
  p.setPen(QPen(QColor(200, 190, 210), 1.2));
  p.drawRoundedRect(clock, 9, 9);
  p.setPen(QPen(QColor(0, 0, 0, 160), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(clock.adjusted(2, 2, -2, -2), 7, 7);

  // Posts: red dots centred on the lattice points (a pixel's centre is at +0.5).
  // The line bars leave only 3.5 px free on the left of a post, so the dot,
  // outline included, stays within that radius.
  for (int j = 0; j < 8; ++j)
    for (int i = 0; i < 8; ++i) {
      QPointF c(kPostX0 + kPostDX * i + 0.5, kPostY0 + kPostDY * j + 0.5);
      QRadialGradient g(c, 3.5);
      g.setColorAt(0.0, QColor(255, 70, 55));
      g.setColorAt(0.6, QColor(220, 20, 20));
      g.setColorAt(1.0, QColor(150, 0, 0));
      p.setBrush(g);
      p.setPen(QPen(QColor(70, 0, 0), 0.8));
      p.drawEllipse(c, 3.1, 3.1);
    }
}

// ------------------------------------------------------------------ lines

struct BarColours {
  QColor light, top, bottom, dark;
};

const BarColours kBlueBar{QColor(140, 180, 255), QColor(50, 105, 235), QColor(22, 62, 185),
                          QColor(8, 24, 95)};
const BarColours kGreenBar{QColor(215, 255, 205), QColor(130, 235, 115), QColor(82, 196, 72),
                           QColor(28, 105, 30)};

// A bevelled bar filling the picture: light top and left edge, dark bottom and
// right edge, a soft gradient across the thickness in between.
void paintBar(QImage& img, double scale, bool horizontal, const BarColours& c) {
  QPainter p(&img);
  p.scale(scale, scale);
  const double w = img.width() / scale, h = img.height() / scale;
  QLinearGradient g(QPointF(0, 0), horizontal ? QPointF(0, h) : QPointF(w, 0));
  g.setColorAt(0.0, c.top);
  g.setColorAt(1.0, c.bottom);
  p.fillRect(QRectF(0, 0, w, h), g);
  // a faint shine along the bar
  QColor shine(255, 255, 255, 60);
  if (horizontal)
    p.fillRect(QRectF(2, 2, w - 4, 1), shine);
  else
    p.fillRect(QRectF(2, 2, 1, h - 4), shine);
  // the bevel
  p.fillRect(QRectF(0, 0, w, 1), c.light);
  p.fillRect(QRectF(0, 0, 1, h), c.light);
  p.fillRect(QRectF(0, h - 1, w, 1), c.dark);
  p.fillRect(QRectF(w - 1, 0, 1, h), c.dark);
}

// ------------------------------------------------------------------ discs

struct DiscColours {
  QColor shine, mid, rim, ink;
};

const DiscColours kBlueDisc{QColor(175, 215, 255), QColor(45, 110, 235), QColor(10, 35, 120),
                            QColor(8, 22, 70)};
const DiscColours kGreenDisc{QColor(215, 255, 200), QColor(95, 205, 80), QColor(25, 105, 30),
                             QColor(12, 60, 16)};

// A glossy orb with a little ghost face on a transparent ground.
void paintDisc(QImage& img, double scale, const DiscColours& c) {
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(scale, scale);
  const QPointF centre(26.5, 24.5);
  const double r = 21.5;
  // soft shadow
  QRadialGradient sh(centre + QPointF(1.2, 2.0), r + 1.5);
  sh.setColorAt(0.85, QColor(0, 0, 0, 90));
  sh.setColorAt(1.0, QColor(0, 0, 0, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(sh);
  p.drawEllipse(centre + QPointF(1.2, 2.0), r + 1.5, r + 1.5);
  // body
  QRadialGradient body(centre + QPointF(-7, -8), r * 1.55);
  body.setColorAt(0.0, c.shine);
  body.setColorAt(0.45, c.mid);
  body.setColorAt(1.0, c.rim);
  p.setBrush(body);
  p.setPen(QPen(c.ink, 1.0));
  p.drawEllipse(centre, r, r);
  // ghost face: hollow eyes and an astonished mouth
  p.setPen(Qt::NoPen);
  QColor ink = c.ink;
  ink.setAlpha(200);
  p.setBrush(ink);
  p.drawEllipse(QRectF(centre.x() - 9.5, centre.y() - 6, 6, 8));
  p.drawEllipse(QRectF(centre.x() + 3.5, centre.y() - 6, 6, 8));
  p.drawEllipse(QRectF(centre.x() - 2.6, centre.y() + 5, 5.2, 6.5));
  p.setBrush(QColor(255, 255, 255, 200));
  p.drawEllipse(QPointF(centre.x() - 5.6, centre.y() - 3.6), 1.2, 1.2);
  p.drawEllipse(QPointF(centre.x() + 7.4, centre.y() - 3.6), 1.2, 1.2);
  // specular highlight
  QRadialGradient hl(centre + QPointF(-8, -11), 9);
  hl.setColorAt(0.0, QColor(255, 255, 255, 210));
  hl.setColorAt(1.0, QColor(255, 255, 255, 0));
  p.setBrush(hl);
  p.drawEllipse(centre + QPointF(-8, -11), 9, 6);
}

// ------------------------------------------------------------------ icon

// The little board carved on the icon's and the logo's tombstone: three by three posts at `at` (the same
// on both axes), a won square, blue and green claimed lines.
void drawStoneLattice(QPainter& p, const std::array<double, 3>& at, double discRadius, double lineWidth,
                      double postRadius) {
  p.setBrush(QColor(70, 130, 245));
  p.drawEllipse(QPointF((at[0] + at[1]) / 2, (at[0] + at[1]) / 2), discRadius, discRadius);
  const auto line = [&](int x1, int y1, int x2, int y2) {
    p.drawLine(QPointF(at[x1], at[y1]), QPointF(at[x2], at[y2]));
  };
  p.setPen(QPen(QColor(25, 70, 215), lineWidth, Qt::SolidLine, Qt::FlatCap));
  line(0, 0, 1, 0);
  line(0, 0, 0, 1);
  line(0, 1, 1, 1);
  line(1, 1, 2, 1);
  p.setPen(QPen(QColor(50, 175, 40), lineWidth, Qt::SolidLine, Qt::FlatCap));
  line(1, 0, 1, 1);
  line(2, 1, 2, 2);
  line(0, 2, 1, 2);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(190, 10, 10));
  for (double y : at)
    for (double x : at) p.drawEllipse(QPointF(x, y), postRadius, postRadius);
}

void paintIcon(QImage& img, double scale) {
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(scale, scale);
  // night-purple roundel behind the stone
  QRadialGradient bg(QPointF(16, 14), 17);
  bg.setColorAt(0.0, QColor(80, 60, 120));
  bg.setColorAt(1.0, QColor(25, 16, 40));
  p.setPen(Qt::NoPen);
  p.setBrush(bg);
  p.drawEllipse(QRectF(0.5, 0.5, 31, 31));
  // tombstone
  QRectF stone(6, 3, 20, 25);
  QLinearGradient g(stone.topLeft(), stone.topRight());
  g.setColorAt(0.0, QColor(215, 215, 222));
  g.setColorAt(1.0, QColor(130, 130, 142));
  p.setBrush(g);
  p.setPen(QPen(QColor(35, 30, 45), 1.0));
  p.drawPath(tombstonePath(stone));
  // grass
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(50, 120, 50));
  p.drawRoundedRect(QRectF(3, 26.5, 26, 4), 2, 2);
  // the lattice on the stone: claimed lines and a won square
  // Posts on pixel edges: crisp 2 px lines.
  drawStoneLattice(p, {10, 16, 22}, 2.0, 2.0, 1.25);
}

// ------------------------------------------------------------------ winner

void paintWinner(QImage& img, double scale) {
  const double W = 262;
  const double horizon = 186;
  paintPixels(
      img, scale, [](double, double) { return true; },
      [&](double x, double y) {
        if (y < horizon) {
          double t = y / horizon;
          QColor sky = mix(QColor(48, 20, 70), QColor(14, 10, 30), t);
          double cloud = fbm(x / 60.0, y / 22.0, 77u);
          return mix(sky, QColor(70, 50, 95), std::max(0.0, cloud - 0.55) * 1.1);
        }
        double n = fbm(x / 30.0, y / 12.0, 88u);
        double g = 12.0 + 6.0 * (n - 0.5);
        return QColor(clamp255(g), clamp255(g - 2), clamp255(g + 6));
      });
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(scale, scale);

  // stars
  Rng rng(9001u);
  p.setPen(Qt::NoPen);
  for (int k = 0; k < 45; ++k) {
    QPointF s(rng.uniform(3, W - 3), rng.uniform(3, 150));
    double r = rng.uniform(0.35, 0.9);
    p.setBrush(QColor(255, 250, 230, static_cast<int>(rng.uniform(110, 230))));
    p.drawEllipse(s, r, r);
  }
  drawMoon(p, QPointF(212, 128), 20);
  drawBat(p, QPointF(178, 116), 16, QColor(10, 6, 14));
  drawBat(p, QPointF(236, 100), 11, QColor(10, 6, 14));
  drawBat(p, QPointF(40, 112), 13, QColor(10, 6, 14));

  // hill and tombstone silhouettes
  QPainterPath hill;
  hill.moveTo(0, 172);
  hill.cubicTo(60, 158, 95, 168, 131, 163);
  hill.cubicTo(170, 158, 215, 170, W, 160);
  hill.lineTo(W, horizon + 2);
  hill.lineTo(0, horizon + 2);
  hill.closeSubpath();
  p.setBrush(QColor(16, 12, 22));
  p.drawPath(hill);

  // crooked tree on the left
  p.setPen(QPen(QColor(16, 12, 22), 4.0, Qt::SolidLine, Qt::RoundCap));
  QPainterPath trunk;
  trunk.moveTo(22, 172);
  trunk.cubicTo(26, 150, 14, 140, 24, 118);
  p.drawPath(trunk);
  p.setPen(QPen(QColor(16, 12, 22), 2.0, Qt::SolidLine, Qt::RoundCap));
  QPainterPath branches;
  branches.moveTo(24, 130);
  branches.cubicTo(34, 124, 40, 128, 52, 118);
  branches.moveTo(21, 140);
  branches.cubicTo(12, 134, 8, 128, 4, 122);
  branches.moveTo(24, 118);
  branches.cubicTo(22, 110, 28, 106, 26, 100);
  branches.moveTo(44, 123);
  branches.lineTo(48, 114);
  p.drawPath(branches);

  drawTombstone(p, QRectF(60, 150, 17, 22), QColor(70, 66, 82), QStringLiteral("RIP"), -7);
  drawTombstone(p, QRectF(186, 150, 16, 21), QColor(70, 66, 82), {}, 6);
  drawCross(p, QPointF(226, 166), 20, QColor(60, 56, 72), -9);
  drawCross(p, QPointF(86, 168), 14, QColor(60, 56, 72), 5);

  // the King of the Grave: a crowned skull, winking, on a tombstone throne
  drawTombstone(p, QRectF(111, 140, 40, 40), QColor(105, 100, 118));
  drawSkull(p, QPointF(131, 138), 34, true);
  drawCrown(p, QPointF(131, 122), 26);

  // thin fog along the horizon
  for (int k = 0; k < 5; ++k) {
    double x = rng.uniform(-20, W);
    QRadialGradient fog(QPointF(x + 30, horizon - 2), 40);
    fog.setColorAt(0.0, QColor(150, 140, 175, 55));
    fog.setColorAt(1.0, QColor(150, 140, 175, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(fog);
    p.save();
    p.translate(x + 30, horizon - 2);
    p.scale(1.0, 0.22);
    p.drawEllipse(QPointF(0, 0), 40, 40);
    p.restore();
  }

  // the heading
  QFont f = lato(46);
  QPainterPath line1 = textPathCentred(f, QStringLiteral("JUARA"), W / 2, 48);
  QPainterPath line2 = textPathCentred(f, QStringLiteral("KUBUR !!"), W / 2, 96);
  Rng dripRng(31337u);
  addDrips(line1, dripRng, 4, 5);
  addDrips(line2, dripRng, 7, 12);
  QLinearGradient red(QPointF(0, 8), QPointF(0, 108));
  red.setColorAt(0.0, QColor(255, 70, 50));
  red.setColorAt(0.45, QColor(225, 16, 16));
  red.setColorAt(0.5, QColor(255, 60, 45));
  red.setColorAt(1.0, QColor(160, 0, 0));
  drawRedHeading(p, line1.united(line2), QColor(40, 0, 0), red);
}

// ------------------------------------------------------------------ about

constexpr double kAboutW = 393, kAboutH = 340;

// The game's logo: a tombstone with a won square of the lattice carved into it, standing in grass.
void drawLogo(QPainter& p, QRectF r) {
  const double u = r.width() / 32.0;  // the icon's design, drawn larger and with more care
  p.save();
  p.translate(r.topLeft());
  p.scale(u, u);
  QRadialGradient bg(QPointF(16, 14), 17);
  bg.setColorAt(0.0, QColor(92, 72, 140));
  bg.setColorAt(1.0, QColor(25, 16, 40));
  p.setPen(QPen(QColor(200, 180, 240, 150), 0.4));
  p.setBrush(bg);
  p.drawEllipse(QRectF(0.5, 0.5, 31, 31));
  const QRectF stone(7, 3.5, 18, 23.5);
  QLinearGradient g(stone.topLeft(), stone.topRight());
  g.setColorAt(0.0, QColor(225, 225, 232));
  g.setColorAt(0.6, QColor(175, 175, 186));
  g.setColorAt(1.0, QColor(120, 120, 132));
  p.setBrush(g);
  p.setPen(QPen(QColor(35, 30, 45), 0.6));
  p.drawPath(tombstonePath(stone));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(50, 120, 50));
  p.drawRoundedRect(QRectF(3.5, 26, 25, 3.4), 1.6, 1.6);
  p.setBrush(QColor(80, 160, 70));
  for (double x = 5; x < 28; x += 1.7)
    p.drawPolygon(QPolygonF({QPointF(x - 0.5, 26.4), QPointF(x + 0.2, 24.6), QPointF(x + 0.6, 26.4)}));
  drawStoneLattice(p, {10.5, 16, 21.5}, 1.8, 1.3, 0.95);
  p.restore();
}

// The photograph at the right: a crooked tree under the full moon, and a ghost come out for a look.
void paintTreeScene(QPainter& p, QRectF r) {
  p.save();
  p.setClipRect(r);
  QLinearGradient sky(r.topLeft(), r.bottomLeft());
  sky.setColorAt(0.0, QColor(22, 30, 70));
  sky.setColorAt(0.55, QColor(60, 58, 110));
  sky.setColorAt(1.0, QColor(30, 26, 52));
  p.fillRect(r, sky);
  Rng rng(777u);
  p.setPen(Qt::NoPen);
  for (int k = 0; k < 30; ++k) {
    const QPointF star(rng.uniform(r.left() + 3, r.right() - 3), rng.uniform(r.top() + 3, r.top() + 110));
    const double size = rng.uniform(0.3, 0.8);
    p.setBrush(QColor(255, 250, 225, static_cast<int>(rng.uniform(100, 220))));
    p.drawEllipse(star, size, size);
  }
  drawMoon(p, r.topLeft() + QPointF(100, 52), 27);
  drawBat(p, r.topLeft() + QPointF(42, 40), 15, QColor(12, 8, 18));
  drawBat(p, r.topLeft() + QPointF(128, 100), 10, QColor(12, 8, 18));

  const QColor bark(14, 10, 18);
  QPainterPath ground;
  ground.moveTo(r.left(), r.bottom() - 34);
  ground.cubicTo(r.left() + 50, r.bottom() - 48, r.left() + 100, r.bottom() - 30, r.right(), r.bottom() - 40);
  ground.lineTo(r.right(), r.bottom());
  ground.lineTo(r.left(), r.bottom());
  ground.closeSubpath();

  // The tree: a leaning trunk that forks into bare, twisting branches.
  const QPointF foot = r.topLeft() + QPointF(46, r.height() - 40);
  QPainterPath trunk;
  trunk.moveTo(foot + QPointF(-9, 4));
  trunk.cubicTo(foot + QPointF(-4, -30), foot + QPointF(-16, -58), foot + QPointF(-4, -92));
  trunk.lineTo(foot + QPointF(3, -90));
  trunk.cubicTo(foot + QPointF(-6, -58), foot + QPointF(8, -30), foot + QPointF(9, 4));
  trunk.closeSubpath();
  p.setBrush(bark);
  p.drawPath(trunk);
  struct Branch {
    QPointF from, c1, c2, to;
    double width;
  };
  const Branch branches[] = {
      {{-2, -88}, {10, -110}, {30, -104}, {48, -128}, 3.2},
      {{-3, -86}, {-16, -104}, {-30, -100}, {-38, -124}, 3.0},
      {{-8, -56}, {-22, -62}, {-30, -56}, {-42, -70}, 2.4},
      {{-2, -70}, {18, -74}, {30, -66}, {52, -80}, 2.4},
      {{30, -110}, {38, -112}, {42, -118}, {58, -112}, 1.4},
      {{-26, -104}, {-32, -112}, {-30, -120}, {-22, -132}, 1.4},
      {{22, -72}, {28, -84}, {34, -86}, {38, -96}, 1.3},
      {{-30, -58}, {-34, -48}, {-42, -46}, {-46, -40}, 1.2},
      {{-3, -92}, {-2, -104}, {4, -112}, {2, -126}, 1.8},
  };
  for (const Branch& b : branches) {
    p.setPen(QPen(bark, b.width, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(foot + b.from);
    path.cubicTo(foot + b.c1, foot + b.c2, foot + b.to);
    p.drawPath(path);
  }
  // A rope swing with nobody on it.
  p.setPen(QPen(QColor(120, 100, 80), 0.7));
  p.drawLine(foot + QPointF(30, -68), foot + QPointF(30, -30));
  p.drawLine(foot + QPointF(40, -74), foot + QPointF(40, -30));
  p.setPen(QPen(QColor(90, 70, 50), 2.0));
  p.drawLine(foot + QPointF(27, -30), foot + QPointF(43, -30));

  p.setPen(Qt::NoPen);
  p.setBrush(QColor(12, 10, 16));
  p.drawPath(ground);
  drawTombstone(p, QRectF(r.left() + 96, r.bottom() - 58, 18, 24), QColor(90, 86, 102), QStringLiteral("RIP"),
                8);
  drawCross(p, QPointF(r.left() + 130, r.bottom() - 36), 20, QColor(70, 66, 84), -6);
  drawGhost(p, r.topLeft() + QPointF(104, 112), 40, -8);

  // Mist over the graves.
  for (int k = 0; k < 4; ++k) {
    const double x = rng.uniform(r.left(), r.right());
    QRadialGradient fog(QPointF(x, r.bottom() - 30), 36);
    fog.setColorAt(0.0, QColor(170, 160, 200, 60));
    fog.setColorAt(1.0, QColor(170, 160, 200, 0));
    p.setBrush(fog);
    p.save();
    p.translate(x, r.bottom() - 30);
    p.scale(1.0, 0.25);
    p.drawEllipse(QPointF(0, 0), 36, 36);
    p.restore();
  }
  p.restore();
}

void paintAbout(QImage& img, double scale) {
  // Dark blue ground with a faint cloudy texture.
  paintPixels(
      img, scale, [](double, double) { return true; },
      [](double x, double y) {
        const QColor deep = mix(QColor(16, 28, 78), QColor(6, 10, 36), y / kAboutH);
        const double cloud = fbm(x / 55.0, y / 40.0, 909u);
        return mix(deep, QColor(40, 56, 120), std::max(0.0, cloud - 0.5) * 0.9);
      });
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(scale, scale);

  // The title in red, and the version beside it.
  const QPainterPath title = textPathRightAligned(lato(54), QStringLiteral("Nokturna"), 272, 66);
  QPainterPath version;
  version.addText(QPointF(282, 66), lato(30), QStringLiteral("1.0"));
  QLinearGradient red(QPointF(0, 18), QPointF(0, 80));
  red.setColorAt(0.0, QColor(255, 75, 55));
  red.setColorAt(0.5, QColor(228, 18, 18));
  red.setColorAt(1.0, QColor(160, 0, 0));
  drawRedHeading(p, title.united(version), QColor(50, 0, 0), red);

  // A thin rule under the title, with a bat on it.
  p.setPen(QPen(QColor(150, 160, 210, 150), 1.0));
  p.drawLine(QPointF(18, 92), QPointF(375, 92));
  drawBat(p, QPointF(345, 30), 24, QColor(8, 8, 20));

  // Credits.
  const QColor label(255, 205, 70), name(232, 236, 250);
  struct Credit {
    const char* role;
    const char* who;
  };
  const Credit credits[] = {
      {"Dibuat oleh", "Tim Nokturna"},
      {"Musik", "Orkes Kuburan"},
      {"Gambar", "Bengkel Hantu"},
      {"Lawan tanding", "Daviz Edezo"},
  };
  double y = 118;
  for (const Credit& c : credits) {
    QPainterPath role;
    role.addText(QPointF(20, y), sans(11.5), QString::fromUtf8(c.role));
    QPainterPath who;
    who.addText(QPointF(20, y + 17), sans(15), QString::fromUtf8(c.who));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawPath(role.translated(0.8, 1.0));
    p.drawPath(who.translated(0.8, 1.0));
    p.setBrush(label);
    p.drawPath(role);
    p.setBrush(name);
    p.drawPath(who);
    y += 40;
  }

  // The logo at the bottom left, with the game's name beside it.
  drawLogo(p, QRectF(16, 272, 56, 56));
  QPainterPath brand;
  brand.addText(QPointF(80, 299), lato(17), QStringLiteral("NOKTURNA"));
  QPainterPath motto;
  motto.addText(QPointF(80, 316), sans(10, QFont::Normal), QStringLiteral("hiburan dari alam sebelah"));
  p.setBrush(QColor(210, 215, 240));
  p.drawPath(brand);
  p.setBrush(QColor(160, 170, 210));
  p.drawPath(motto);

  // The photograph at the right, pinned slightly askew in a white border.
  const QRectF photo(236, 104, 140, 196);
  p.save();
  p.translate(photo.center());
  p.rotate(3.0);
  p.translate(-photo.center());
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 130));
  p.drawRect(photo.adjusted(-4, -4, 8, 9));
  p.setBrush(QColor(240, 236, 226));
  p.drawRect(photo.adjusted(-6, -6, 6, 6));
  paintTreeScene(p, photo);
  p.setPen(QPen(QColor(60, 56, 52), 0.6));
  p.setBrush(Qt::NoBrush);
  p.drawRect(photo);
  // a red drawing pin in the top
  QRadialGradient pin(photo.center().x() - 1.5, photo.top() - 2, 5);
  pin.setColorAt(0.0, QColor(255, 140, 130));
  pin.setColorAt(1.0, QColor(170, 10, 10));
  p.setPen(QPen(QColor(80, 0, 0), 0.6));
  p.setBrush(pin);
  p.drawEllipse(QPointF(photo.center().x(), photo.top() - 1), 4.2, 4.2);
  p.restore();
}

// ------------------------------------------------------------------ output

struct Picture {
  const char* name;
  int width, height;
  bool transparent;
  std::function<void(QImage&, double)> paint;
  // The board is the one large picture on the way to the window's first paint: it is kept as an
  // uncompressed BMP, which the resource compiler packs, because a PNG that size takes the better part of
  // ten milliseconds to unpack.
  const char* suffix = ".png";
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s <output folder> [<desktop icon folder>]\n", argv[0]);
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);

  const Picture pictures[] = {
      {"board", kBoardW, kBoardH, false, paintBoard, ".bmp"},
      {"line_blue_h", 67, 8, false, [](QImage& i, double s) { paintBar(i, s, true, kBlueBar); }},
      {"line_blue_v", 8, 55, false, [](QImage& i, double s) { paintBar(i, s, false, kBlueBar); }},
      {"line_green_h", 67, 8, false, [](QImage& i, double s) { paintBar(i, s, true, kGreenBar); }},
      {"line_green_v", 8, 55, false, [](QImage& i, double s) { paintBar(i, s, false, kGreenBar); }},
      {"disc_blue", 53, 49, true, [](QImage& i, double s) { paintDisc(i, s, kBlueDisc); }},
      {"disc_green", 53, 49, true, [](QImage& i, double s) { paintDisc(i, s, kGreenDisc); }},
      {"winner", 262, 251, false, paintWinner},
      {"icon", 32, 32, true, paintIcon},
      {"about", 393, 340, false, paintAbout},
  };
  for (const Picture& pic : pictures) {
    for (int scale : {1, 2}) {
      QImage img(pic.width * scale, pic.height * scale,
                 pic.transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
      img.fill(pic.transparent ? QColor(Qt::transparent) : QColor(Qt::black));
      pic.paint(img, scale);
      QImage out = img.convertToFormat(pic.transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
      const QString name = QString::fromLatin1(pic.name) + (scale == 2 ? QStringLiteral("@2x") : QString()) +
                           QString::fromLatin1(pic.suffix);
      if (!save(out, dir, name)) return 1;
    }
  }

  // The larger icons for the desktop's icon theme (the 32 and 64 px ones are icon.png and icon@2x.png),
  // painted at their size like every other picture.
  if (argc == 3) {
    const QString iconDir = QString::fromLocal8Bit(argv[2]);
    for (int size : {128, 256}) {
      QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
      paintIcon(img, size / 32.0);
      if (!save(img.convertToFormat(QImage::Format_ARGB32), iconDir,
                QStringLiteral("nokturna_%1.png").arg(size)))
        return 1;
    }
  }
  return 0;
}
