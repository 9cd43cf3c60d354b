// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "artwork_drawing.h"

#include <QFontInfo>
#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace artwork {

// ------------------------------------------------------------------ noise

double hash01(int x, int y, std::uint32_t seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                    seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / 16777216.0;
}

double smooth(double t) { return t * t * (3.0 - 2.0 * t); }

double valueNoise(double x, double y, std::uint32_t seed) {
  int xi = static_cast<int>(std::floor(x));
  int yi = static_cast<int>(std::floor(y));
  double fx = smooth(x - xi), fy = smooth(y - yi);
  double a = hash01(xi, yi, seed), b = hash01(xi + 1, yi, seed);
  double c = hash01(xi, yi + 1, seed), d = hash01(xi + 1, yi + 1, seed);
  return (a + (b - a) * fx) * (1.0 - fy) + (c + (d - c) * fx) * fy;
}

double fbm(double x, double y, std::uint32_t seed, int octaves) {
  double sum = 0.0, amp = 0.5, norm = 0.0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * valueNoise(x, y, seed + 17u * o);
    norm += amp;
    x *= 2.03;
    y *= 2.03;
    amp *= 0.5;
  }
  return sum / norm;
}

int clamp255(double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); }

QColor mix(const QColor& a, const QColor& b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return QColor(clamp255(a.red() + (b.red() - a.red()) * t),
                clamp255(a.green() + (b.green() - a.green()) * t),
                clamp255(a.blue() + (b.blue() - a.blue()) * t));
}

void paintPixels(QImage& img, double scale, const std::function<bool(double, double)>& inside,
                 const std::function<QColor(double, double)>& shade) {
  for (int py = 0; py < img.height(); ++py) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(py));
    for (int px = 0; px < img.width(); ++px) {
      double x = (px + 0.5) / scale, y = (py + 0.5) / scale;
      if (!inside(x, y)) continue;
      line[px] = shade(x, y).rgb();
    }
  }
}

// ------------------------------------------------------------------ fonts

QFont font(const char* family, int weight, double pixelSize) {
  QFont f(QString::fromLatin1(family));
  f.setWeight(static_cast<QFont::Weight>(weight));
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
  f.setStyleStrategy(QFont::PreferAntialias);
  f.setHintingPreference(QFont::PreferNoHinting);
  QFontInfo info(f);
  if (info.family() != QString::fromLatin1(family)) {
    std::fprintf(stderr, "font family %s is not installed (got %s)\n", family, qPrintable(info.family()));
    std::exit(1);
  }
  return f;
}

QFont lato(double pixelSize) { return font("Lato", QFont::Black, pixelSize); }
QFont sans(double pixelSize, int weight) { return font("Liberation Sans", weight, pixelSize); }

QPainterPath textPathCentred(const QFont& f, const QString& text, double centreX, double baseline) {
  QPainterPath path;
  path.addText(QPointF(0, 0), f, text);
  QRectF r = path.boundingRect();
  path.translate(centreX - r.center().x(), baseline);
  return path;
}

QPainterPath textPathRightAligned(const QFont& f, const QString& text, double right, double baseline) {
  QPainterPath path;
  path.addText(QPointF(0, 0), f, text);
  QRectF r = path.boundingRect();
  path.translate(right - r.right(), baseline);
  return path;
}

// ------------------------------------------------------------------ motifs

