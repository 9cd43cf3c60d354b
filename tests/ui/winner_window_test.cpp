// The winner window: how it looks, how a finished game brings it up and reuses it, and how a click
// beside the verdict closes it.
#include <QAction>
#include <QFontInfo>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "ui/form3.h"
#include "ui_test_support.h"

using namespace nokturna;
using namespace nokturna::testing;

class WinnerWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(OpenMainWindow(clips_, window_)); }
  void cleanup() { CloseMainWindow(clips_, window_); }

  void settingTheVerdictMakesTheWindowWithoutShowingIt() {
    QVERIFY(window_->winnerWindow() == nullptr);
    window_->setWinnerCaption("Player 1 adalah Raja Kubur");
    Form3* winner = window_->winnerWindow();
    QVERIFY(winner != nullptr);
    QVERIFY(!winner->isVisible());
    QCOMPARE(winner->verdictLabel()->text(), QStringLiteral("Player 1 adalah Raja Kubur"));

    window_->showWinner();
    QVERIFY(QTest::qWaitForWindowExposed(winner));
    QVERIFY(winner->isVisible());
    QCOMPARE(window_->winnerWindow(), winner);
  }

  void looksLikeABorderlessPictureWithARedVerdict() {
    window_->setWinnerCaption("Daviz Edezo adalah Raja Kubur");
    Form3* winner = window_->winnerWindow();
    QVERIFY(winner->parentWidget() == nullptr);  // no owner: the main window may cover it
    QVERIFY(winner->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(winner->windowType(), Qt::Tool);  // no task-bar entry
    QCOMPARE(winner->size(), QSize(262, 252));
    QCOMPARE(winner->minimumSize(), winner->maximumSize());
    QCOMPARE(winner->picture().size(), QSize(262, 251));

    QLabel* verdict = winner->verdictLabel();
    QCOMPARE(verdict->objectName(), QStringLiteral("label1"));
    QCOMPARE(verdict->geometry(), QRect(16, 192, 233, 57));
    QCOMPARE(verdict->alignment(), Qt::Alignment(Qt::AlignCenter));
    QVERIFY(verdict->wordWrap());
    QVERIFY(!verdict->autoFillBackground());
    QCOMPARE(verdict->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(QFontInfo(verdict->font()).family(), QStringLiteral("Lato"));
    QCOMPARE(verdict->font().weight(), QFont::Black);
    QCOMPARE(verdict->font().pointSizeF(), 14.25);

    // The verdict wraps within the label, which keeps its size.
    window_->setWinnerCaption("Daviz Edezo adalah Raja Kubur Daviz Edezo adalah Raja Kubur");
    QCOMPARE(verdict->geometry(), QRect(16, 192, 233, 57));
  }

  void aWholeGameEndsWithTheWinnerWindowWhichTheNextGameReuses() {
    itemOf(*window_, "vsmode1")->trigger();
    playWholeGame();
    QPointer<Form3> winner = window_->winnerWindow();
    QVERIFY(winner != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(winner.data()));
    const QString name = winnerByScore();
    QCOMPARE(winner->verdictLabel()->text(), name + QStringLiteral(" adalah Raja Kubur"));
    QCOMPARE(labelOf(*window_, "commentlbl")->text(),
             QStringLiteral("Pemenangnya adalah / Master Kubur is ") + name);
    QVERIFY(!window_->findChild<QTimer*>(QStringLiteral("Timer2"))->isActive());
    QCOMPARE(clips_->played.back(), 2);

    QCOMPARE(scoreOf("scorelbl1") + scoreOf("scorelbl2"), 49);

    // The next game starts without a question and, when it ends, shows its result in the same window.
    winner->setVerdict(QStringLiteral("stale"));
    playWholeGame();
    QVERIFY(!winner.isNull());
    QCOMPARE(window_->winnerWindow(), winner.data());
    QVERIFY(winner->isVisible());
    QCOMPARE(winner->verdictLabel()->text(), winnerByScore() + QStringLiteral(" adalah Raja Kubur"));
  }

  void aClickOnTheVerdictKeepsTheWindowAClickBesideItClosesIt() {
    window_->setWinnerCaption("Player 2 adalah Raja Kubur");
    window_->showWinner();
    QPointer<Form3> winner = window_->winnerWindow();
    QVERIFY(QTest::qWaitForWindowExposed(winner.data()));

    QTest::mouseClick(winner->verdictLabel(), Qt::LeftButton);
    QTest::qWait(50);
    QVERIFY(!winner.isNull());
    QVERIFY(winner->isVisible());

    // Pressing beside the verdict but letting go on it is no click either.
    QTest::mousePress(winner.data(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(winner.data(), Qt::LeftButton, {}, winner->verdictLabel()->geometry().center());
    QTest::qWait(50);
    QVERIFY(!winner.isNull());

    QTest::mouseClick(winner.data(), Qt::LeftButton, {}, QPoint(5, 5));
    QTRY_VERIFY(winner.isNull());
    QVERIFY(window_->winnerWindow() == nullptr);

    // The next need makes a fresh one.
    window_->setWinnerCaption("Player 1 adalah Raja Kubur");
    QVERIFY(window_->winnerWindow() != nullptr);
    QCOMPARE(window_->winnerWindow()->verdictLabel()->text(), QStringLiteral("Player 1 adalah Raja Kubur"));
  }

  void closingTheMainWindowClosesTheWinnerWindow() {
    window_->setWinnerCaption("Player 1 adalah Raja Kubur");
    window_->showWinner();
    QPointer<Form3> winner = window_->winnerWindow();
    QVERIFY(QTest::qWaitForWindowExposed(winner.data()));
    window_->close();
    QTRY_VERIFY(winner.isNull());
  }

 private:
  // Claims every line in order, whoever is to move; the last line closes the last square.
  void playWholeGame() {
    itemOf(*window_, "play1")->trigger();
    QCOMPARE(drawnLines(*window_), 0);
    for (int line = 1; line <= 112; ++line) clickLine(*window_, line);
    QCOMPARE(drawnLines(*window_), 112);
  }

  int scoreOf(const char* label) const { return labelOf(*window_, label)->text().trimmed().toInt(); }

  QString winnerByScore() const {
    return scoreOf("scorelbl1") > scoreOf("scorelbl2") ? QStringLiteral("Player 1")
                                                       : QStringLiteral("Player 2");
  }

  std::unique_ptr<ClipRecorder> clips_;
  std::unique_ptr<form1> window_;
};

QTEST_MAIN(WinnerWindowTest)
#include "winner_window_test.moc"
