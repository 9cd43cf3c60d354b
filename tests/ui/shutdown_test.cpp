// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Leaving the game: closing the main window, or "&I want out !!" answered with OK, silences the music and
// then closes the how-to-play, About and winner windows, in that order, and the program ends with
// status 0 and no window left.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <string>
#include <vector>

#include "ui/about_window.h"
#include "ui/how_to_play_window.h"
#include "ui/winner_window.h"
#include "ui_test_support.h"

using namespace nokturna;
using namespace nokturna::testing;

namespace {

// Notes the close of every window it watches, by the window's name, with what the music did then.
class CloseWatcher : public QObject {
 public:
  explicit CloseWatcher(const FakeMusicEngine& music) : music_(music) {}
  void watch(QWidget* window) { window->installEventFilter(this); }

  std::vector<std::string> closed;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close) {
      closed.push_back(watched->objectName().toStdString() + (music_.song().empty() ? "" : ", music on"));
    }
    return false;
  }

 private:
  const FakeMusicEngine& music_;
};

}  // namespace

class ShutdownTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    // A song is sounding when the game is left.
    QVERIFY(QDir(programFolder_.path()).mkpath(QStringLiteral("SongAlbum")));
    QFile song(programFolder_.path() + QStringLiteral("/SongAlbum/Music1.mid"));
    QVERIFY(song.open(QIODevice::WriteOnly));
    open(programFolder_.path());
    QVERIFY(!sound_->music.song().empty());
  }
  void cleanup() {
    window_.reset();
    watcher_.reset();
    sound_.reset();
  }

  void closingTheMainWindowStopsTheMusicThenClosesEveryOtherWindowInOrder() {
    openAllSecondaryWindows();

    QVERIFY(window_->close());  // what the close button does; it asks nothing
    QCOMPARE(watcher_->closed, kInOrder);
    QCOMPARE(sound_->music.song(), std::string());
    QTRY_VERIFY(secondaries_[0].isNull() && secondaries_[1].isNull() && secondaries_[2].isNull());
    for (const QWidget* top : QApplication::topLevelWidgets()) QVERIFY(!top->isVisible());
  }

  void closingWithNoMusicAndNoOtherWindowEndsQuietly() {
    window_.reset();
    open(QCoreApplication::applicationDirPath());  // no songs there
    QVERIFY(window_->close());
    QVERIFY(!window_->isVisible());
    QCOMPARE(sound_->music.beginnings(), 0);
  }

  void exitAnsweredOkGoesTheSameOrderlyWayAndEndsTheLoopWithStatusZero() {
    itemOf(*window_, "playAction")->trigger();
    clickLine(*window_, 1);
    openAllSecondaryWindows();

    QTimer giveUp;
    giveUp.setSingleShot(true);
    connect(&giveUp, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    giveUp.start(5000);
    std::unique_ptr<QuestionAnswerer> question;
    QTimer::singleShot(0, window_.get(), [&] {
      question = answerNextQuestion(QMessageBox::Ok);
      itemOf(*window_, "exitAction")->trigger();
    });
    const int status = QApplication::exec();
    giveUp.stop();

    QVERIFY(question && question->seen);
    QCOMPARE(status, 0);
    QCOMPARE(watcher_->closed, kInOrder);
    QCOMPARE(sound_->music.song(), std::string());
    QVERIFY(!window_->isVisible());
    // Deleted as the loop wound up, before the program would have gone on past it.
    QVERIFY(secondaries_[0].isNull() && secondaries_[1].isNull() && secondaries_[2].isNull());
  }

 private:
  // The windows close in this order, each with the music silent already.
  inline static const std::vector<std::string> kInOrder{"howToPlayWindow", "aboutWindow", "winnerWindow"};

  void open(const QString& programFolder) {
    sound_ = std::make_unique<TestSound>(programFolder);
    window_ = std::make_unique<MainWindow>(sound_->sound);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }

  void openAllSecondaryWindows() {
    itemOf(*window_, "howToPlayAction")->trigger();
    itemOf(*window_, "aboutAction")->trigger();
    window_->gameEnded(Side::PlayerOne);
    secondaries_ = {window_->howToPlayWindow(), window_->aboutWindow(), window_->winnerWindow()};
    watcher_ = std::make_unique<CloseWatcher>(sound_->music);
    for (const QPointer<QWidget>& secondary : secondaries_) {
      QVERIFY(secondary != nullptr);
      QVERIFY(secondary->isVisible());
      watcher_->watch(secondary.data());
    }
  }

  QTemporaryDir programFolder_;
  std::unique_ptr<TestSound> sound_;
  std::vector<QPointer<QWidget>> secondaries_;
  std::unique_ptr<CloseWatcher> watcher_;
  std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(ShutdownTest)
#include "shutdown_test.moc"