QPainterPath batPath(QPointF c, double span) {
  const double s = span / 2.0;
  QPainterPath p;
  p.moveTo(c + QPointF(0, -0.10 * s));
  // right wing: upper edge out to the tip, then three scallops back
  p.quadTo(c + QPointF(0.45 * s, -0.45 * s), c + QPointF(1.0 * s, -0.22 * s));
  p.quadTo(c + QPointF(0.85 * s, -0.02 * s), c + QPointF(0.78 * s, 0.12 * s));
  p.quadTo(c + QPointF(0.62 * s, 0.0 * s), c + QPointF(0.48 * s, 0.12 * s));
  p.quadTo(c + QPointF(0.34 * s, 0.0 * s), c + QPointF(0.18 * s, 0.18 * s));
  p.quadTo(c + QPointF(0.08 * s, 0.12 * s), c + QPointF(0, 0.28 * s));
  // left wing, mirrored
  p.quadTo(c + QPointF(-0.08 * s, 0.12 * s), c + QPointF(-0.18 * s, 0.18 * s));
  p.quadTo(c + QPointF(-0.34 * s, 0.0 * s), c + QPointF(-0.48 * s, 0.12 * s));
  p.quadTo(c + QPointF(-0.62 * s, 0.0 * s), c + QPointF(-0.78 * s, 0.12 * s));
  p.quadTo(c + QPointF(-0.85 * s, -0.02 * s), c + QPointF(-1.0 * s, -0.22 * s));
  p.quadTo(c + QPointF(-0.45 * s, -0.45 * s), c + QPointF(0, -0.10 * s));
  p.closeSubpath();
  // head with ears
  QPainterPath head;
  head.moveTo(c + QPointF(-0.10 * s, -0.05 * s));
  head.lineTo(c + QPointF(-0.11 * s, -0.30 * s));
  head.lineTo(c + QPointF(-0.04 * s, -0.17 * s));
  head.lineTo(c + QPointF(0.04 * s, -0.17 * s));
  head.lineTo(c + QPointF(0.11 * s, -0.30 * s));
  head.lineTo(c + QPointF(0.10 * s, -0.05 * s));
  head.quadTo(c + QPointF(0, 0.12 * s), c + QPointF(-0.10 * s, -0.05 * s));
  return p.united(head);
}

void drawBat(QPainter& p, QPointF c, double span, const QColor& body, bool eyes) {
  p.setPen(Qt::NoPen);
  p.setBrush(body);
  p.drawPath(batPath(c, span));
  if (eyes) {
    const double s = span / 2.0;
    p.setBrush(QColor(255, 210, 60));
    p.drawEllipse(c + QPointF(-0.045 * s, -0.13 * s), 0.028 * s + 0.25, 0.028 * s + 0.25);
    p.drawEllipse(c + QPointF(0.045 * s, -0.13 * s), 0.028 * s + 0.25, 0.028 * s + 0.25);
  }
}

QPainterPath tombstonePath(QRectF r) {
  QPainterPath p;
  const double w = r.width();
  p.moveTo(r.left(), r.bottom());
  p.lineTo(r.left(), r.top() + w / 2.0);
  p.arcTo(QRectF(r.left(), r.top(), w, w), 180.0, -180.0);
  p.lineTo(r.right(), r.bottom());
  p.closeSubpath();
  return p;
}

void drawTombstone(QPainter& p, QRectF r, const QColor& stone, const QString& engraving, double tilt) {
  p.save();
  p.translate(r.center().x(), r.bottom());
  p.rotate(tilt);
  p.translate(-r.center().x(), -r.bottom());
  QPainterPath path = tombstonePath(r);
  QLinearGradient g(r.topLeft(), r.topRight());
  g.setColorAt(0.0, stone.lighter(125));
  g.setColorAt(0.6, stone);
  g.setColorAt(1.0, stone.darker(150));
  p.setBrush(g);
  p.setPen(QPen(stone.darker(260), std::max(0.6, r.width() / 28.0)));
  p.drawPath(path);
  if (!engraving.isEmpty()) {
    QFont f = sans(r.width() * 0.30);
    QPainterPath t = textPathCentred(f, engraving, r.center().x(), r.top() + r.width() * 0.62);
    p.setPen(Qt::NoPen);
    p.setBrush(stone.darker(220));
    p.drawPath(t);
  }
  p.restore();
}

void drawCross(QPainter& p, QPointF base, double h, const QColor& c, double tilt) {
  p.save();
  p.translate(base);
  p.rotate(tilt);
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  const double w = h * 0.16;
  p.drawRect(QRectF(-w / 2, -h, w, h));
  p.drawRect(QRectF(-h * 0.34, -h * 0.78, h * 0.68, w));
  p.restore();
}

