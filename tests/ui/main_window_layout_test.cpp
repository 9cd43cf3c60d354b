// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window as it stands before any game: its size and frame, where every board image sits, the
// labels, the timers and the menu tree.
#include <QAction>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "ui/board_layout.h"
#include "ui_test_support.h"

using namespace nokturna;
using namespace nokturna::testing;

class MainWindowLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    sound_ = std::make_unique<TestSound>();
    window_ = std::make_unique<MainWindow>(sound_->sound);
  }
  void cleanup() {
    window_.reset();
    sound_.reset();
  }

  void clientAreaIsFixedAt623By557() {
    QCOMPARE(window_->centralWidget()->size(), QSize(623, 557));
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QCOMPARE(window_->centralWidget()->size(), QSize(623, 557));
    QCOMPARE(window_->centralWidget()->y(), window_->menuBar()->geometry().bottom() + 1);
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
  }

  void frameHasMinimiseAndCloseButNoMaximise() {
    const Qt::WindowFlags flags = window_->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::Tool));  // a task-bar entry of its own
    QCOMPARE(window_->windowTitle(), QStringLiteral("Nokturna 1.0"));
    QVERIFY(!window_->windowIcon().isNull());
  }

  void everyLineImageSitsOnItsRowOfPosts() {
    // Lefts of the designer's top row of each kind; rows follow each other 945 twips apart.
    const int horizontalLefts[] = {780, 1900, 3030, 4160, 5280, 6400, 7530};
    const int verticalLefts[] = {660, 1780, 2910, 4030, 5160, 6290, 7410, 8540};
    for (int r = 0; r <= 7; ++r) {
      for (int c = 1; c <= 7; ++c) {
        QLabel* line = lineImageOf(*window_, 15 * r + c);
        QVERIFY(line != nullptr);
        QCOMPARE(line->geometry(),
                 QRect(TwipsToPixels(horizontalLefts[c - 1]), TwipsToPixels(580 + 945 * r), 67, 8));
      }
    }
    for (int r = 0; r <= 6; ++r) {
      for (int c = 1; c <= 8; ++c) {
        QLabel* line = lineImageOf(*window_, 15 * r + 7 + c);
        QVERIFY(line != nullptr);
        QCOMPARE(line->geometry(),
                 QRect(TwipsToPixels(verticalLefts[c - 1]), TwipsToPixels(710 + 945 * r), 8, 55));
      }
    }
    QVERIFY(lineImageOf(*window_, 113) == nullptr);
  }

  void spotChecksOfTheBottomRows() {
    // Line 106 at 780/7195 twips, line 98 at 660/6380, square 49 at 7660/6390.
    QCOMPARE(lineImageOf(*window_, 106)->pos(), QPoint(52, 480));
    QCOMPARE(lineImageOf(*window_, 98)->pos(), QPoint(44, 425));
    QCOMPARE(markerOf(*window_, 49)->geometry(), QRect(511, 426, 53, 49));
  }

  void everyMarkerSitsInItsSquare() {
    for (int row = 0; row <= 6; ++row) {
      for (int column = 1; column <= 7; ++column) {
        QLabel* marker = markerOf(*window_, 7 * row + column);
        QVERIFY(marker != nullptr);
        QCOMPARE(marker->geometry(),
                 QRect(TwipsToPixels(880 + 1130 * (column - 1)), TwipsToPixels(720 + 945 * row), 53, 49));
      }
    }
    QVERIFY(markerOf(*window_, 50) == nullptr);
  }

  void boardStartsFullyDrawnInBlue() {
    const QPixmap horizontal = resourcePicture("line_blue_h.png");
    const QPixmap vertical = resourcePicture("line_blue_v.png");
    QVERIFY(!horizontal.isNull() && !vertical.isNull());
    for (int line = 1; line <= 112; ++line) {
      const bool isHorizontalLine = (line - 1) % 15 < 7;
      QVERIFY2(shows(lineImageOf(*window_, line), isHorizontalLine ? horizontal : vertical),
               qPrintable(QString::number(line)));
    }
    const QPixmap blueDisc = resourcePicture("disc_blue.png");
    for (int square = 1; square <= 49; ++square) QVERIFY(shows(markerOf(*window_, square), blueDisc));
  }

  void labelsStartWithTheirCaptionsAndFonts() {
    struct Expected {
      const char* name;
      QString caption;
      QPoint at;
      qreal points;
      Qt::Alignment horizontal;
    };
    const Expected expected[] = {
        {"turnLabel", QStringLiteral("Welcome to Nokturna 1.0"), {16, 16}, 9.75, Qt::AlignLeft},
        {"playerOneScoreLabel", QStringLiteral("0000"), {136, 520}, 24, Qt::AlignLeft},
        {"opponentScoreLabel", QStringLiteral("0000"), {336, 520}, 24, Qt::AlignLeft},
        {"clockLabel", QStringLiteral("00:00:00"), {448, 528}, 13.5, Qt::AlignHCenter},
    };
    for (const Expected& e : expected) {
      QLabel* label = labelOf(*window_, e.name);
      QVERIFY2(label != nullptr, e.name);
      QCOMPARE(label->text(), e.caption);
      QCOMPARE(label->pos(), e.at);
      QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, e.horizontal);
      const QFontInfo font(label->font());
      QCOMPARE(font.family(), QStringLiteral("Liberation Sans"));
      QVERIFY(font.bold());
      QCOMPARE(label->font().pointSizeF(), e.points);
      QVERIFY(!label->autoFillBackground());  // the board shows through
    }
    QCOMPARE(labelOf(*window_, "clockLabel")->size(), QSize(153, 25));
    QCOMPARE(labelOf(*window_, "clockLabel")->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(labelOf(*window_, "playerOneScoreLabel")->palette().color(QPalette::WindowText),
             QColor(Qt::black));
    QCOMPARE(labelOf(*window_, "opponentScoreLabel")->palette().color(QPalette::WindowText),
             QColor(Qt::black));
  }

  void captionsResizeAllButTheClock() {
    QLabel* turn = labelOf(*window_, "turnLabel");
    QLabel* score = labelOf(*window_, "playerOneScoreLabel");
    QLabel* clock = labelOf(*window_, "clockLabel");
    const int turnWidth = turn->width();
    const int scoreWidth = score->width();

    window_->turnPassed(Side::Computer);
    window_->scoreChanged(Side::PlayerOne, 7);
    window_->clockMoved(123, 4, 5);
    QVERIFY(turn->width() > turnWidth);
    QVERIFY(score->width() < scoreWidth);
    QCOMPARE(clock->size(), QSize(153, 25));
    QCOMPARE(clock->text(), QStringLiteral("123:04:05"));

    const int oneDigitWidth = score->width();
    window_->scoreChanged(Side::PlayerOne, 49);
    QVERIFY(score->width() > oneDigitWidth);
  }

  void bothTimersStartStopped() {
    auto* pause = window_->findChild<QTimer*>(QStringLiteral("computerPause"));
    auto* clock = window_->findChild<QTimer*>(QStringLiteral("clockTicker"));
    QVERIFY(pause != nullptr && clock != nullptr);
    QVERIFY(!pause->isActive());
    QVERIFY(!clock->isActive());
    QCOMPARE(pause->interval(), 250);
    QCOMPARE(clock->interval(), 1000);
  }

  void menuTreeMatchesTheGame() {
    struct Item {
      int level;
      QString caption;
      bool checkable;
      bool checked;
    };
    const QList<Item> expected = {
        {0, "&Menu", false, false},
        {1, "&Play, boy !!", false, false},
        {1, "&I want out !!", false, false},
        {0, "&Settings", false, false},
        {1, "&Mode", false, false},
        {2, "Orang vs Orang", true, false},
        {2, "Orang vs Daviz Edezo", true, true},
        {1, "S&ound", false, false},
        {2, "&Play Loud !!", true, true},
        {2, "&Please turn off..", true, false},
        {1, "&Music", false, false},
        {2, "&Hidupkan ahli kubur", true, true},
        {2, "&Sleep in hell", true, false},
        {0, "&Song Album", false, false},
        {1, "&Lagu Menyan", true, true},
        {1, "&I will survive", true, false},
        {1, "&Every breath", true, false},
        {1, "&Sailing", true, false},
        {0, "&Help", false, false},
        {1, "&How to Play !!", false, false},
        {1, "&About Me ??", false, false},
    };

    QList<Item> actual;
    std::function<void(const QList<QAction*>&, int)> walk = [&](const QList<QAction*>& actions, int level) {
      for (QAction* action : actions) {
        QVERIFY2(!action->isSeparator(), "no separators");
        QVERIFY2(action->shortcut().isEmpty(), qPrintable(action->text()));
        QVERIFY(action->isVisible());
        actual.push_back({level, action->text(), action->isCheckable(), action->isChecked()});
        if (action->menu() != nullptr) walk(action->menu()->actions(), level + 1);
      }
    };
    walk(window_->menuBar()->actions(), 0);

    QCOMPARE(window_->menuBar()->actions().size(), 4);
    QCOMPARE(actual.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
      QCOMPARE(actual[i].level, expected[i].level);
      QCOMPARE(actual[i].caption, expected[i].caption);
      QCOMPARE(actual[i].checkable, expected[i].checkable);
      QCOMPARE(actual[i].checked, expected[i].checked);
    }
  }

  void onlyACheckedEntryShowsAMark() {
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QVERIFY(modeMenuMarksOnlyTheCheckedEntry(*window_));
    // Every menu with marks draws them the same way.
    const QStyle* modes = window_->findChild<QMenu*>(QStringLiteral("modeMenu"))->style();
    for (const char* menu : {"soundMenu", "musicMenu", "songAlbumMenu"})
      QCOMPARE(window_->findChild<QMenu*>(QLatin1String(menu))->style(), modes);
  }

  void menuItemsStartEnabledExceptAMissingSongAlbum() {
    for (QAction* action : window_->findChildren<QAction*>()) {
      if (action->text() == QStringLiteral("&Song Album")) continue;
      QVERIFY2(action->isEnabled(), qPrintable(action->text()));
    }
    // No "SongAlbum" folder sits beside the test program, so the song menu is switched off.
    auto* album = window_->findChild<QMenu*>(QStringLiteral("songAlbumMenu"));
    QVERIFY(album != nullptr);
    QVERIFY(!album->menuAction()->isEnabled());
  }

 private:
  std::unique_ptr<TestSound> sound_;
  std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(MainWindowLayoutTest)
#include "main_window_layout_test.moc"
