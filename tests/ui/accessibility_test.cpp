// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a screen reader learns from the main window through Qt's accessibility interfaces: names that
// match the board and say whose each line is, square states that follow the game, captions as values, the
// updates it is told of, a press action that claims a line the way a click does, and the line under the
// keyboard's cursor as the focused object.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QHash>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>
#include <memory>
#include <utility>
#include <vector>

#include "ui/winner_window.h"
#include "ui_test_support.h"

#ifdef NOKTURNA_ACCESSIBILITY_UPDATES
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#endif

using namespace nokturna;
using namespace nokturna::testing;

namespace {

std::vector<std::pair<QObject*, QAccessible::Event>> heard;
std::vector<QString> announced;  // the words of every notice shown, in order

void recordUpdate(QAccessibleEvent* event) {
  heard.emplace_back(event->object(), event->type());
  if (event->type() == QAccessible::ObjectShow) {
    if (QAccessibleInterface* shown = event->accessibleInterface())
      if (shown->role() == QAccessible::Notification) announced.push_back(shown->text(QAccessible::Name));
  }
}

bool announcedSoFar(const QString& words) {
  for (const QString& said : announced) {
    if (said == words) return true;
  }
  return false;
}

QAccessibleInterface* accessible(QObject* object) { return QAccessible::queryAccessibleInterface(object); }
QString nameOf(QObject* object) { return accessible(object)->text(QAccessible::Name); }
QString descriptionOf(QObject* object) { return accessible(object)->text(QAccessible::Description); }
QString valueOf(QObject* object) { return accessible(object)->text(QAccessible::Value); }

bool heardOf(QObject* object, QAccessible::Event type) {
  for (const auto& [source, kind] : heard) {
    if (source == object && kind == type) return true;
  }
  return false;
}

}  // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
#ifdef NOKTURNA_ACCESSIBILITY_UPDATES
    // As if a screen reader were listening: only then does Qt pass updates on.
    if (QPlatformIntegration* platform = QGuiApplicationPrivate::platformIntegration()) {
      if (QPlatformAccessibility* accessibility = platform->accessibility()) accessibility->setActive(true);
    }