void drawSkull(QPainter& p, QPointF c, double size, bool wink, const QColor& bone) {
  const double s = size;
  const QColor ink(45, 30, 30);
  p.save();
  QPainterPath head;
  head.addEllipse(QRectF(c.x() - s / 2, c.y() - s * 0.55, s, s * 0.86));
  QPainterPath jaw;
  jaw.addRoundedRect(QRectF(c.x() - s * 0.30, c.y() + 0.05 * s, s * 0.60, s * 0.36), s * 0.12, s * 0.12);
  QPainterPath skull = head.united(jaw);
  QRadialGradient g(c + QPointF(-0.18 * s, -0.25 * s), s * 0.9);
  g.setColorAt(0.0, bone.lighter(112));
  g.setColorAt(0.6, bone);
  g.setColorAt(1.0, bone.darker(150));
  p.setBrush(g);
  p.setPen(QPen(ink, std::max(0.5, s * 0.045)));
  p.drawPath(skull);
  // eye sockets
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  p.drawEllipse(QRectF(c.x() - s * 0.34, c.y() - s * 0.18, s * 0.26, s * 0.24));
  if (wink) {
    QPen pen(ink, std::max(0.7, s * 0.07), Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(c + QPointF(s * 0.08, -s * 0.04));
    arc.quadTo(c + QPointF(s * 0.21, -s * 0.17), c + QPointF(s * 0.34, -s * 0.04));
    p.drawPath(arc);
    p.setPen(Qt::NoPen);
  } else {
    p.drawEllipse(QRectF(c.x() + s * 0.08, c.y() - s * 0.18, s * 0.26, s * 0.24));
  }
  // nose
  QPainterPath nose;
  nose.moveTo(c + QPointF(0, s * 0.05));
  nose.lineTo(c + QPointF(-s * 0.07, s * 0.17));
  nose.lineTo(c + QPointF(s * 0.07, s * 0.17));
  nose.closeSubpath();
  p.setBrush(ink);
  p.drawPath(nose);
  // grin and teeth
  QPen teeth(ink, std::max(0.45, s * 0.035));
  p.setPen(teeth);
  p.setBrush(Qt::NoBrush);
  QPainterPath grin;
  grin.moveTo(c + QPointF(-s * 0.22, s * 0.25));
  grin.quadTo(c + QPointF(0, s * 0.34), c + QPointF(s * 0.22, s * 0.25));
  p.drawPath(grin);
  for (int k = -2; k <= 2; ++k) {
    double x = c.x() + k * s * 0.085;
    p.drawLine(QPointF(x, c.y() + s * 0.23), QPointF(x, c.y() + s * 0.37));
  }
  p.restore();
}

void drawCrown(QPainter& p, QPointF baseCentre, double width) {
  const double w = width, h = width * 0.55;
  QPainterPath crown;
  const double l = baseCentre.x() - w / 2, b = baseCentre.y();
  crown.moveTo(l, b);
  crown.lineTo(l - w * 0.04, b - h);
  crown.lineTo(l + w * 0.25, b - h * 0.45);
  crown.lineTo(l + w * 0.5, b - h * 1.15);
  crown.lineTo(l + w * 0.75, b - h * 0.45);
  crown.lineTo(l + w * 1.04, b - h);
  crown.lineTo(l + w, b);
  crown.closeSubpath();
  QLinearGradient g(QPointF(l, b - h), QPointF(l, b));
  g.setColorAt(0.0, QColor(255, 236, 120));
  g.setColorAt(1.0, QColor(200, 140, 20));
  p.setBrush(g);
  p.setPen(QPen(QColor(90, 55, 0), std::max(0.5, w * 0.03)));
  p.drawPath(crown);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(220, 30, 40));
  p.drawEllipse(QPointF(baseCentre.x(), b - h * 0.35), w * 0.07, w * 0.07);
  p.setBrush(QColor(60, 140, 255));
  p.drawEllipse(QPointF(l + w * 0.22, b - h * 0.2), w * 0.05, w * 0.05);
  p.drawEllipse(QPointF(l + w * 0.78, b - h * 0.2), w * 0.05, w * 0.05);
  p.setBrush(QColor(255, 250, 200));
  for (double fx : {-0.04, 0.5, 1.04})
    p.drawEllipse(QPointF(l + w * fx, b - h * (fx == 0.5 ? 1.15 : 1.0)), w * 0.05, w * 0.05);
}

