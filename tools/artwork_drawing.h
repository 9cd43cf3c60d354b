// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Drawing helpers shared by the artwork generators: seeded noise, the game's fonts, text outlines and
// the graveyard motifs (bats, tombstones, crosses, skulls, ghosts, the moon...). Everything is drawn in
// picture coordinates, so the same call paints the 1x and the 2x version of a picture.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <functional>

namespace artwork {

constexpr double kPi = 3.14159265358979323846;

// ------------------------------------------------------------------ noise and colour

double hash01(int x, int y, std::uint32_t seed);
double smooth(double t);
double valueNoise(double x, double y, std::uint32_t seed);
// Fractal noise in [0, 1].
double fbm(double x, double y, std::uint32_t seed, int octaves = 5);

// Small deterministic generator for placing stars and the like.
class Rng {
 public:
  explicit Rng(std::uint32_t seed) : s_(seed) {}
  double uniform(double lo, double hi) {
    s_ = s_ * 1664525u + 1013904223u;
    return lo + (hi - lo) * ((s_ >> 8) / 16777216.0);
  }

 private:
  std::uint32_t s_;
};

int clamp255(double v);
QColor mix(const QColor& a, const QColor& b, double t);

// Fills every device pixel of img whose centre, in picture coordinates,
// passes `inside`, with the colour that `shade` gives for that point.
void paintPixels(QImage& img, double scale, const std::function<bool(double, double)>& inside,
                 const std::function<QColor(double, double)>& shade);

// ------------------------------------------------------------------ fonts and text

// The family must be installed: a substitute would change every picture, so the generator stops instead.
QFont font(const char* family, int weight, double pixelSize);
QFont lato(double pixelSize);
QFont sans(double pixelSize, int weight = QFont::Bold);

QPainterPath textPathCentred(const QFont& f, const QString& text, double centreX, double baseline);
QPainterPath textPathRightAligned(const QFont& f, const QString& text, double right, double baseline);

// Drips of paint hanging from the lower edge of a text outline.
void addDrips(QPainterPath& text, Rng& rng, int count, double maxLength);

// ------------------------------------------------------------------ motifs

QPainterPath batPath(QPointF c, double span);
void drawBat(QPainter& p, QPointF c, double span, const QColor& body, bool eyes = true);
QPainterPath tombstonePath(QRectF r);
void drawTombstone(QPainter& p, QRectF r, const QColor& stone, const QString& engraving = {},
                   double tilt = 0.0);
void drawCross(QPainter& p, QPointF base, double h, const QColor& c, double tilt = 0.0);
// A skull, centred on c with the cranium `size` wide. `wink` closes the
// right eye into a cheeky arc.
void drawSkull(QPainter& p, QPointF c, double size, bool wink, const QColor& bone = QColor(236, 228, 206));
void drawCrown(QPainter& p, QPointF baseCentre, double width);
void drawCobweb(QPainter& p, QPointF corner, double radius, double startDeg, double spanDeg,
                const QColor& silk, double width);
void drawSpider(QPainter& p, QPointF c, double size, QPointF hangFrom);
// A little sheet ghost, `h` tall, leaning by `lean` degrees.
void drawGhost(QPainter& p, QPointF top, double h, double lean);
void drawMoon(QPainter& p, QPointF c, double r);
// A raised plaque with a soft shadow, for text the program or the picture writes on it.
void drawPlaque(QPainter& p, QRectF r, double radius, const QColor& face);

// ------------------------------------------------------------------ output

// Writes img as dir/name, in the format the name's suffix says (.png, .bmp), and says so on the terminal.
bool save(const QImage& img, const QString& dir, const QString& name);

}  // namespace artwork