#endif
    previousHandler_ = QAccessible::installUpdateHandler(recordUpdate);
  }
  void cleanupTestCase() { QAccessible::installUpdateHandler(previousHandler_); }

  void init() {
    clips_ = std::make_unique<TestSound>();
    window_ = std::make_unique<MainWindow>(clips_->sound);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    heard.clear();
    announced.clear();
  }
  void cleanup() {
    window_.reset();
    clips_.reset();
  }

  void lineAndSquareNamesMatchTheBoard() {
    QCOMPARE(nameOf(lineImageOf(*window_, 1)), QStringLiteral("Row 1, column 1, across: free"));
    QCOMPARE(nameOf(lineImageOf(*window_, 9)), QStringLiteral("Row 1, column 2, down: free"));
    QCOMPARE(nameOf(markerOf(*window_, 12)), QStringLiteral("Square 12, row 2, column 5"));

    // Every name is different, names the post the line starts from and its way from there as the image
    // shows it, and orders rows and columns the way the images lie on the board. Before a game the
    // pictures are decoration: every line is free.
    const QRegularExpression lineName(QStringLiteral("^Row (\\d+), column (\\d+), (across|down): free$"));
    QSet<QString> names;
    QHash<QString, QLabel*> lineAt;  // "h<row>,<first column>" / "v<column>,<first row>"
    for (int line = 1; line <= 112; ++line) {
      QLabel* image = lineImageOf(*window_, line);
      const QString name = nameOf(image);
      names.insert(name);
      const QRegularExpressionMatch m = lineName.match(name);
      QVERIFY2(m.hasMatch(), qPrintable(name));
      QVERIFY2(name.size() <= 40, qPrintable(name));
      // Read as a list's item is, by its name alone: no role word, no state after it.
      QCOMPARE(accessible(image)->role(), QAccessible::ListItem);
      QVERIFY(!accessible(image)->state().checkable);
      const bool horizontal = m.captured(3) == QStringLiteral("across");
      QCOMPARE(horizontal, image->width() > image->height());
      const int row = m.captured(1).toInt();
      const int column = m.captured(2).toInt();
      // Same row or column of posts, same line of images; the next one further on.
      if (horizontal && column > 1) QCOMPARE(image->y(), lineImageOf(*window_, line - 1)->y());
      if (horizontal && column > 1) QVERIFY(image->x() > lineImageOf(*window_, line - 1)->x());
      if (!horizontal && column > 1) QVERIFY(image->x() > lineImageOf(*window_, line - 1)->x());
      if (row > 1) QVERIFY(image->y() > lineImageOf(*window_, line - 15)->y());
      if (!horizontal && row > 1) QCOMPARE(image->x(), lineImageOf(*window_, line - 15)->x());
      lineAt.insert(horizontal ? QStringLiteral("h%1,%2").arg(row).arg(column)
                               : QStringLiteral("v%1,%2").arg(column).arg(row),
                    image);
    }
    // Each square's marker lies inside the four lines its name and theirs imply.
    const QRegularExpression squareName(QStringLiteral("^Square (\\d+), row (\\d+), column (\\d+)$"));
    for (int square = 1; square <= 49; ++square) {
      QLabel* marker = markerOf(*window_, square);
      const QString name = nameOf(marker);
      names.insert(name);
      QCOMPARE(descriptionOf(marker), QStringLiteral("empty"));
      const QRegularExpressionMatch m = squareName.match(name);
      QVERIFY2(m.hasMatch(), qPrintable(name));
      QCOMPARE(m.captured(1).toInt(), square);
      const int row = m.captured(2).toInt(), column = m.captured(3).toInt();
      QLabel* above = lineAt.value(QStringLiteral("h%1,%2").arg(row).arg(column));
      QLabel* below = lineAt.value(QStringLiteral("h%1,%2").arg(row + 1).arg(column));
      QLabel* left = lineAt.value(QStringLiteral("v%1,%2").arg(column).arg(row));
      QLabel* right = lineAt.value(QStringLiteral("v%1,%2").arg(column + 1).arg(row));
      QVERIFY(above && below && left && right);
      const QPoint centre = marker->geometry().center();
      QVERIFY(above->geometry().bottom() < centre.y() && centre.y() < below->y());
      QVERIFY(left->geometry().right() < centre.x() && centre.x() < right->x());
    }
    QCOMPARE(names.size(), 112 + 49);
  }

  void labelsAreNamedWithTheirCaptionAsValue() {
    const struct {
      const char* label;
      const char* name;
    } labels[] = {{"turnLabel", "Turn"},
                  {"playerOneScoreLabel", "Score of Player 1"},
                  {"opponentScoreLabel", "Score of the opponent"},
                  {"clockLabel", "Game time"}};
    for (const auto& l : labels) {
      QLabel* label = labelOf(*window_, l.label);
      QCOMPARE(nameOf(label), QLatin1String(l.name));
      QCOMPARE(valueOf(label), label->text());
      QCOMPARE(descriptionOf(label), label->text());
    }
    QCOMPARE(valueOf(labelOf(*window_, "turnLabel")), QStringLiteral("Welcome to Nokturna 1.0"));

    // The clock's value follows its ticks.
    play();
    QLabel* clock = labelOf(*window_, "clockLabel");
    QTRY_VERIFY_WITH_TIMEOUT(valueOf(clock) != QStringLiteral("00:00:00"), 3000);
    QCOMPARE(valueOf(clock), clock->text());
  }

  void changesAreAnnounced() {
    if (!QAccessible::isActive()) QSKIP("Qt passes updates on only with an active screen reader");
    chooseMode(1);
    play();
    heard.clear();
    for (int line : {1, 8, 9, 16}) clickLine(*window_, line);  // Player 2 closes square 1
    for (int line : {1, 8, 9, 16}) {
      QVERIFY(heardOf(lineImageOf(*window_, line), QAccessible::NameChanged));
    }
    QVERIFY(!heardOf(lineImageOf(*window_, 2), QAccessible::NameChanged));
    QVERIFY(heardOf(markerOf(*window_, 1), QAccessible::DescriptionChanged));
    QVERIFY(!heardOf(markerOf(*window_, 2), QAccessible::DescriptionChanged));
    QVERIFY(heardOf(labelOf(*window_, "turnLabel"), QAccessible::ValueChanged));
    QVERIFY(heardOf(labelOf(*window_, "opponentScoreLabel"), QAccessible::ValueChanged));
    QVERIFY(!heardOf(labelOf(*window_, "playerOneScoreLabel"), QAccessible::ValueChanged));
    QTRY_VERIFY_WITH_TIMEOUT(heardOf(labelOf(*window_, "clockLabel"), QAccessible::ValueChanged), 3000);

    heard.clear();
    auto question = answerNextQuestion(QMessageBox::Ok);
    play();
    QVERIFY(question->seen);
    QVERIFY(heardOf(lineImageOf(*window_, 16), QAccessible::NameChanged));
    QVERIFY(heardOf(markerOf(*window_, 1), QAccessible::DescriptionChanged));
    QVERIFY(heardOf(labelOf(*window_, "opponentScoreLabel"), QAccessible::ValueChanged));
    // What stays as it was is not announced again.
    QVERIFY(!heardOf(lineImageOf(*window_, 2), QAccessible::NameChanged));
    QVERIFY(!heardOf(markerOf(*window_, 2), QAccessible::DescriptionChanged));
    QVERIFY(!heardOf(labelOf(*window_, "playerOneScoreLabel"), QAccessible::ValueChanged));
  }

  void claimsFollowTheGameAgainstTheComputer() {
    play();
    QLabel* comment = labelOf(*window_, "turnLabel");
    QCOMPARE(valueOf(comment), QStringLiteral("Giliran / Turn : Player 1"));

    clickLine(*window_, 1);
    QCOMPARE(ownerSaid(1), QStringLiteral("Player 1"));
    QCOMPARE(valueOf(comment), QStringLiteral("Giliran / Turn : Daviz Edezo"));

    QTRY_COMPARE_WITH_TIMEOUT(drawnLines(*window_), 2, 3000);
    int computersLine = 0;
    for (int line = 2; line <= 112; ++line) {
      if (!isBlank(lineImageOf(*window_, line))) computersLine = line;
    }
    QVERIFY(computersLine != 0);
    QCOMPARE(ownerSaid(computersLine), QStringLiteral("Daviz Edezo"));
    QCOMPARE(ownerSaid(1), QStringLiteral("Player 1"));
    QCOMPARE(valueOf(comment), QStringLiteral("Giliran / Turn : Player 1"));
    int claimed = 0;
    for (int line = 1; line <= 112; ++line) {
      claimed += ownerSaid(line) == QStringLiteral("free") ? 0 : 1;
    }
    QCOMPARE(claimed, 2);
  }

  void wonSquaresAndScoresFollowAndANewGameResetsThem() {
    chooseMode(1);
    play();
    for (int line : {1, 8, 9, 16}) clickLine(*window_, line);  // Player 2 closes square 1
    QCOMPARE(descriptionOf(markerOf(*window_, 1)), QStringLiteral("won by Player 2"));
    QCOMPARE(descriptionOf(markerOf(*window_, 2)), QStringLiteral("empty"));
    QCOMPARE(ownerSaid(16), QStringLiteral("Player 2"));
    QCOMPARE(ownerSaid(9), QStringLiteral("Player 1"));
    QCOMPARE(valueOf(labelOf(*window_, "opponentScoreLabel")), QStringLiteral("1"));
    QCOMPARE(valueOf(labelOf(*window_, "playerOneScoreLabel")), QStringLiteral(" 0"));
    QCOMPARE(valueOf(labelOf(*window_, "turnLabel")), QStringLiteral("Giliran / Turn : Player 2"));

    auto question = answerNextQuestion(QMessageBox::Ok);
    play();
    QVERIFY(question->seen);
    for (int line = 1; line <= 112; ++line) {
      QCOMPARE(ownerSaid(line), QStringLiteral("free"));
    }
    for (int square = 1; square <= 49; ++square) {
      QCOMPARE(descriptionOf(markerOf(*window_, square)), QStringLiteral("empty"));
    }
    QCOMPARE(valueOf(labelOf(*window_, "opponentScoreLabel")), QStringLiteral(" 0"));
    QCOMPARE(valueOf(labelOf(*window_, "turnLabel")), QStringLiteral("Giliran / Turn : Player 1"));
  }

  void theLineUnderTheCursorIsTheFocusedObject() {
    QAccessibleInterface* window = accessible(window_.get());
    QCOMPARE(window->focusChild()->text(QAccessible::Name), QStringLiteral("Board"));
    // A line is read by its name; it has no description to follow it.
    const auto spoken = [&] {
      QAccessibleInterface* focused = window->focusChild();
      return focused->text(QAccessible::Name) + focused->text(QAccessible::Description);
    };
    for (int key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right}) pressKey(*window_, key);
    QCOMPARE(spoken(), QStringLiteral("Row 1, column 2, down: free"));
    QVERIFY(accessible(lineImageOf(*window_, 9))->state().focused);
    if (QAccessible::isActive()) QVERIFY(heardOf(lineImageOf(*window_, 9), QAccessible::Focus));

    chooseMode(1);
    play();
    pressKey(*window_, Qt::Key_Space);
    QCOMPARE(spoken(), QStringLiteral("Row 1, column 2, down: Player 1"));
  }

  void pressActionClaimsAFreeLineLikeAClick() {
    QAccessibleActionInterface* fifth = accessible(lineImageOf(*window_, 5))->actionInterface();
    QVERIFY(fifth != nullptr);
    QVERIFY(fifth->actionNames().contains(QAccessibleActionInterface::pressAction()));

    fifth->doAction(QAccessibleActionInterface::pressAction());  // before any game: nothing
    QCOMPARE(ownerSaid(5), QStringLiteral("free"));
    QVERIFY(clips_->played.empty());

    chooseMode(1);
    play();
    fifth->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(ownerSaid(5), QStringLiteral("Player 1"));
    QVERIFY(shows(lineImageOf(*window_, 5), linePictureOf(false, true)));
    QCOMPARE(valueOf(labelOf(*window_, "turnLabel")), QStringLiteral("Giliran / Turn : Player 2"));
    QCOMPARE(clips_->played.size(), std::size_t{1});

    // A claimed line stays its first owner's, and the turn does not pass.
    fifth->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(ownerSaid(5), QStringLiteral("Player 1"));
    QCOMPARE(valueOf(labelOf(*window_, "turnLabel")), QStringLiteral("Giliran / Turn : Player 2"));
    QCOMPARE(clips_->played.size(), std::size_t{1});

    // A press during a move's sound waits for the move, like a click.
    QAccessibleActionInterface* sixth = accessible(lineImageOf(*window_, 6))->actionInterface();
    clips_->duringPlay = [&] {
      sixth->doAction(QAccessibleActionInterface::pressAction());
      QCOMPARE(ownerSaid(6), QStringLiteral("free"));
    };
    clickLine(*window_, 50);  // Player 2
    QCOMPARE(ownerSaid(6), QStringLiteral("free"));
    QTRY_COMPARE(ownerSaid(6), QStringLiteral("Player 1"));
    QCOMPARE(ownerSaid(50), QStringLiteral("Player 2"));
  }

  // Said in order as they happen, while the keyboard stays on the line under the cursor; a new game
  // silences what the old one had not said yet.
  void eventsAndAnswersAreSaidWithoutMovingTheFocus() {
    if (!QAccessible::isActive()) QSKIP("Qt passes updates on only with an active screen reader");
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    const auto saysNext = [](const char* words) {
      return waitFor([&] { return announcedSoFar(QLatin1String(words)); });
    };
    chooseMode(1);
    play();
    QVERIFY(saysNext("New game, Orang vs Orang. Player 1's turn."));

    pressKey(*window_, Qt::Key_Down);  // the cursor shows on line 1
    pressKey(*window_, Qt::Key_Space);
    QVERIFY(saysNext("Player 1: row 1, column 1, across. Player 2's turn."));
    for (int key : {Qt::Key_Down, Qt::Key_Space, Qt::Key_Right, Qt::Key_Space, Qt::Key_Left, Qt::Key_Down}) {
      pressKey(*window_, key);
    }
    // Two claims with no pause of the event loop between them come out in one breath.
    QVERIFY(saysNext("Player 2: row 1, column 1, down. Player 1: row 1, column 2, down. Player 2's turn."));
    pressKey(*window_, Qt::Key_Space);  // line 16 closes square 1
    QVERIFY(saysNext("Player 2: row 2, column 1, across. Square row 1, column 1. Player 2 has 1."));
    QCOMPARE(cursorLineOf(*window_), 16);

    const struct {
      int key;
      const char* answer;
    } questions[] = {{Qt::Key_S, "Player 1 0, Player 2 1. Player 2's turn"},
                     {Qt::Key_D, "square above: won by Player 2, square below: 1 side"},
                     {Qt::Key_Space, "Taken by Player 2"},
                     {Qt::Key_T, "Game time 0 seconds"}};
    for (const auto& q : questions) {
      if (q.key == Qt::Key_T) {
        auto question = answerNextQuestion(QMessageBox::Ok);
        play();  // the clock starts again
      }
      pressKey(*window_, q.key);
      QCOMPARE(announced.back(), QLatin1String(q.answer));
      QCOMPARE(cursorLineOf(*window_), 16);
    }

    // A claim by mouse right after an answer waits for the answer to be heard; the new game comes first.
    announced.clear();
    clickLine(*window_, 50);
    auto question = answerNextQuestion(QMessageBox::Ok);
    play();
    QVERIFY(question->seen);
    // The offscreen platform leaves no window active after a question; a desktop gives the main window
    // back its activation.
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    // Had it been kept, the claim would have come out before the new game, or with it in one breath.
    QVERIFY(saysNext("New game, Orang vs Orang. Player 1's turn."));
    for (const QString& said : announced)
      QVERIFY2(!said.contains(QStringLiteral("row 4, column 5")), qPrintable(said));
  }

  // The winner window, which takes the keyboard as it comes up, reads out the last moves after its verdict
  // and ends with the final score.
  void theWinnerWindowTellsTheEndAndTheFinalScore() {
    if (!QAccessible::isActive()) QSKIP("Qt passes updates on only with an active screen reader");
    chooseMode(1);
    play();
    for (int line = 1; line <= 112; ++line) clickLine(*window_, line);  // Player 2 wins every square
    QVERIFY(window_->winnerWindow() != nullptr);
    const QString told = descriptionOf(window_->winnerWindow());
    QVERIFY2(told.startsWith(QStringLiteral("Player 2 adalah Raja Kubur. ")), qPrintable(told));
    QVERIFY2(told.endsWith(QStringLiteral(
                 "ow 8, column 7, across. Square row 7, column 7. Player 2 has 49. Player 2 wins, 49 to 0.")),
             qPrintable(told));
  }

  // F10, then Right from one menu to the next: the reader hears the menus, never the line under the cursor
  // in between.
  void theMenusKeepTheKeyboardFromTheBoard() {
    if (!QAccessible::isActive()) QSKIP("Qt passes updates on only with an active screen reader");
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    pressKey(*window_, Qt::Key_Down);
    QCOMPARE(cursorLineOf(*window_), 1);
    heard.clear();
    pressKey(*window_, Qt::Key_F10);
    auto* gameMenu = window_->findChild<QMenu*>(QStringLiteral("gameMenu"));
    auto* settingsMenu = window_->findChild<QMenu*>(QStringLiteral("settingsMenu"));
    QVERIFY(waitFor([&] { return gameMenu->isVisible(); }));
    QTest::keyClick(gameMenu, Qt::Key_Right);
    QVERIFY(waitFor([&] { return settingsMenu->isVisible() && !gameMenu->isVisible(); }));
    QVERIFY(runPostedEvents());
    QVERIFY(!heardOf(lineImageOf(*window_, 1), QAccessible::Focus));
    QTest::keyClick(settingsMenu, Qt::Key_Escape);
    QTest::keyClick(window_->menuBar(), Qt::Key_Escape);
    QVERIFY(waitFor([&] { return cursorLineOf(*window_) == 1; }));  // back on the board
  }

 private:
  void play() { itemOf(*window_, "playAction")->trigger(); }
  // Whose a line is, as its name ends: "free" or the owner's name.
  QString ownerSaid(int line) const {
    return nameOf(lineImageOf(*window_, line)).section(QStringLiteral(": "), 1);
  }
  void chooseMode(int mode) {
    itemOf(*window_, mode == 1 ? "personVsPersonAction" : "personVsComputerAction")->trigger();
  }

  QAccessible::UpdateHandler previousHandler_ = nullptr;
  std::unique_ptr<TestSound> clips_;
  std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