void drawCobweb(QPainter& p, QPointF corner, double radius, double startDeg, double spanDeg,
                const QColor& silk, double width) {
  const int spokes = 6;
  std::vector<QPointF> dirs;
  for (int k = 0; k < spokes; ++k) {
    double a = (startDeg + spanDeg * k / (spokes - 1)) * kPi / 180.0;
    dirs.emplace_back(std::cos(a), std::sin(a));
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(silk, width, Qt::SolidLine, Qt::RoundCap));
  for (const QPointF& d : dirs) p.drawLine(corner, corner + d * radius);
  for (int ring = 1; ring <= 4; ++ring) {
    double r = radius * ring / 4.6;
    QPainterPath path;
    path.moveTo(corner + dirs[0] * r);
    for (int k = 1; k < spokes; ++k) {
      QPointF a = corner + dirs[k - 1] * r, b = corner + dirs[k] * r;
      QPointF mid = (a + b) / 2.0;
      QPointF sag = corner + (mid - corner) * 0.86;  // threads sag towards the centre
      path.quadTo(sag, b);
    }
    p.drawPath(path);
  }
}

void drawSpider(QPainter& p, QPointF c, double size, QPointF hangFrom) {
  p.setPen(QPen(QColor(230, 230, 235, 170), size * 0.06));
  p.drawLine(hangFrom, c);
  p.setPen(QPen(QColor(20, 16, 20), size * 0.09, Qt::SolidLine, Qt::RoundCap));
  for (int side : {-1, 1})
    for (int k = 0; k < 4; ++k) {
      double y = c.y() - size * 0.15 + k * size * 0.12;
      QPainterPath leg;
      leg.moveTo(c.x(), y);
      leg.quadTo(c.x() + side * size * 0.45, y - size * 0.3, c.x() + side * size * 0.6, y + size * 0.2);
      p.drawPath(leg);
    }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(20, 16, 20));
  p.drawEllipse(c + QPointF(0, size * 0.08), size * 0.26, size * 0.30);
  p.drawEllipse(c + QPointF(0, -size * 0.22), size * 0.16, size * 0.15);
  p.setBrush(QColor(255, 60, 60));
  p.drawEllipse(c + QPointF(-size * 0.06, -size * 0.24), size * 0.045, size * 0.045);
  p.drawEllipse(c + QPointF(size * 0.06, -size * 0.24), size * 0.045, size * 0.045);
}

void drawGhost(QPainter& p, QPointF top, double h, double lean) {
  const double w = h * 0.72;
  p.save();
  p.translate(top);
  p.rotate(lean);
  QPainterPath g;
  g.moveTo(-w / 2, h * 0.45);
  g.arcTo(QRectF(-w / 2, 0, w, w), 180, -180);
  g.lineTo(w / 2, h * 0.86);
  // wavy hem
  const int waves = 3;
  for (int k = 0; k < waves; ++k) {
    double x0 = w / 2 - w * k / waves, x1 = w / 2 - w * (k + 1) / waves;
    g.quadTo((x0 + x1) / 2, h * (k % 2 ? 0.80 : 1.08), x1, h * 0.86);
  }
  g.closeSubpath();
  QLinearGradient fill(QPointF(0, 0), QPointF(0, h));
  fill.setColorAt(0.0, QColor(250, 250, 255, 235));
  fill.setColorAt(1.0, QColor(215, 220, 240, 150));
  p.setBrush(fill);
  p.setPen(QPen(QColor(60, 50, 80, 160), std::max(0.4, h * 0.03)));
  p.drawPath(g);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 24, 40));
  p.drawEllipse(QPointF(-w * 0.16, h * 0.30), w * 0.08, w * 0.11);
  p.drawEllipse(QPointF(w * 0.16, h * 0.30), w * 0.08, w * 0.11);
  p.drawEllipse(QPointF(0, h * 0.50), w * 0.07, w * 0.10);
  p.setBrush(QColor(255, 140, 160, 110));
  p.drawEllipse(QPointF(-w * 0.30, h * 0.42), w * 0.07, w * 0.05);
  p.drawEllipse(QPointF(w * 0.30, h * 0.42), w * 0.07, w * 0.05);
  p.restore();
}

