// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The how-to-play and About windows: how they look, that the Help menu sounds its clip first and then
// opens one window (reusing an open one), that any click closes them, and so do Esc, Enter and Space,
// handing the keyboard back to the main window, what a screen reader reads of them, and that the game
// runs on beside them. Both windows are checked by the same cases.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QPalette>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "ui/about_window.h"
#include "ui/how_to_play_window.h"
#include "ui_test_support.h"

using namespace nokturna;
using namespace nokturna::testing;

namespace {

struct HelpWindow {
  const char* item;
  int clip;
  QSize clientSize;
  QSize pictureSize;
  const char* title;
  const char* words;  // some of what the picture says
};

const HelpWindow kHowToPlay{"howToPlayAction", 3, {455, 263}, {453, 262}, "How to play..", "menarik garis"};
const HelpWindow kAbout{"aboutAction", 4, {393, 339}, {393, 340}, "About Nokturna 1.0", "Lawan tanding"};

}  // namespace

Q_DECLARE_METATYPE(HelpWindow)

class HelpWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(OpenMainWindow(clips_, window_)); }
  void cleanup() { CloseMainWindow(clips_, window_); }

  void looksLikeABorderlessUnownedPicture_data() { bothWindows(); }
  void looksLikeABorderlessUnownedPicture() {
    QFETCH(HelpWindow, help);
    PictureWindow* shown = choose(help);
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    QVERIFY(shown->parentWidget() == nullptr);  // no owner: the main window may cover it
    QVERIFY(shown->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(shown->windowType(), Qt::Tool);  // no task-bar entry
    QVERIFY(shown->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(!shown->testAttribute(Qt::WA_QuitOnClose));
    QCOMPARE(shown->windowTitle(), QString::fromLatin1(help.title));
    QCOMPARE(shown->size(), help.clientSize);
    QCOMPARE(shown->minimumSize(), shown->maximumSize());
    QCOMPARE(shown->picture().size(), help.pictureSize);
    const QPoint offCentre = shown->geometry().center() - shown->screen()->availableGeometry().center();
    QVERIFY(offCentre.manhattanLength() <= 2);

    // The picture is drawn unscaled from the corner; the strip it leaves shows the window's colour.
    const QImage drawn = shown->grab().toImage();
    const QImage picture = shown->picture().toImage();
    QCOMPARE(drawn.pixelColor(10, 10), picture.pixelColor(10, 10));
    QCOMPARE(drawn.pixelColor(200, 150), picture.pixelColor(200, 150));
    const QColor fill = help.clip == 3 ? QApplication::palette().color(QPalette::Button) : QColor(Qt::black);
    if (help.pictureSize.width() < help.clientSize.width())
      QCOMPARE(drawn.pixelColor(help.clientSize.width() - 1, 5), fill);
  }

  void theClipSoundsBeforeTheWindowShowsAndOnlyWithSoundOn_data() { bothWindows(); }
  void theClipSoundsBeforeTheWindowShowsAndOnlyWithSoundOn() {
    QFETCH(HelpWindow, help);
    bool shownDuringClip = true;
    clips_->duringPlay = [&] {
      PictureWindow* open = openWindow(help);
      shownDuringClip = open != nullptr && open->isVisible();
    };
    choose(help);
    QCOMPARE(clips_->played, std::vector<int>{help.clip});
    QVERIFY(!shownDuringClip);
    QVERIFY(openWindow(help)->isVisible());
    openWindow(help)->close();
    QTRY_VERIFY(openWindow(help) == nullptr);

    itemOf(*window_, "soundOffAction")->trigger();
    clips_->played.clear();
    PictureWindow* silent = choose(help);
    QVERIFY(silent->isVisible());
    QVERIFY(clips_->played.empty());
  }

  void choosingItAgainReusesTheOpenWindowAndAClickClosesIt_data() { bothWindows(); }
  void choosingItAgainReusesTheOpenWindowAndAClickClosesIt() {
    QFETCH(HelpWindow, help);
    QPointer<PictureWindow> first = choose(help);
    QVERIFY(QTest::qWaitForWindowExposed(first.data()));
    window_->activateWindow();
    QPointer<PictureWindow> again = choose(help);
    QCOMPARE(again.data(), first.data());
    QCOMPARE(clips_->played, (std::vector<int>{help.clip, help.clip}));
    QTRY_COMPARE(QApplication::activeWindow(), first.data());  // brought forward
    QCOMPARE(countOpen(help), 1);

    // Anywhere on the picture will do, its last corner included.
    QTest::mouseClick(first.data(), Qt::LeftButton, {}, QPoint(first->width() - 1, first->height() - 1));
    QTRY_VERIFY(first.isNull());
    QVERIFY(openWindow(help) == nullptr);
    QVERIFY(window_->isVisible());

    QPointer<PictureWindow> fresh = choose(help);
    QVERIFY(fresh != nullptr);
    QVERIFY(fresh->isVisible());
    QCOMPARE(countOpen(help), 1);
  }

  void aScreenReaderReadsItAndAKeyClosesIt_data() {
    QTest::addColumn<HelpWindow>("help");
    QTest::addColumn<int>("key");
    QTest::newRow("how to play, Esc") << kHowToPlay << int(Qt::Key_Escape);
    QTest::newRow("about, Space") << kAbout << int(Qt::Key_Space);
  }
  void aScreenReaderReadsItAndAKeyClosesIt() {
    QFETCH(HelpWindow, help);
    QFETCH(int, key);
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QPointer<PictureWindow> shown = choose(help);
    QVERIFY(QTest::qWaitForWindowActive(shown.data()));
    // It has the focus, with what it says as its description.
    QCOMPARE(QApplication::focusWidget(), shown.data());
    QVERIFY(
        QAccessible::queryAccessibleInterface(shown)->text(QAccessible::Description).contains(help.words));
    // A key held down since before it opened only repeats: it closes nothing.
    QKeyEvent held(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(shown.data(), &held);
    QVERIFY(runPostedEvents() && !shown.isNull());
    QTest::keyClick(shown.data(), Qt::Key(key));
    QTRY_VERIFY(shown.isNull());
    QTRY_COMPARE(QApplication::activeWindow(), window_.get());  // the keys go back to the game
  }

  void aPressThatLeavesTheWindowIsNoClick() {
    QPointer<PictureWindow> shown = choose(kHowToPlay);
    QVERIFY(QTest::qWaitForWindowExposed(shown.data()));
    QTest::mousePress(shown.data(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseRelease(shown.data(), Qt::LeftButton, {}, QPoint(-5, 20));
    QVERIFY(runPostedEvents());
    QVERIFY(!shown.isNull());
    QVERIFY(shown->isVisible());
    QTest::mouseClick(shown.data(), Qt::RightButton, {}, QPoint(20, 20));
    QVERIFY(runPostedEvents());
    QVERIFY(!shown.isNull());
    QVERIFY(shown->isVisible());
  }

  void aGameAgainstTheComputerGoesOnWhileBothWindowsAreOpen() {
    // The computer's pause and the clock's second shortened: the game's timers run all the same.
    window_->findChild<QTimer*>(QStringLiteral("computerPause"))->setInterval(5);
    window_->findChild<QTimer*>(QStringLiteral("clockTicker"))->setInterval(5);
    itemOf(*window_, "playAction")->trigger();
    choose(kHowToPlay);
    choose(kAbout);
    clickLine(*window_, 1);
    // The computer answers and the clock ticks with both windows up.
    QTRY_COMPARE_WITH_TIMEOUT(drawnLines(*window_), 2, kPatienceMs);
    QTRY_VERIFY_WITH_TIMEOUT(labelOf(*window_, "clockLabel")->text() != QStringLiteral("00:00:00"),
                             kPatienceMs);
    QVERIFY(window_->howToPlayWindow()->isVisible());
    QVERIFY(window_->aboutWindow()->isVisible());
  }

 private:
  static void bothWindows() {
    QTest::addColumn<HelpWindow>("help");
    QTest::newRow("how to play") << kHowToPlay;
    QTest::newRow("about") << kAbout;
  }

  PictureWindow* openWindow(const HelpWindow& help) const {
    if (help.clip == 3) return window_->howToPlayWindow();
    return window_->aboutWindow();
  }

  PictureWindow* choose(const HelpWindow& help) {
    itemOf(*window_, help.item)->trigger();
    return openWindow(help);
  }

  int countOpen(const HelpWindow& help) const {
    int open = 0;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      const bool same = help.clip == 3 ? qobject_cast<HowToPlayWindow*>(top) != nullptr
                                       : qobject_cast<AboutWindow*>(top) != nullptr;
      if (same && top->isVisible()) ++open;
    }
    return open;
  }

  std::unique_ptr<TestSound> clips_;
  std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(HelpWindowsTest)
#include "help_windows_test.moc"
