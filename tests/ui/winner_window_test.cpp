// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The winner window: how it looks, how a finished game brings it up and reuses it, and how a click
// beside the verdict closes it.
#include "ui/winner_window.h"

#include <QAction>
#include <QFontInfo>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "ui_test_support.h"

using namespace nokturna;
using namespace nokturna::testing;

class WinnerWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(OpenMainWindow(clips_, window_)); }
  void cleanup() { CloseMainWindow(clips_, window_); }

  void theEndStopsTheClockAndShowsTheVerdictThenSoundsThenShowsTheWindow() {
    QVERIFY(window_->winnerWindow() == nullptr);
    itemOf(*window_, "playAction")->trigger();
    bool clockRunning = true, windowShown = true;
    QString verdict, turn;
    clips_->duringPlay = [&] {
      clockRunning = window_->findChild<QTimer*>(QStringLiteral("clockTicker"))->isActive();
      turn = labelOf(*window_, "turnLabel")->text();
      WinnerWindow* made = window_->winnerWindow();
      windowShown = made == nullptr || made->isVisible();
      if (made != nullptr) verdict = made->verdictLabel()->text();
    };
    window_->gameEnded(Side::PlayerOne);
    QCOMPARE(clips_->played, std::vector<int>{2});
    QVERIFY(!clockRunning);
    QCOMPARE(turn, QStringLiteral("Pemenangnya adalah / Master Kubur is Player 1"));
    QVERIFY(!windowShown);  // made, its verdict set, but not shown before the sound
    QCOMPARE(verdict, QStringLiteral("Player 1 adalah Raja Kubur"));

    WinnerWindow* winner = window_->winnerWindow();
    QVERIFY(QTest::qWaitForWindowExposed(winner));
    QVERIFY(winner->isVisible());
  }

  void looksLikeABorderlessPictureWithARedVerdict() {
    window_->gameEnded(Side::Computer);
    WinnerWindow* winner = window_->winnerWindow();
    QVERIFY(winner->parentWidget() == nullptr);  // no owner: the main window may cover it
    QVERIFY(winner->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(winner->windowType(), Qt::Tool);  // no task-bar entry
    QCOMPARE(winner->size(), QSize(262, 252));
    QCOMPARE(winner->minimumSize(), winner->maximumSize());
    QCOMPARE(winner->picture().size(), QSize(262, 251));

    QLabel* verdict = winner->verdictLabel();
    QCOMPARE(verdict->objectName(), QStringLiteral("verdictLabel"));
    QCOMPARE(verdict->geometry(), QRect(16, 192, 233, 57));
    QCOMPARE(verdict->alignment(), Qt::Alignment(Qt::AlignCenter));
    QVERIFY(verdict->wordWrap());
    QVERIFY(!verdict->autoFillBackground());
    QCOMPARE(verdict->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(QFontInfo(verdict->font()).family(), QStringLiteral("Lato"));
    QCOMPARE(verdict->font().weight(), QFont::Black);
    QCOMPARE(verdict->font().pointSizeF(), 14.25);

    // The verdict wraps within the label, which keeps its size.
    winner->setVerdict(QStringLiteral("Daviz Edezo adalah Raja Kubur Daviz Edezo adalah Raja Kubur"));
    QCOMPARE(verdict->geometry(), QRect(16, 192, 233, 57));
  }

  void aWholeGameEndsWithTheWinnerWindowWhichTheNextGameReuses() {
    itemOf(*window_, "personVsPersonAction")->trigger();
    playWholeGame();
    QPointer<WinnerWindow> winner = window_->winnerWindow();
    QVERIFY(winner != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(winner.data()));
    const QString name = winnerByScore();
    QCOMPARE(winner->verdictLabel()->text(), name + QStringLiteral(" adalah Raja Kubur"));
    QCOMPARE(labelOf(*window_, "turnLabel")->text(),
             QStringLiteral("Pemenangnya adalah / Master Kubur is ") + name);
    QVERIFY(!window_->findChild<QTimer*>(QStringLiteral("clockTicker"))->isActive());
    QCOMPARE(clips_->played.back(), 2);

    QCOMPARE(scoreOf("playerOneScoreLabel") + scoreOf("opponentScoreLabel"), 49);

    // The next game starts without a question and, when it ends, shows its result in the same window.
    winner->setVerdict(QStringLiteral("stale"));
    playWholeGame();
    QVERIFY(!winner.isNull());
    QCOMPARE(window_->winnerWindow(), winner.data());
    QVERIFY(winner->isVisible());
    QCOMPARE(winner->verdictLabel()->text(), winnerByScore() + QStringLiteral(" adalah Raja Kubur"));
  }

  void aClickOnTheVerdictKeepsTheWindowAClickBesideItClosesIt() {
    window_->gameEnded(Side::PlayerTwo);
    QPointer<WinnerWindow> winner = window_->winnerWindow();
    QVERIFY(QTest::qWaitForWindowExposed(winner.data()));

    QTest::mouseClick(winner->verdictLabel(), Qt::LeftButton);
    QVERIFY(runPostedEvents());
    QVERIFY(!winner.isNull());
    QVERIFY(winner->isVisible());

    // Pressing beside the verdict but letting go on it is no click either.
    QTest::mousePress(winner.data(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(winner.data(), Qt::LeftButton, {}, winner->verdictLabel()->geometry().center());
    QVERIFY(runPostedEvents());
    QVERIFY(!winner.isNull());
    QVERIFY(winner->isVisible());

    QTest::mouseClick(winner.data(), Qt::LeftButton, {}, QPoint(5, 5));
    QTRY_VERIFY(winner.isNull());
    QVERIFY(window_->winnerWindow() == nullptr);

    // The next end makes a fresh one.
    window_->gameEnded(Side::PlayerOne);
    QVERIFY(window_->winnerWindow() != nullptr);
    QCOMPARE(window_->winnerWindow()->verdictLabel()->text(), QStringLiteral("Player 1 adalah Raja Kubur"));
  }

  void closingTheMainWindowClosesTheWinnerWindow() {
    window_->gameEnded(Side::PlayerOne);
    QPointer<WinnerWindow> winner = window_->winnerWindow();
    QVERIFY(QTest::qWaitForWindowExposed(winner.data()));
    window_->close();
    QTRY_VERIFY(winner.isNull());
  }

 private:
  // Claims every line in order, whoever is to move; the last line closes the last square.
  void playWholeGame() {
    itemOf(*window_, "playAction")->trigger();
    QCOMPARE(drawnLines(*window_), 0);
    for (int line = 1; line <= 112; ++line) clickLine(*window_, line);
    QCOMPARE(drawnLines(*window_), 112);
  }

  int scoreOf(const char* label) const { return labelOf(*window_, label)->text().trimmed().toInt(); }

  QString winnerByScore() const {
    return scoreOf("playerOneScoreLabel") > scoreOf("opponentScoreLabel") ? QStringLiteral("Player 1")
                                                                          : QStringLiteral("Player 2");
  }

  std::unique_ptr<TestSound> clips_;
  std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(WinnerWindowTest)
#include "winner_window_test.moc"
