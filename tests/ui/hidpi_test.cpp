// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The windows on a screen of two device pixels per logical pixel (run with QT_SCALE_FACTOR=2): the same
// logical layout, every picture from its double-size twin and drawn pixel for pixel, and clicks that
// still land on the line under the pointer.
#include <QtTest>
#include <memory>

#include "ui/about_window.h"
#include "ui/how_to_play_window.h"
#include "ui/picture_background.h"
#include "ui/winner_window.h"
#include "ui_test_support.h"

using namespace nokturna;
using namespace nokturna::testing;

namespace {

QImage argb(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); }

QImage twinOf(const char* name) {
  const QString base = QLatin1String(name);
  return argb(QImage(QStringLiteral(":/pictures/") + base.left(base.size() - 4) + QStringLiteral("@2x") +
                     base.right(4)));
}

// Empty when `shown` is the double-size twin of picture `name`, marked as such; else what is wrong.
QString twinMismatch(const QPixmap& shown, const char* name) {
  const QImage twin = twinOf(name);
  if (twin.isNull()) return QStringLiteral("no twin of %1").arg(QLatin1String(name));
  if (shown.devicePixelRatio() != 2.0)
    return QStringLiteral("%1 has ratio %2").arg(QLatin1String(name)).arg(shown.devicePixelRatio());
  if (argb(shown.toImage()) != twin) return QStringLiteral("%1 is not its 2x twin").arg(QLatin1String(name));
  return QString();
}

}  // namespace

class HiDpiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QCOMPARE(qApp->devicePixelRatio(), 2.0); }

  void init() { QVERIFY(OpenMainWindow(clips_, window_)); }
  void cleanup() { CloseMainWindow(clips_, window_); }

  void mainWindowKeepsItsLogicalSizeWithTwiceThePixels() {
    QWidget* client = window_->centralWidget();
    QCOMPARE(client->size(), QSize(MainWindow::kClientWidth, MainWindow::kClientHeight));
    QCOMPARE(client->devicePixelRatio(), 2.0);
    const QPixmap grabbed = client->grab();
    QCOMPARE(grabbed.devicePixelRatio(), 2.0);
    QCOMPARE(grabbed.size(), QSize(1246, 1114));
    QCOMPARE(lineImageOf(*window_, 9)->size() * 2, lineImageOf(*window_, 9)->grab().size());
  }

  void everyPictureInUseIsItsDoubleSizeTwin() {
    auto* board = qobject_cast<PictureBackground*>(window_->centralWidget());
    QVERIFY(board != nullptr);
    QCOMPARE(twinMismatch(board->picture(), "board.bmp"), QString());
    QCOMPARE(twinMismatch(lineImageOf(*window_, 1)->pixmap(), "line_blue_h.png"), QString());
    QCOMPARE(twinMismatch(lineImageOf(*window_, 9)->pixmap(), "line_blue_v.png"), QString());
    QCOMPARE(twinMismatch(markerOf(*window_, 1)->pixmap(), "disc_blue.png"), QString());
    // Line pictures keep their logical size on the board.
    QCOMPARE(lineImageOf(*window_, 1)->pixmap().deviceIndependentSize(), QSizeF(67, 8));

    // Person against person: the second player's green bar and the disc of a closed square.
    itemOf(*window_, "personVsPersonAction")->trigger();
    itemOf(*window_, "playAction")->trigger();
    for (int line : {1, 8, 9, 16}) clickLine(*window_, line);
    QCOMPARE(twinMismatch(lineImageOf(*window_, 8)->pixmap(), "line_green_v.png"), QString());
    QCOMPARE(twinMismatch(lineImageOf(*window_, 1)->pixmap(), "line_blue_h.png"), QString());
    QCOMPARE(twinMismatch(markerOf(*window_, 1)->pixmap(), "disc_green.png"), QString());

    const QIcon icon = window_->windowIcon();
    QCOMPARE(icon.pixmap(QSize(32, 32), 2.0).size(), QSize(64, 64));
  }

  // Across each border of a claimed bar, every device pixel is the bar's own (from the 2x picture) or the
  // board's as it was before; a bar scaled up from 1x would differ from the 2x rows, a smooth one would
  // blend the two colours at the border.
  void claimedBarsAreDrawnPixelForPixel() {
    itemOf(*window_, "personVsPersonAction")->trigger();
    itemOf(*window_, "playAction")->trigger();
    QWidget* client = window_->centralWidget();
    const QImage board = argb(client->grab().toImage());

    const struct {
      int line;
      const char* picture;
    } bars[] = {{9, "line_blue_v.png"}, {35, "line_green_h.png"}};
    for (const auto& bar : bars) clickLine(*window_, bar.line);
    const QImage played = argb(client->grab().toImage());
    QCOMPARE(played.size(), QSize(1246, 1114));

    for (const auto& bar : bars) {
      const QImage picture = twinOf(bar.picture);
      const QLabel* image = lineImageOf(*window_, bar.line);
      const QRect drawn(image->pos() * 2, picture.size().boundedTo(image->size() * 2));
      QVERIFY(drawn.width() > 4 && drawn.height() > 4);
      const QRect around = drawn.adjusted(-3, -3, 3, 3);
      int barPixels = 0;
      for (int y = around.top(); y <= around.bottom(); ++y) {
        for (int x = around.left(); x <= around.right(); ++x) {
          const QRgb seen = played.pixel(x, y);
          const QRgb expected =
              drawn.contains(x, y) ? picture.pixel(x - drawn.left(), y - drawn.top()) : board.pixel(x, y);
          if (seen != expected) {
            QFAIL(qPrintable(QStringLiteral("line %1 at device pixel (%2, %3): %4, expected %5")
                                 .arg(bar.line)
                                 .arg(x)
                                 .arg(y)
                                 .arg(seen, 8, 16)
                                 .arg(expected, 8, 16)));
          }
          if (drawn.contains(x, y) && seen != board.pixel(x, y)) ++barPixels;
        }
      }
      // The bar stands out from the board along its whole length.
      QVERIFY(barPixels > drawn.width() * drawn.height() / 2);
    }
  }

  void clickAtALineCentreClaimsThatLine() {
    itemOf(*window_, "personVsPersonAction")->trigger();
    itemOf(*window_, "playAction")->trigger();

    QTest::mouseClick(lineImageOf(*window_, 9), Qt::LeftButton);  // at the image's centre
    QVERIFY(!isBlank(lineImageOf(*window_, 9)));
    QCOMPARE(drawnLines(*window_), 1);

    // Through the window, in logical coordinates: the centre of line 24's strip, then the last logical
    // pixel of line 40's (its neighbours must not take it).
    QWindow* handle = window_->windowHandle();
    const auto clickWindowAt = [&](int line, QPoint inImage) {
      QLabel* image = lineImageOf(*window_, line);
      QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, image->mapTo(window_.get(), inImage));
    };
    clickWindowAt(24, lineImageOf(*window_, 24)->rect().center());
    QVERIFY(!isBlank(lineImageOf(*window_, 24)));
    QCOMPARE(drawnLines(*window_), 2);
    clickWindowAt(40, lineImageOf(*window_, 40)->rect().bottomRight());
    QVERIFY(!isBlank(lineImageOf(*window_, 40)));
    QCOMPARE(drawnLines(*window_), 3);
  }

  void onlyACheckedEntryShowsAMark() { QVERIFY(modeMenuMarksOnlyTheCheckedEntry(*window_)); }

  void secondaryWindowsKeepTheirLogicalSize() {
    const auto check = [](PictureBackground* window, QSize logical, const char* picture) {
      window->show();
      QVERIFY(QTest::qWaitForWindowExposed(window));
      QCOMPARE(window->size(), logical);
      QCOMPARE(window->grab().size(), logical * 2);
      QCOMPARE(twinMismatch(window->picture(), picture), QString());
    };
    std::unique_ptr<HowToPlayWindow> howTo(new HowToPlayWindow);
    check(howTo.get(), QSize(HowToPlayWindow::kClientWidth, HowToPlayWindow::kClientHeight), "howto.png");
    std::unique_ptr<AboutWindow> about(new AboutWindow);
    check(about.get(), QSize(AboutWindow::kClientWidth, AboutWindow::kClientHeight), "about.png");
    std::unique_ptr<WinnerWindow> winner(new WinnerWindow);
    winner->setVerdict(QStringLiteral("Player 1 adalah Raja Kubur"));
    check(winner.get(), QSize(WinnerWindow::kClientWidth, WinnerWindow::kClientHeight), "winner.png");
    // The verdict keeps its logical place and size.
    QCOMPARE(winner->verdictLabel()->grab().size(), winner->verdictLabel()->size() * 2);
  }

 private:
  std::unique_ptr<TestSound> clips_;
  std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(HiDpiTest)
#include "hidpi_test.moc"