void drawMoon(QPainter& p, QPointF c, double r) {
  QRadialGradient glow(c, r * 2.2);
  glow.setColorAt(0.0, QColor(255, 250, 210, 120));
  glow.setColorAt(0.45, QColor(230, 235, 200, 50));
  glow.setColorAt(1.0, QColor(200, 210, 200, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawEllipse(c, r * 2.2, r * 2.2);
  QRadialGradient body(c + QPointF(-r * 0.3, -r * 0.3), r * 1.3);
  body.setColorAt(0.0, QColor(255, 252, 225));
  body.setColorAt(1.0, QColor(222, 214, 160));
  p.setBrush(body);
  p.drawEllipse(c, r, r);
  p.setBrush(QColor(185, 175, 125, 120));
  p.drawEllipse(c + QPointF(r * 0.30, -r * 0.25), r * 0.22, r * 0.20);
  p.drawEllipse(c + QPointF(-r * 0.35, r * 0.30), r * 0.16, r * 0.15);
  p.drawEllipse(c + QPointF(r * 0.15, r * 0.45), r * 0.10, r * 0.10);
  p.drawEllipse(c + QPointF(-r * 0.15, -r * 0.45), r * 0.09, r * 0.08);
}

void drawPlaque(QPainter& p, QRectF r, double radius, const QColor& face) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 70));
  p.drawRoundedRect(r.translated(1.0, 1.2), radius, radius);
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0.0, face.lighter(108));
  g.setColorAt(1.0, face.darker(106));
  p.setBrush(g);
  p.setPen(QPen(face.darker(170), 1.0));
  p.drawRoundedRect(r, radius, radius);
  p.setPen(QPen(QColor(255, 255, 255, 120), 0.8));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(r.adjusted(1.2, 1.2, -1.2, -1.2), radius - 1, radius - 1);
}

void addDrips(QPainterPath& text, Rng& rng, int count, double maxLength) {
  QRectF b = text.boundingRect();
  for (int k = 0; k < count; ++k) {
    double x = b.left() + b.width() * (k + rng.uniform(0.2, 0.8)) / count;
    // find the lowest point of the lettering at this x
    double bottom = -1;
    for (double y = b.bottom(); y > b.top(); y -= 0.25)
      if (text.contains(QPointF(x, y))) {
        bottom = y;
        break;
      }
    if (bottom < 0 || bottom < b.bottom() - 4) continue;
    double len = rng.uniform(maxLength * 0.4, maxLength), w = rng.uniform(2.6, 3.6);
    // a drop that narrows below the letter and swells at its tip
    QPainterPath drip;
    drip.moveTo(x - w, bottom - 3);
    drip.cubicTo(x - w * 0.45, bottom + 1, x - w * 0.35, bottom + len * 0.6, x - w * 0.42, bottom + len);
    drip.arcTo(QRectF(x - w * 0.62, bottom + len - w * 0.62, w * 1.24, w * 1.34), 180, 180);
    drip.cubicTo(x + w * 0.35, bottom + len * 0.6, x + w * 0.45, bottom + 1, x + w, bottom - 3);
    drip.closeSubpath();
    text = text.united(drip);
  }
}

bool save(const QImage& img, const QString& dir, const QString& name) {
  QString path = dir + QLatin1Char('/') + name;
  if (!img.save(path)) {  // in the format the name's suffix says
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s: %d x %d\n", qPrintable(path), img.width(), img.height());
  return true;
}

}  // namespace artwork
