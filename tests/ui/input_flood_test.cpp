// A flood of input at the worst moments: clicks on every kind of line and menu commands queued while the
// computer's pause runs and from inside a move's sound call. Whatever arrives, every move is made by the
// side whose turn it is, on a free line, one line at a time; nothing crashes and no error is shown.
#include <QAction>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <random>
#include <set>
#include <string>

#include "engine/new_game.h"
#include "opponent/play_modes.h"
#include "ui_test_support.h"

using namespace nokturna;
using namespace nokturna::testing;

namespace {

// The main window with every move it makes checked on the way through.
class WatchedWindow : public form1 {
 public:
  void setCaption(Label label, const std::string& text) override {
    if (label == Label::commentlbl) {
      for (int side : {kPlayer1, kPlayer2, kComputer}) {
        if (text == "Giliran / Turn : " + names[side]) turn = side;
      }
    }
    form1::setCaption(label, text);
  }

  void setLinePicture(int line, int slot, int kind) override {
    if (slot == 0) {
      // A new game clears the board.
      drawn.erase(line);
      form1::setLinePicture(line, slot, kind);
      return;
    }
    ++moves;
    if (drawn.count(line) != 0) faults.push_back("line " + std::to_string(line) + " claimed twice");
    if (slot != turn) {
      faults.push_back("side " + std::to_string(slot) + " moved on side " + std::to_string(turn) + "'s turn");
    }
    // The computer moves only from its tick, which stops the pause before it moves; a computer move with
    // the pause still running came from somewhere else (a click, a menu command).
    if (slot == kComputer && pauseRunning) faults.push_back("the computer moved before its pause was over");
    drawn.insert(line);
    form1::setLinePicture(line, slot, kind);
    if (drawnLines(*this) != static_cast<int>(drawn.size())) {
      faults.push_back("the board shows " + std::to_string(drawnLines(*this)) + " lines after " +
                       std::to_string(drawn.size()));
    }
  }

  void setTimerEnabled(Timer timer, bool enabled) override {
    if (timer == Timer::Timer1) pauseRunning = enabled;
    form1::setTimerEnabled(timer, enabled);
  }

  void setWinnerCaption(const std::string& text) override {
    if (drawn.size() != 112)
      faults.push_back("a winner with " + std::to_string(drawn.size()) + " lines drawn");
    ++gamesEnded;
    form1::setWinnerCaption(text);
  }

  std::array<std::string, 4> names{"", "Player 1", "Daviz Edezo", "Player 2"};
  int turn = 0;
  std::set<int> drawn;
  int moves = 0;
  int gamesEnded = 0;
  bool pauseRunning = false;
  std::vector<std::string> faults;
};

}  // namespace

class InputFloodTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    clips_ = std::make_unique<ClipRecorder>();
    window_ = std::make_unique<WatchedWindow>();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    // A short pause keeps the test quick; the pause is pending all the same while the flood arrives.
    timer1_ = window_->findChild<QTimer*>(QStringLiteral("Timer1"));
    QVERIFY(timer1_ != nullptr);
    timer1_->setInterval(3);
    // Every question is declined (Esc), every message box remembered.
    connect(&dismisser_, &QTimer::timeout, this, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible()) return;
      boxes_.push_back(box->windowTitle());
      if (box->icon() == QMessageBox::Critical || box->icon() == QMessageBox::Warning) {
        window_->faults.push_back("error shown: " + box->text().toStdString());
      }
      QTest::keyClick(box, Qt::Key_Escape);
    });
    dismisser_.start(2);
  }

  void cleanup() {
    dismisser_.stop();
    window_.reset();
    clips_.reset();
  }

  void floodsDuringTheComputersPauseAndTheSoundCallNeverBreakAMove() {
    std::mt19937 chance(20261208);
    // Every command but leaving; the mode and restart questions are declined, so a game runs on.
    const char* commands[] = {"play1", "vsmode1", "vsmode2", "sound11", "sound12", "music11", "music12",
                              "song1", "song2",   "song3",   "song4",   "how1",    "about1"};
    auto randomCommand = [&] {
      return itemOf(*window_, commands[std::uniform_int_distribution<int>(0, 12)(chance)]);
    };
    auto queueFlood = [&](int clicks, int menuCommands) {
      for (int i = 0; i < clicks; ++i) postClick(std::uniform_int_distribution<int>(1, 112)(chance));
      for (int i = 0; i < menuCommands; ++i)
        QMetaObject::invokeMethod(randomCommand(), "trigger", Qt::QueuedConnection);
      // The flood always ends with the sound back on, so the next move yields to the event loop again.
      QMetaObject::invokeMethod(itemOf(*window_, "sound11"), "trigger", Qt::QueuedConnection);
    };
    std::function<void()> floodFromInsidePlay = [&] {
      if (!window_->faults.empty()) return;  // a broken move could multiply the flood without end
      queueFlood(8, 2);
      randomCommand()->trigger();  // at once, from inside the move
      clickLine(*window_, std::uniform_int_distribution<int>(1, 112)(chance));
      clips_->duringPlay = floodFromInsidePlay;
    };
    clips_->duringPlay = floodFromInsidePlay;

    itemOf(*window_, "play1")->trigger();
    QElapsedTimer elapsed;
    elapsed.start();
    while (window_->gamesEnded < 3 && elapsed.elapsed() < 90000) {
      if (timer1_->isActive())
        queueFlood(20, 3);  // while the computer's pause is pending
      else
        queueFlood(6, 1);
      QTest::qWait(1);
      if (!window_->faults.empty()) break;
      // Between games, start the next one.
      if (window_->drawn.size() == 112) itemOf(*window_, "play1")->trigger();
    }
    clips_->duringPlay = nullptr;
    QTest::qWait(20);

    for (const std::string& fault : window_->faults) qWarning("%s", fault.c_str());
    QVERIFY(window_->faults.empty());
    QVERIFY2(window_->gamesEnded >= 3,
             qPrintable(QStringLiteral("%1 games in 90 s").arg(window_->gamesEnded)));
    QVERIFY(window_->moves >= 3 * 112);
    const QString known[] = {QString::fromStdString(kRestartQuestion.title),
                             QString::fromStdString(kModeChangeQuestion.title)};
    for (const QString& title : boxes_) QVERIFY2(title == known[0] || title == known[1], qPrintable(title));
  }

 private:
  void postClick(int line) {
    QLabel* image = boxOf(*window_, line);
    const QPointF at(1, 1);
    QCoreApplication::postEvent(image, new QMouseEvent(QEvent::MouseButtonPress, at, image->mapToGlobal(at),
                                                       Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(image, new QMouseEvent(QEvent::MouseButtonRelease, at, image->mapToGlobal(at),
                                                       Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
  }

  std::unique_ptr<ClipRecorder> clips_;
  std::unique_ptr<WatchedWindow> window_;
  QTimer* timer1_ = nullptr;
  QTimer dismisser_;
  QStringList boxes_;
};

QTEST_MAIN(InputFloodTest)
#include "input_flood_test.moc"
