// Playing through the main window: starting and restarting games, the questions asked on the way, line
// clicks, the computer's answer, the sound switch, leaving, and input that arrives in the middle of a move.
#include <QAction>
#include <QElapsedTimer>
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
    QVERIFY(shows(boxOf(*window_, 5), linePictureOf(false, true)));
    QCOMPARE(comment(), QStringLiteral("Welcome to Nokturna 1.0"));
    QVERIFY(clips_->played.empty());
  }

  void playBetweenGamesClearsTheBoardWithoutAsking() {
    auto question = answerNextQuestion(QMessageBox::Cancel);
    play();
    QVERIFY(!question->seen);
    QCOMPARE(drawnLines(*window_), 0);
    for (int square = 1; square <= 49; ++square) QVERIFY(isBlank(bolaOf(*window_, square)));
    QCOMPARE(comment(), kTurnPlayer1);
    QCOMPARE(labelOf(*window_, "scorelbl1")->text(), QStringLiteral(" 0"));
    QCOMPARE(labelOf(*window_, "scorelbl2")->text(), QStringLiteral(" 0"));
    QVERIFY(timer("Timer2")->isActive());
    QVERIFY(!timer("Timer1")->isActive());
  }

  void clickedLineTurnsBlueAndTurnPasses() {
    chooseMode(1);
    play();
    clickLine(*window_, 8);  // vertical, left edge
    QVERIFY(shows(boxOf(*window_, 8), linePictureOf(false, false)));
    QCOMPARE(comment(), kTurnPlayer2);
    QCOMPARE(clips_->played, std::vector<int>{1});

    clickLine(*window_, 1);  // the second person draws green
    QVERIFY(shows(boxOf(*window_, 1), linePictureOf(true, true)));
    QCOMPARE(comment(), kTurnPlayer1);
  }

  void clickOnATakenLineIsIgnored() {
    chooseMode(1);
    play();
    clickLine(*window_, 1);
    clickLine(*window_, 1);
    QVERIFY(shows(boxOf(*window_, 1), linePictureOf(false, true)));
    QCOMPARE(comment(), kTurnPlayer2);
    QCOMPARE(clips_->played.size(), std::size_t{1});
  }

  void closingASquareScoresAndKeepsTheTurn() {
    chooseMode(1);
    play();
    clickLine(*window_, 1);   // Player 1
    clickLine(*window_, 8);   // Player 2
    clickLine(*window_, 9);   // Player 1
    clickLine(*window_, 16);  // Player 2 closes square 1
    QVERIFY(shows(bolaOf(*window_, 1), resourcePicture("disc_green.png")));
    QCOMPARE(labelOf(*window_, "scorelbl2")->text(), QStringLiteral("1"));
    QCOMPARE(comment(), kTurnPlayer2);
  }

  void computerAnswersAQuarterSecondLater() {
    play();
    QElapsedTimer sinceMove;
    qint64 computerMovedAfter = -1;
    clickLine(*window_, 1);
    sinceMove.start();
    // The computer's line sounds the moment it is claimed.
    clips_->duringPlay = [&] { computerMovedAfter = sinceMove.elapsed(); };
    QCOMPARE(comment(), kTurnComputer);
    QVERIFY(timer("Timer1")->isActive());

    // The person cannot move while the computer is to move.
    clickLine(*window_, 112);
    QVERIFY(!shows(boxOf(*window_, 112), linePictureOf(false, true)));
    QCOMPARE(drawnLines(*window_), 1);

    QTRY_COMPARE_WITH_TIMEOUT(drawnLines(*window_), 2, 3000);
    QVERIFY2(computerMovedAfter >= 230, qPrintable(QString::number(computerMovedAfter)));
    QCOMPARE(comment(), kTurnPlayer1);
    QVERIFY(!timer("Timer1")->isActive());
    QCOMPARE(clips_->played, (std::vector<int>{1, 1}));
    QVERIFY(!shows(boxOf(*window_, 112), linePictureOf(false, true)));
  }

  void playDuringAGameAsksAndCancelKeepsIt() {
    chooseMode(1);
    play();
    clickLine(*window_, 3);
    auto question = answerNextQuestion(QMessageBox::Cancel);
    itemOf(*window_, "play1")->trigger();
    QVERIFY(question->seen);
    QCOMPARE(question->text, QStringLiteral("Mau Ngulang game ape takut KO ??"));
    QCOMPARE(question->title, QStringLiteral("Ehem.. Ngulang-ngulanglu kayak cebok !!"));
    QCOMPARE(question->buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(question->icon, QMessageBox::NoIcon);
    QVERIFY(question->defaultIsFirst);
    QCOMPARE(drawnLines(*window_), 1);
    QCOMPARE(comment(), kTurnPlayer2);

    question = answerNextQuestion(QMessageBox::Ok);
    itemOf(*window_, "play1")->trigger();
    QVERIFY(question->seen);
    QCOMPARE(drawnLines(*window_), 0);
    QCOMPARE(comment(), kTurnPlayer1);
  }

  void modeChangeBetweenGamesSwitchesSilently() {
    auto question = answerNextQuestion(QMessageBox::No);
    itemOf(*window_, "vsmode1")->trigger();
    QVERIFY(!question->seen);
    QVERIFY(itemOf(*window_, "vsmode1")->isChecked());
    QVERIFY(!itemOf(*window_, "vsmode2")->isChecked());
    QCOMPARE(comment(), QStringLiteral("Welcome to Nokturna 1.0"));  // no game started

    // The mode already chosen changes nothing, and its mark stays.
    itemOf(*window_, "vsmode1")->trigger();
    QVERIFY(itemOf(*window_, "vsmode1")->isChecked());
    QVERIFY(!itemOf(*window_, "vsmode2")->isChecked());
  }

  void modeChangeDuringAGameAsksYesOrNo() {
    play();
    clickLine(*window_, 3);
    QTRY_COMPARE_WITH_TIMEOUT(comment(), kTurnPlayer1, 2000);  // the computer has answered
    auto question = answerNextQuestion(QMessageBox::No);
    itemOf(*window_, "vsmode1")->trigger();
    QVERIFY(question->seen);
    QCOMPARE(question->text, QStringLiteral("If you change this mode you must restart the game"));
    QCOMPARE(question->title, QStringLiteral("Caution !!"));
    QCOMPARE(question->buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question->icon, QMessageBox::NoIcon);
    QVERIFY(!itemOf(*window_, "vsmode1")->isChecked());
    QVERIFY(itemOf(*window_, "vsmode2")->isChecked());
    QCOMPARE(drawnLines(*window_), 2);

    question = answerNextQuestion(QMessageBox::Yes);
    itemOf(*window_, "vsmode1")->trigger();
    QVERIFY(question->seen);
    QVERIFY(itemOf(*window_, "vsmode1")->isChecked());
    QVERIFY(!itemOf(*window_, "vsmode2")->isChecked());
    QCOMPARE(drawnLines(*window_), 0);
    QCOMPARE(comment(), kTurnPlayer1);
    clickLine(*window_, 3);
    QCOMPARE(comment(), kTurnPlayer2);  // the new game is person against person
  }

  void soundSwitchMovesMarksAndSilencesMoves() {
    chooseMode(1);
    itemOf(*window_, "sound12")->trigger();
    QVERIFY(!itemOf(*window_, "sound11")->isChecked());
    QVERIFY(itemOf(*window_, "sound12")->isChecked());
    QVERIFY(!window_->soundOn());
    play();
    clickLine(*window_, 1);
    QVERIFY(clips_->played.empty());

    itemOf(*window_, "sound11")->trigger();
    QVERIFY(itemOf(*window_, "sound11")->isChecked());
    QVERIFY(!itemOf(*window_, "sound12")->isChecked());
    QVERIFY(window_->soundOn());
    clickLine(*window_, 2);
    QCOMPARE(clips_->played, std::vector<int>{1});

    // Choosing the item already marked keeps things as they are.
    itemOf(*window_, "sound11")->trigger();
    QVERIFY(itemOf(*window_, "sound11")->isChecked());
    QVERIFY(!itemOf(*window_, "sound12")->isChecked());
  }

  void clickDuringAMovesSoundWaitsForTheMove() {
    chooseMode(1);
    play();
    bool deliveredDuringSound = false;
    auto* second = qobject_cast<ClickableImage*>(boxOf(*window_, 2));
    QVERIFY(second != nullptr);
    QObject::connect(second, &ClickableImage::clicked, this, [&] { deliveredDuringSound = true; });
    clips_->duringPlay = [&] {
      clickLine(*window_, 2);
      QVERIFY(deliveredDuringSound);
      QVERIFY(isBlank(boxOf(*window_, 2)));  // not inside the unfinished move
    };

    clickLine(*window_, 1);
    QVERIFY(deliveredDuringSound);
    // Player 1's move is complete before the held click is looked at.
    QVERIFY(shows(boxOf(*window_, 1), linePictureOf(false, true)));
    QCOMPARE(comment(), kTurnPlayer2);
    QVERIFY(isBlank(boxOf(*window_, 2)));

    // Then the click is handled as the next move, which is Player 2's.
    QTRY_VERIFY(shows(boxOf(*window_, 2), linePictureOf(true, true)));
    QCOMPARE(comment(), kTurnPlayer1);
    QCOMPARE(clips_->played, (std::vector<int>{1, 1}));
  }

  void menuCommandDuringAMoveWaitsForTheMove() {
    chooseMode(1);
    play();
    clips_->duringPlay = [&] {
      itemOf(*window_, "sound12")->trigger();
      QVERIFY(window_->soundOn());
      QVERIFY(itemOf(*window_, "sound11")->isChecked());
      QVERIFY(!itemOf(*window_, "sound12")->isChecked());
    };
    clickLine(*window_, 1);
    QCOMPARE(comment(), kTurnPlayer2);
    QTRY_VERIFY(!window_->soundOn());
    QVERIFY(itemOf(*window_, "sound12")->isChecked());
    QVERIFY(!itemOf(*window_, "sound11")->isChecked());
  }

  void exitAsksAndOnlyOkCloses() {
    QSignalSpy lastWindow(qApp, &QGuiApplication::lastWindowClosed);
    chooseMode(1);
    play();
    clickLine(*window_, 1);

    auto question = answerNextQuestion(QMessageBox::Cancel);
    itemOf(*window_, "xit1")->trigger();
    QVERIFY(question->seen);
    QCOMPARE(question->text,
             QStringLiteral("Mohon maaf, apa benar Anda mau kembali ke habitat asli di rawa ??"));
    QCOMPARE(question->title, QStringLiteral("Ooouupss, what's wrong !!"));
    QCOMPARE(question->buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(question->icon, QMessageBox::NoIcon);
    QVERIFY(question->defaultIsFirst);
    QVERIFY(window_->isVisible());
    QCOMPARE(comment(), kTurnPlayer2);
    QVERIFY(timer("Timer2")->isActive());

    question = answerNextQuestion(QMessageBox::NoButton);  // Esc
    itemOf(*window_, "xit1")->trigger();
    QVERIFY(question->seen);
    QVERIFY(window_->isVisible());

    // OK closes the window the orderly way, and with it the program ends with status 0.
    QTimer giveUp;
    giveUp.setSingleShot(true);
    connect(&giveUp, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    giveUp.start(5000);
    QTimer::singleShot(0, window_.get(), [&] {
      question = answerNextQuestion(QMessageBox::Ok);
      itemOf(*window_, "xit1")->trigger();
    });
    const int status = QApplication::exec();
    giveUp.stop();
    QVERIFY(question->seen);
    QCOMPARE(status, 0);
    QVERIFY(!window_->isVisible());
    QCOMPARE(lastWindow.count(), 1);
  }

 private:
  QString comment() const { return labelOf(*window_, "commentlbl")->text(); }
  QTimer* timer(const char* name) const { return window_->findChild<QTimer*>(QLatin1String(name)); }
  void play() { itemOf(*window_, "play1")->trigger(); }
  void chooseMode(int mode) { itemOf(*window_, mode == 1 ? "vsmode1" : "vsmode2")->trigger(); }

  std::unique_ptr<ClipRecorder> clips_;
  std::unique_ptr<form1> window_;
};

QTEST_MAIN(MainWindowPlayTest)
#include "main_window_play_test.moc"
