// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>
#include <cmath>
#include <string>

#include "assets/nokturna_assets.h"

namespace {

QImage load(const QString& name, int scale) {
  QString path = nokturna::assets::picturePath(name.toLatin1().constData());
  if (scale == 2) path.insert(path.lastIndexOf(u'.'), QStringLiteral("@2x"));
  QImage img(path);
  return img.convertToFormat(QImage::Format_ARGB32);
}

double luma(QRgb c) { return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c); }

bool isPostRed(QRgb c) { return qRed(c) > 130 && qGreen(c) < 90 && qBlue(c) < 90; }

double meanLuma(const QImage& img, int x0, int y0, int x1, int y1)  // inclusive bounds
{
  double sum = 0;
  int n = 0;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x, ++n) sum += luma(img.pixel(x, y));
  return sum / n;
}

struct PictureSize {
  const char* name;
  int width, height;
};

class PictureSizes : public ::testing::TestWithParam<PictureSize> {};

TEST_P(PictureSizes, NaturalAndDoubleResolution) {
  const PictureSize& want = GetParam();
  QImage one = load(QString::fromLatin1(want.name), 1);
  QImage two = load(QString::fromLatin1(want.name), 2);
  ASSERT_FALSE(one.isNull()) << want.name;
  ASSERT_FALSE(two.isNull()) << want.name << "@2x";
  EXPECT_EQ(one.size(), QSize(want.width, want.height));
  EXPECT_EQ(two.size(), QSize(2 * want.width, 2 * want.height));
  EXPECT_EQ(QImage(nokturna::assets::picturePath(want.name)).size(), one.size());

  // The double-size picture is painted at its own resolution: it is not
  // merely each pixel of the small one repeated in 2 x 2 blocks.
  int differingBlocks = 0;
  for (int y = 0; y + 1 < two.height(); y += 2)
    for (int x = 0; x + 1 < two.width(); x += 2) {
      QRgb a = two.pixel(x, y);
      if (two.pixel(x + 1, y) != a || two.pixel(x, y + 1) != a || two.pixel(x + 1, y + 1) != a)
        ++differingBlocks;
    }
  EXPECT_GT(differingBlocks, 0) << want.name << "@2x looks upscaled";
}

