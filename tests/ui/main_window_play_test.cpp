// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Playing through the main window: starting and restarting games, the questions asked on the way, line
// clicks and keys, the computer's answer, the sound switch, leaving, and input that arrives in the middle
// of a move.
#include <QAction>
#include <QProxyStyle>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "ui/clickable_image.h"
#include "ui_test_support.h"

using namespace nokturna;
using namespace nokturna::testing;

namespace {
const QString kTurnPlayer1 = QStringLiteral("Giliran / Turn : Player 1");
const QString kTurnPlayer2 = QStringLiteral("Giliran / Turn : Player 2");
const QString kTurnComputer = QStringLiteral("Giliran / Turn : Daviz Edezo");
}  // namespace

class MainWindowPlayTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(OpenMainWindow(clips_, window_)); }
  void cleanup() { CloseMainWindow(clips_, window_); }

  void lineClickBeforeAnyGameDoesNothing() {
    clickLine(*window_, 5);
    QVERIFY(shows(lineImageOf(*window_, 5), linePictureOf(false, true)));
    QCOMPARE(turnText(), QStringLiteral("Welcome to Nokturna 1.0"));
    QVERIFY(clips_->played.empty());
  }

  void playBetweenGamesClearsTheBoardWithoutAsking() {
    auto question = answerNextQuestion(QMessageBox::Cancel);
    window_->clockMoved(0, 1, 15);  // as a last game may have left it
    play();
    QVERIFY(!question->seen);
    QCOMPARE(drawnLines(*window_), 0);
    for (int square = 1; square <= 49; ++square) QVERIFY(isBlank(markerOf(*window_, square)));
    QCOMPARE(turnText(), kTurnPlayer1);
    QCOMPARE(labelOf(*window_, "playerOneScoreLabel")->text(), QStringLiteral(" 0"));
    QCOMPARE(labelOf(*window_, "opponentScoreLabel")->text(), QStringLiteral(" 0"));
    QVERIFY(timer("clockTicker")->isActive());
    QVERIFY(!timer("computerPause")->isActive());
    // The clock shows the last game's time until its first tick.
    QCOMPARE(labelOf(*window_, "clockLabel")->text(), QStringLiteral("00:01:15"));
  }

  void clickedLineTurnsBlueAndTurnPasses() {
    chooseMode(1);
    play();
    clickLine(*window_, 8);  // vertical, left edge
    QVERIFY(shows(lineImageOf(*window_, 8), linePictureOf(false, false)));
    QCOMPARE(turnText(), kTurnPlayer2);
    QCOMPARE(clips_->played, std::vector<int>{1});

    clickLine(*window_, 1);  // the second person draws green
    QVERIFY(shows(lineImageOf(*window_, 1), linePictureOf(true, true)));
    QCOMPARE(turnText(), kTurnPlayer1);
  }

  void clickOnATakenLineIsIgnored() {
    chooseMode(1);
    play();
    clickLine(*window_, 1);
    clickLine(*window_, 1);
    QVERIFY(shows(lineImageOf(*window_, 1), linePictureOf(false, true)));
    QCOMPARE(turnText(), kTurnPlayer2);
    QCOMPARE(clips_->played.size(), std::size_t{1});
  }

  void closingASquareScoresAndKeepsTheTurn() {
    chooseMode(1);
    play();
    clickLine(*window_, 1);  // Player 1
    clickLine(*window_, 8);  // Player 2
    clickLine(*window_, 9);  // Player 1
    // The line shows and sounds before its square and the score do.
    bool lineBeforeSquare = false;
    clips_->duringPlay = [&] {
      lineBeforeSquare = shows(lineImageOf(*window_, 16), linePictureOf(true, true)) &&
                         isBlank(markerOf(*window_, 1)) &&
                         labelOf(*window_, "opponentScoreLabel")->text() == QStringLiteral(" 0");
    };
    clickLine(*window_, 16);  // Player 2 closes square 1
    QVERIFY(lineBeforeSquare);
    QVERIFY(shows(markerOf(*window_, 1), resourcePicture("disc_green.png")));
    QCOMPARE(labelOf(*window_, "opponentScoreLabel")->text(), QStringLiteral("1"));
    QCOMPARE(turnText(), kTurnPlayer2);
  }

  void theCursorShowsOnTheFirstKeyAndHidesOnAMousePress() {
    QWidget* glow = window_->findChild<QWidget*>(QStringLiteral("cursorGlow"));
    QVERIFY(!glow->isVisible());
    QCOMPARE(window_->focusWidget(), window_->centralWidget());
    pressKey(*window_, Qt::Key_Down);  // shows it on line 1, without moving it
    QCOMPARE(cursorLineOf(*window_), 1);
    QVERIFY(glow->isVisible());
    for (int key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Down}) pressKey(*window_, key);
    QCOMPARE(cursorLineOf(*window_), 17);
    const QRect line = lineImageOf(*window_, 17)->geometry();
    QVERIFY(glow->geometry().contains(line) && glow->geometry() != line);  // around the line

    QTest::mouseClick(markerOf(*window_, 30), Qt::LeftButton);
    QVERIFY(!glow->isVisible());
    QCOMPARE(window_->focusWidget(), window_->centralWidget());
    pressKey(*window_, Qt::Key_Left);  // back where it was
    QCOMPARE(cursorLineOf(*window_), 17);
    pressKey(*window_, Qt::Key_End);
    QCOMPARE(cursorLineOf(*window_), 112);
  }

  void spaceAndEnterClaimLikeAClick_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("mode");
    QTest::newRow("Space, person against person") << int(Qt::Key_Space) << 1;
    QTest::newRow("Enter, person against person") << int(Qt::Key_Return) << 1;
    QTest::newRow("Space, against the computer") << int(Qt::Key_Space) << 2;
    QTest::newRow("keypad Enter, against the computer") << int(Qt::Key_Enter) << 2;
  }
  void spaceAndEnterClaimLikeAClick() {
    QFETCH(int, key);
    QFETCH(int, mode);
    chooseMode(mode);
    pressKey(*window_, key);  // shows the cursor on line 1
    pressKey(*window_, key);  // before any game: nothing
    QVERIFY(clips_->played.empty());

    play();
    timer("computerPause")->setInterval(kPatienceMs);  // the computer stays to move throughout
    // A claim keyed in during the move's sound waits for the move, like a click, and claims the line the
    // cursor was on when it was keyed.
    bool heldBack = false;
    clips_->duringPlay = [&] {
      for (int next : {int(Qt::Key_Right), key, int(Qt::Key_Right)}) pressKey(*window_, next);
      heldBack = isBlank(lineImageOf(*window_, 2));
    };
    pressKey(*window_, key);
    QVERIFY(heldBack);
    QVERIFY(shows(lineImageOf(*window_, 1), linePictureOf(false, true)));
    QVERIFY(runPostedEvents());
    // Player 2's move, or nothing on the computer's turn; never the line the cursor went on to.
    QVERIFY(mode == 1 ? shows(lineImageOf(*window_, 2), linePictureOf(true, true))
                      : isBlank(lineImageOf(*window_, 2)));
    QVERIFY(isBlank(lineImageOf(*window_, 3)));
    QCOMPARE(clips_->played, std::vector<int>(mode == 1 ? 2 : 1, 1));
    QCOMPARE(cursorLineOf(*window_), 3);  // a claim leaves the cursor where it is

    pressKey(*window_, Qt::Key_Home);  // a claimed line: nothing
    pressKey(*window_, key);
    QCOMPARE(clips_->played.size(), std::size_t(mode == 1 ? 2 : 1));
  }

  void computerAnswersAQuarterSecondLater() {
    play();
    clickLine(*window_, 1);
    // The computer's line sounds the moment it is claimed; by then its quarter-second pause has run out
    // (the pause's tick stops the timer before the computer moves).
    bool pauseRunningAtMove = true;
    clips_->duringPlay = [&] { pauseRunningAtMove = timer("computerPause")->isActive(); };
    QCOMPARE(turnText(), kTurnComputer);
    QVERIFY(timer("computerPause")->isActive());
    QCOMPARE(timer("computerPause")->interval(), 250);

    // The person cannot move while the computer is to move.
    clickLine(*window_, 112);
    QVERIFY(!shows(lineImageOf(*window_, 112), linePictureOf(false, true)));
    QCOMPARE(drawnLines(*window_), 1);

    QTRY_COMPARE_WITH_TIMEOUT(drawnLines(*window_), 2, kPatienceMs);
    QVERIFY(!pauseRunningAtMove);
    QCOMPARE(turnText(), kTurnPlayer1);
    QVERIFY(!timer("computerPause")->isActive());
    QCOMPARE(clips_->played, (std::vector<int>{1, 1}));
    QVERIFY(!shows(lineImageOf(*window_, 112), linePictureOf(false, true)));
  }

  void playDuringAGameAsksAndCancelKeepsIt() {
    chooseMode(1);
    play();
    clickLine(*window_, 3);
    auto question = answerNextQuestion(QMessageBox::Cancel);
    itemOf(*window_, "playAction")->trigger();
    QVERIFY(question->seen);
    QCOMPARE(question->text, QStringLiteral("Mau Ngulang game ape takut KO ??"));
    QCOMPARE(question->title, QStringLiteral("Ehem.. Ngulang-ngulanglu kayak cebok !!"));
    QCOMPARE(question->buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(question->icon, QMessageBox::NoIcon);
    QVERIFY(question->defaultIsFirst);
    QCOMPARE(drawnLines(*window_), 1);
    QCOMPARE(turnText(), kTurnPlayer2);

    question = answerNextQuestion(QMessageBox::Ok);
    itemOf(*window_, "playAction")->trigger();
    QVERIFY(question->seen);
    QCOMPARE(drawnLines(*window_), 0);
    QCOMPARE(turnText(), kTurnPlayer1);
  }

  void modeChangeBetweenGamesSwitchesSilently() {
    auto question = answerNextQuestion(QMessageBox::No);
    itemOf(*window_, "personVsPersonAction")->trigger();
    QVERIFY(!question->seen);
    QVERIFY(itemOf(*window_, "personVsPersonAction")->isChecked());
    QVERIFY(!itemOf(*window_, "personVsComputerAction")->isChecked());
    QCOMPARE(turnText(), QStringLiteral("Welcome to Nokturna 1.0"));  // no game started

    // The mode already chosen changes nothing, and its mark stays.
    itemOf(*window_, "personVsPersonAction")->trigger();
    QVERIFY(itemOf(*window_, "personVsPersonAction")->isChecked());
    QVERIFY(!itemOf(*window_, "personVsComputerAction")->isChecked());
  }

  void modeChangeDuringAGameAsksYesOrNo() {
    play();
    clickLine(*window_, 3);
    QTRY_COMPARE_WITH_TIMEOUT(turnText(), kTurnPlayer1, kPatienceMs);  // the computer has answered
    auto question = answerNextQuestion(QMessageBox::No);
    itemOf(*window_, "personVsPersonAction")->trigger();
    QVERIFY(question->seen);
    QCOMPARE(question->text, QStringLiteral("If you change this mode you must restart the game"));
    QCOMPARE(question->title, QStringLiteral("Caution !!"));
    QCOMPARE(question->buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question->icon, QMessageBox::NoIcon);
    QVERIFY(!itemOf(*window_, "personVsPersonAction")->isChecked());
    QVERIFY(itemOf(*window_, "personVsComputerAction")->isChecked());
    QCOMPARE(drawnLines(*window_), 2);

    question = answerNextQuestion(QMessageBox::Yes);
    itemOf(*window_, "personVsPersonAction")->trigger();
    QVERIFY(question->seen);
    QVERIFY(itemOf(*window_, "personVsPersonAction")->isChecked());
    QVERIFY(!itemOf(*window_, "personVsComputerAction")->isChecked());
    QCOMPARE(drawnLines(*window_), 0);
    QCOMPARE(turnText(), kTurnPlayer1);
    clickLine(*window_, 3);
    QCOMPARE(turnText(), kTurnPlayer2);  // the new game is person against person
  }

  void soundSwitchMovesMarksAndSilencesMoves() {
    chooseMode(1);
    itemOf(*window_, "soundOffAction")->trigger();
    QVERIFY(!itemOf(*window_, "soundOnAction")->isChecked());
    QVERIFY(itemOf(*window_, "soundOffAction")->isChecked());
    QVERIFY(!window_->soundEffectsOn());
    play();
    clickLine(*window_, 1);
    QVERIFY(clips_->played.empty());

    itemOf(*window_, "soundOnAction")->trigger();
    QVERIFY(itemOf(*window_, "soundOnAction")->isChecked());
    QVERIFY(!itemOf(*window_, "soundOffAction")->isChecked());
    QVERIFY(window_->soundEffectsOn());
    clickLine(*window_, 2);
    QCOMPARE(clips_->played, std::vector<int>{1});

    // Choosing the item already marked keeps things as they are.
    itemOf(*window_, "soundOnAction")->trigger();
    QVERIFY(itemOf(*window_, "soundOnAction")->isChecked());
    QVERIFY(!itemOf(*window_, "soundOffAction")->isChecked());
  }

  void aMoveYieldsOnceAsItsLineSoundsAndNeverWithSoundOff() {
    chooseMode(1);
    play();
    // An event already queued when a move begins sees the move half done if the move yields: its line
    // drawn, its turn not yet passed.
    QString turnSeen;
    bool lineSeen = false;
    const auto queueLook = [&](int line) {
      turnSeen.clear();
      QMetaObject::invokeMethod(
          window_.get(),
          [&, line] {
            turnSeen = turnText();
            lineSeen = !isBlank(lineImageOf(*window_, line));
          },
          Qt::QueuedConnection);
    };
    queueLook(1);
    clickLine(*window_, 1);
    QCOMPARE(turnSeen, kTurnPlayer1);
    QVERIFY(lineSeen);

    itemOf(*window_, "soundOffAction")->trigger();
    queueLook(2);
    clickLine(*window_, 2);
    QCOMPARE(turnSeen, QString());
    QVERIFY(runPostedEvents());
    QCOMPARE(turnSeen, kTurnPlayer1);  // Player 2 has moved, and the turn is back
  }

  void clickDuringAMovesSoundWaitsForTheMove() {
    chooseMode(1);
    play();
    bool deliveredDuringSound = false;
    auto* second = qobject_cast<ClickableImage*>(lineImageOf(*window_, 2));
    QVERIFY(second != nullptr);
    QObject::connect(second, &ClickableImage::clicked, this, [&] { deliveredDuringSound = true; });
    clips_->duringPlay = [&] {
      clickLine(*window_, 2);
      QVERIFY(deliveredDuringSound);
      QVERIFY(isBlank(lineImageOf(*window_, 2)));  // not inside the unfinished move
    };

    clickLine(*window_, 1);
    QVERIFY(deliveredDuringSound);
    // Player 1's move is complete before the held click is looked at.
    QVERIFY(shows(lineImageOf(*window_, 1), linePictureOf(false, true)));
    QCOMPARE(turnText(), kTurnPlayer2);
    QVERIFY(isBlank(lineImageOf(*window_, 2)));

    // Then the click is handled as the next move, which is Player 2's.
    QTRY_VERIFY(shows(lineImageOf(*window_, 2), linePictureOf(true, true)));
    QCOMPARE(turnText(), kTurnPlayer1);
    QCOMPARE(clips_->played, (std::vector<int>{1, 1}));
  }

  void menuCommandDuringAMoveWaitsForTheMove() {
    chooseMode(1);
    play();
    clips_->duringPlay = [&] {
      itemOf(*window_, "soundOffAction")->trigger();
      QVERIFY(window_->soundEffectsOn());
      QVERIFY(itemOf(*window_, "soundOnAction")->isChecked());
      QVERIFY(!itemOf(*window_, "soundOffAction")->isChecked());
    };
    clickLine(*window_, 1);
    QCOMPARE(turnText(), kTurnPlayer2);
    QTRY_VERIFY(!window_->soundEffectsOn());
    QVERIFY(itemOf(*window_, "soundOffAction")->isChecked());
    QVERIFY(!itemOf(*window_, "soundOnAction")->isChecked());
  }

  void questionButtonsCarryNoIconsWhateverTheStyle() {
    // A style that, like some desktop themes, puts an icon on every dialog button.
    struct ButtonIconStyle : QProxyStyle {
      int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                    QStyleHintReturn* returned) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 1;
        return QProxyStyle::styleHint(hint, option, widget, returned);
      }
    };
    const QString previous = QApplication::style()->name();
    QApplication::setStyle(new ButtonIconStyle);
    QMessageBox plain(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Ok);
    QVERIFY(!plain.button(QMessageBox::Ok)->icon().isNull());

    auto question = answerNextQuestion(QMessageBox::Cancel);
    itemOf(*window_, "exitAction")->trigger();
    QApplication::setStyle(previous);
    QVERIFY(question->seen);
    QVERIFY(!question->buttonIcons);
  }

  void exitAsksAndOnlyOkCloses() {
    QSignalSpy lastWindow(qApp, &QGuiApplication::lastWindowClosed);
    chooseMode(1);
    play();
    clickLine(*window_, 1);

    auto question = answerNextQuestion(QMessageBox::Cancel);
    itemOf(*window_, "exitAction")->trigger();
    QVERIFY(question->seen);
    QCOMPARE(question->text,
             QStringLiteral("Mohon maaf, apa benar Anda mau kembali ke habitat asli di rawa ??"));
    QCOMPARE(question->title, QStringLiteral("Ooouupss, what's wrong !!"));
    QCOMPARE(question->buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(question->icon, QMessageBox::NoIcon);
    QVERIFY(question->defaultIsFirst);
    QVERIFY(window_->isVisible());
    QCOMPARE(turnText(), kTurnPlayer2);
    QVERIFY(timer("clockTicker")->isActive());

    question = answerNextQuestion(QMessageBox::NoButton);  // Esc
    itemOf(*window_, "exitAction")->trigger();
    QVERIFY(question->seen);
    QVERIFY(window_->isVisible());

    // OK closes the window the orderly way, and with it the program ends with status 0.
    QTimer giveUp;
    giveUp.setSingleShot(true);
    connect(&giveUp, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    giveUp.start(kPatienceMs);
    QTimer::singleShot(0, window_.get(), [&] {
      question = answerNextQuestion(QMessageBox::Ok);
      itemOf(*window_, "exitAction")->trigger();
    });
    const int status = QApplication::exec();
    giveUp.stop();
    QVERIFY(question->seen);
    QCOMPARE(status, 0);
    QVERIFY(!window_->isVisible());
    QCOMPARE(lastWindow.count(), 1);
  }

 private:
  QString turnText() const { return labelOf(*window_, "turnLabel")->text(); }
  QTimer* timer(const char* name) const { return window_->findChild<QTimer*>(QLatin1String(name)); }
  void play() { itemOf(*window_, "playAction")->trigger(); }
  void chooseMode(int mode) {
    itemOf(*window_, mode == 1 ? "personVsPersonAction" : "personVsComputerAction")->trigger();
  }

  std::unique_ptr<TestSound> clips_;
  std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(MainWindowPlayTest)
#include "main_window_play_test.moc"
