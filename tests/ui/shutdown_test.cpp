// Leaving the game: closing the main window, or "&I want out !!" answered with OK, silences the music and
// then closes the how-to-play, About and winner windows, in that order, and the program ends with
// status 0 and no window left.
#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <string>
#include <vector>

#include "audio/music_player.h"
#include "tests/audio/recording_music_engine.h"
#include "ui/about_window.h"
#include "ui/how_to_play_window.h"
#include "ui/winner_window.h"
#include "ui_test_support.h"

using namespace nokturna;
using namespace nokturna::testing;

namespace {

// Notes the close of every window it watches, by the window's name, in the music engine's record, so
// that one list shows what happened in which order.
class CloseWatcher : public QObject {
 public:
  explicit CloseWatcher(std::vector<std::string>& log) : log_(log) {}
  void watch(QWidget* window) { window->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close) log_.push_back(watched->objectName().toStdString());
    return false;
  }

 private:
  std::vector<std::string>& log_;
};

}  // namespace

class ShutdownTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    clips_ = std::make_unique<ClipRecorder>();
    music_ = std::make_unique<RecordingMusicEngine>();
    SetMusicEngine(music_.get());
    InitMusic();
    QVERIFY(MusicReady());
    window_ = std::make_unique<MainWindow>();  // finds the song folder
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    // A song is sounding when the game is left.
    LoadSong(1);
    PlaySong();
    song_ = soundingSong();
    QVERIFY(music_->sounding(song_));
    music_->calls().clear();
  }
  void cleanup() {
    window_.reset();
    SetMusicEngine(nullptr);
    music_.reset();
    clips_.reset();
  }

  void closingTheMainWindowStopsTheMusicThenClosesEveryOtherWindowInOrder() {
    openAllSecondaryWindows();

    QVERIFY(window_->close());  // what the close button does; it asks nothing
    QCOMPARE(shutdownSteps(), kInOrder);
    QVERIFY(!music_->sounding(song_));
    QTRY_VERIFY(secondaries_[0].isNull() && secondaries_[1].isNull() && secondaries_[2].isNull());
    for (const QWidget* top : QApplication::topLevelWidgets()) QVERIFY(!top->isVisible());
  }

  void closingWithNoMusicAndNoOtherWindowEndsQuietly() {
    SetMusicEngine(nullptr);
    music_->calls().clear();
    QVERIFY(window_->close());
    QVERIFY(music_->calls().empty());
    QVERIFY(!window_->isVisible());
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
    QCOMPARE(shutdownSteps(), kInOrder);
    QVERIFY(!music_->sounding(song_));
    QVERIFY(!window_->isVisible());
    // Deleted as the loop wound up, before the program would have gone on past it.
    QVERIFY(secondaries_[0].isNull() && secondaries_[1].isNull() && secondaries_[2].isNull());
  }

 private:
  // The music shutdown (song stopped, the module no longer ready), then the three windows.
  inline static const std::vector<std::string> kInOrder{"music", "howToPlayWindow", "aboutWindow",
                                                        "winnerWindow"};

  // The song file the engine was told to play last.
  std::string soundingSong() const {
    const std::string play = "Play(";
    for (auto call = music_->calls().rbegin(); call != music_->calls().rend(); ++call) {
      if (call->rfind(play, 0) == 0) return call->substr(play.size(), call->size() - play.size() - 1);
    }
    return {};
  }

  // What the engine and the watched windows saw, every run of music calls folded into one "music".
  std::vector<std::string> shutdownSteps() const {
    std::vector<std::string> steps;
    bool stopped = false;
    for (const std::string& call : music_->calls()) {
      const bool window = call == "howToPlayWindow" || call == "aboutWindow" || call == "winnerWindow";
      stopped = stopped || call == "Stop";
      const std::string step = window ? call : std::string("music");
      if (steps.empty() || steps.back() != step) steps.push_back(step);
    }
    if (!stopped || MusicReady()) steps.insert(steps.begin(), "music not shut down");
    return steps;
  }

  void openAllSecondaryWindows() {
    itemOf(*window_, "howToPlayAction")->trigger();
    itemOf(*window_, "aboutAction")->trigger();
    window_->gameEnded(Side::PlayerOne);
    secondaries_ = {window_->howToPlayWindow(), window_->aboutWindow(), window_->winnerWindow()};
    watcher_ = std::make_unique<CloseWatcher>(music_->calls());
    for (const QPointer<QWidget>& secondary : secondaries_) {
      QVERIFY(secondary != nullptr);
      QVERIFY(secondary->isVisible());
      watcher_->watch(secondary.data());
    }
    music_->calls().clear();
  }

  std::unique_ptr<ClipRecorder> clips_;
  std::unique_ptr<RecordingMusicEngine> music_;
  std::string song_;
  std::vector<QPointer<QWidget>> secondaries_;
  std::unique_ptr<CloseWatcher> watcher_;
  std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(ShutdownTest)
#include "shutdown_test.moc"