INSTANTIATE_TEST_SUITE_P(AllPictures, PictureSizes,
                         ::testing::Values(PictureSize{"board", 623, 559}, PictureSize{"line_blue_h", 67, 8},
                                           PictureSize{"line_blue_v", 8, 55},
                                           PictureSize{"line_green_h", 67, 8},
                                           PictureSize{"line_green_v", 8, 55},
                                           PictureSize{"disc_blue", 53, 49},
                                           PictureSize{"disc_green", 53, 49}, PictureSize{"winner", 262, 251},
                                           PictureSize{"icon", 32, 32}, PictureSize{"howto", 453, 262},
                                           PictureSize{"about", 393, 340}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- board

class Board : public ::testing::TestWithParam<int> {};  // parameter: scale

TEST_P(Board, PostsAreRedDotsCentredOnTheLattice) {
  const int s = GetParam();
  QImage board = load(QStringLiteral("board"), s);
  ASSERT_FALSE(board.isNull());
  for (int j = 0; j < 8; ++j)
    for (int i = 0; i < 8; ++i) {
      const int px = 47 + 75 * i, py = 42 + 63 * j;
      // centre of that 1x pixel in device pixels
      const double cx = (px + 0.5) * s, cy = (py + 0.5) * s;
      EXPECT_TRUE(isPostRed(board.pixel(static_cast<int>(cx), static_cast<int>(cy))))
          << "no red post at (" << px << ", " << py << ")";
      double sx = 0, sy = 0;
      int n = 0;
      const int reach = 7 * s;
      for (int y = static_cast<int>(cy) - reach; y <= static_cast<int>(cy) + reach; ++y)
        for (int x = static_cast<int>(cx) - reach; x <= static_cast<int>(cx) + reach; ++x)
          if (isPostRed(board.pixel(x, y))) {
            sx += x + 0.5;
            sy += y + 0.5;
            ++n;
          }
      ASSERT_GT(n, 0);
      EXPECT_NEAR(sx / n, cx, 0.3 * s) << "post " << i << "," << j;
      EXPECT_NEAR(sy / n, cy, 0.3 * s) << "post " << i << "," << j;
      // a small dot: it must not reach into the line strips
      EXPECT_LE(n, 60 * s * s);
    }
}

TEST_P(Board, NoRedAwayFromThePosts) {
  const int s = GetParam();
  QImage board = load(QStringLiteral("board"), s);
  // Inside the playing field, red belongs to the posts only.
  int stray = 0;
  for (int y = 36 * s; y < 492 * s; ++y)
    for (int x = 36 * s; x < 586 * s; ++x) {
      if (!isPostRed(board.pixel(x, y))) continue;
      double lx = (x + 0.5) / s, ly = (y + 0.5) / s;
      double di = (lx - 47.5) / 75.0, dj = (ly - 42.5) / 63.0;
      double nx = 47.5 + 75.0 * std::round(di), ny = 42.5 + 63.0 * std::round(dj);
      if (std::hypot(lx - nx, ly - ny) > 6.0) ++stray;
    }
  EXPECT_EQ(stray, 0);
}

TEST_P(Board, TextsDrawnByTheProgramStayReadable) {
  const int s = GetParam();
  QImage board = load(QStringLiteral("board"), s);
  // black score digits on light ground
  EXPECT_GT(meanLuma(board, 140 * s, 518 * s, 226 * s, 552 * s), 170);
  EXPECT_GT(meanLuma(board, 340 * s, 518 * s, 426 * s, 552 * s), 170);
  // black turn label at the top left, as long as the longest verdict
  EXPECT_GT(meanLuma(board, 16 * s, 16 * s, 340 * s, 29 * s), 170);
  // white clock text on the dark field, which encloses the clock's box
  EXPECT_LT(meanLuma(board, 448 * s, 528 * s, 601 * s, 553 * s), 70);
  for (int x = 446 * s; x <= 603 * s; x += 4)
    for (int y : {526 * s, 555 * s})
      EXPECT_LT(luma(board.pixel(x, y)), 90) << "clock field too small at " << x << "," << y;
}

TEST_P(Board, FieldUnderTheLinesIsCalm) {
  const int s = GetParam();
  QImage board = load(QStringLiteral("board"), s);
  // The strip where the first horizontal line lies: mid-grey, no decoration.
  for (int x = 52 * s; x < 119 * s; ++x)
    for (int y = 39 * s; y < 47 * s; ++y) {
      double l = luma(board.pixel(x, y));
      EXPECT_GT(l, 90);
      EXPECT_LT(l, 200);
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, Board, ::testing::Values(1, 2),
                         [](const auto& info) { return "x" + std::to_string(info.param); });

// ---------------------------------------------------------------- line bars

struct BarCase {
  const char* name;
  bool horizontal;
  bool blue;
  int scale;
};

class Bar : public ::testing::TestWithParam<BarCase> {};

TEST_P(Bar, OpaqueAndBevelled) {
  const BarCase& c = GetParam();
  QImage bar = load(QString::fromLatin1(c.name), c.scale);
  ASSERT_FALSE(bar.isNull());
  for (int y = 0; y < bar.height(); ++y)
    for (int x = 0; x < bar.width(); ++x) ASSERT_EQ(qAlpha(bar.pixel(x, y)), 255) << x << "," << y;

  // Average brightness of a row (horizontal bar) or column (vertical bar)
  // across the thickness, leaving out the ends.
  const int thickness = c.horizontal ? bar.height() : bar.width();
  const int length = c.horizontal ? bar.width() : bar.height();
  auto across = [&](int k) {
    double sum = 0;
    for (int t = 2 * c.scale; t < length - 2 * c.scale; ++t)
      sum += luma(c.horizontal ? bar.pixel(t, k) : bar.pixel(k, t));
    return sum / (length - 4 * c.scale);
  };
  const double lightEdge = across(0), middle = across(thickness / 2), darkEdge = across(thickness - 1);
  EXPECT_GT(lightEdge, middle + 15) << "top/left edge should be lighter";
  EXPECT_LT(darkEdge, middle - 15) << "bottom/right edge should be darker";

  // The bevel runs round the ends too.
  const QRgb startMid = c.horizontal ? bar.pixel(0, bar.height() / 2) : bar.pixel(bar.width() / 2, 0);
  const QRgb endMid = c.horizontal ? bar.pixel(bar.width() - 1, bar.height() / 2)
                                   : bar.pixel(bar.width() / 2, bar.height() - 1);
  EXPECT_GT(luma(startMid), luma(endMid) + 30);

  const QRgb core = bar.pixel(bar.width() / 2, bar.height() / 2);
  if (c.blue) {
    EXPECT_GT(qBlue(core), qGreen(core) + 60);
  } else {
    EXPECT_GT(qGreen(core), std::max(qRed(core), qBlue(core)) + 60);
  }
}

INSTANTIATE_TEST_SUITE_P(
    AllBars, Bar,
    ::testing::Values(BarCase{"line_blue_h", true, true, 1}, BarCase{"line_blue_h", true, true, 2},
                      BarCase{"line_blue_v", false, true, 1}, BarCase{"line_blue_v", false, true, 2},
                      BarCase{"line_green_h", true, false, 1}, BarCase{"line_green_h", true, false, 2},
                      BarCase{"line_green_v", false, false, 1}, BarCase{"line_green_v", false, false, 2}),
    [](const auto& info) { return std::string(info.param.name) + "_x" + std::to_string(info.param.scale); });

// ---------------------------------------------------------------- discs, icon, winner

class Artwork : public ::testing::TestWithParam<int> {};  // parameter: scale

TEST_P(Artwork, DiscsAreRoundOnTransparentGround) {
  const int s = GetParam();
  for (const char* name : {"disc_blue", "disc_green"}) {
    QImage disc = load(QString::fromLatin1(name), s);
    ASSERT_FALSE(disc.isNull());
    const int w = disc.width(), h = disc.height();
    for (QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
      for (int d = 0; d < 3 * s; ++d) {
        QPoint q(corner.x() + (corner.x() ? -d : d), corner.y() + (corner.y() ? -d : d));
        EXPECT_EQ(qAlpha(disc.pixel(q)), 0) << name << " corner " << q.x() << "," << q.y();
      }
    EXPECT_EQ(qAlpha(disc.pixel(w / 2, h / 2)), 255) << name;
    EXPECT_EQ(qAlpha(disc.pixel(w / 2, h / 4)), 255) << name;
    // the colour of its side
    QRgb body = disc.pixel(w / 2 - 8 * s, h / 2 + 8 * s);
    if (std::string(name) == "disc_blue") {
      EXPECT_GT(qBlue(body), qGreen(body) + 50);
    } else {
      EXPECT_GT(qGreen(body), std::max(qRed(body), qBlue(body)) + 50);
    }
  }
}

TEST_P(Artwork, IconHasATransparentSurround) {
  const int s = GetParam();
  QImage icon = load(QStringLiteral("icon"), s);
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(icon.pixel(icon.width() - 1, 0)), 0);
  EXPECT_EQ(qAlpha(icon.pixel(icon.width() / 2, icon.height() / 2)), 255);
}

TEST_P(Artwork, WinnerLeavesTheNameAreaDark) {
  const int s = GetParam();
  QImage win = load(QStringLiteral("winner"), s);
  ASSERT_FALSE(win.isNull());
  // The winner's name is written in pure red over x 16..249, y 192..249.
  for (int y = 192 * s; y < 250 * s; ++y)
    for (int x = 16 * s; x < 250 * s; ++x) {
      QRgb c = win.pixel(x, y);
      ASSERT_LT(luma(c), 45) << x << "," << y;
      ASSERT_LT(qRed(c), 60) << x << "," << y;
    }
  // and the heading above it is big and red
  int red = 0;
  for (int y = 0; y < 110 * s; ++y)
    for (int x = 0; x < win.width(); ++x) {
      QRgb c = win.pixel(x, y);
      if (qRed(c) > 180 && qGreen(c) < 80 && qBlue(c) < 80) ++red;
    }
  EXPECT_GT(red, 3000 * s * s);
}

TEST_P(Artwork, AboutHasARedTitleOverCreditsOnDarkBlue) {
  const int s = GetParam();
  QImage about = load(QStringLiteral("about"), s);
  ASSERT_FALSE(about.isNull());
  int red = 0;
  for (int y = 0; y < 90 * s; ++y)
    for (int x = 0; x < about.width(); ++x) {
      QRgb c = about.pixel(x, y);
      if (qRed(c) > 180 && qGreen(c) < 80 && qBlue(c) < 80) ++red;
    }
  EXPECT_GT(red, 2500 * s * s);
  // The credits' ground, left of the photograph: dark, and blue rather than black or grey.
  double r = 0, b = 0;
  int n = 0;
  for (int y = 100 * s; y < 260 * s; y += 2)
    for (int x = 0; x < 220 * s; x += 2, ++n) {
      r += qRed(about.pixel(x, y));
      b += qBlue(about.pixel(x, y));
    }
  EXPECT_LT(meanLuma(about, 0, 100 * s, 220 * s - 1, 260 * s - 1), 80);
  EXPECT_GT(b / n, r / n + 25);
}

INSTANTIATE_TEST_SUITE_P(Scales, Artwork, ::testing::Values(1, 2),
                         [](const auto& info) { return "x" + std::to_string(info.param); });

}  // namespace
