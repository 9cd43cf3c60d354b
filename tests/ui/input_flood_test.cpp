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
#include <optional>
#include <random>
#include <set>
#include <string>

#include "engine/captions.h"
#include "ui_test_support.h"

using namespace nokturna;
using namespace nokturna::testing;

namespace {

// The main window with every move it makes checked on the way through.
class WatchedWindow : public MainWindow {
 public:
  void gameStarted(Side first) override {
    drawn.clear();  // a new game clears the board
    turn = first;
    MainWindow::gameStarted(first);
  }

  void turnPassed(Side side) override {
    turn = side;
    MainWindow::turnPassed(side);
  }

  void lineClaimed(int line, Side side) override {
    ++moves;
    if (drawn.count(line) != 0) faults.push_back("line " + std::to_string(line) + " claimed twice");
    if (turn != side) faults.push_back(SideName(side) + " moved out of turn");
    // The computer moves only once its pause is over, which stops the pause before it moves; a computer
    // move with the pause still running came from somewhere else (a click, a menu command).
    if (side == Side::Computer && findChild<QTimer*>(QStringLiteral("computerPause"))->isActive())
      faults.push_back("the computer moved before its pause was over");
    drawn.insert(line);
    MainWindow::lineClaimed(line, side);
    if (drawnLines(*this) != static_cast<int>(drawn.size())) {
      faults.push_back("the board shows " + std::to_string(drawnLines(*this)) + " lines after " +
                       std::to_string(drawn.size()));
    }
  }

  void gameEnded(Side winner) override {
    if (drawn.size() != 112)
      faults.push_back("a winner with " + std::to_string(drawn.size()) + " lines drawn");
    ++gamesEnded;
    MainWindow::gameEnded(winner);
  }

  std::optional<Side> turn;  // none before the first game
  std::set<int> drawn;
  int moves = 0;
  int gamesEnded = 0;
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
    pause_ = window_->findChild<QTimer*>(QStringLiteral("computerPause"));
    QVERIFY(pause_ != nullptr);
    pause_->setInterval(3);
    // Every question is declined (Esc) as soon as it shows, every message box remembered.
    qApp->installEventFilter(this);
  }

  void cleanup() {
    qApp->removeEventFilter(this);
    window_.reset();
    clips_.reset();
  }

  void floodsDuringTheComputersPauseAndTheSoundCallNeverBreakAMove() {
    std::mt19937 chance(20261208);
    // Every command but leaving; the mode and restart questions are declined, so a game runs on.
    const char* commands[] = {"playAction",     "personVsPersonAction", "personVsComputerAction",
                              "soundOnAction",  "soundOffAction",       "musicOnAction",
                              "musicOffAction", "song1Action",          "song2Action",
                              "song3Action",    "song4Action",          "howToPlayAction",
                              "aboutAction"};
    auto randomCommand = [&] {
      return itemOf(*window_, commands[std::uniform_int_distribution<int>(0, 12)(chance)]);
    };
    auto queueFlood = [&](int clicks, int menuCommands) {
      for (int i = 0; i < clicks; ++i) postClick(std::uniform_int_distribution<int>(1, 112)(chance));
      for (int i = 0; i < menuCommands; ++i)
        QMetaObject::invokeMethod(randomCommand(), "trigger", Qt::QueuedConnection);
      // The flood always ends with the sound back on, so the next move yields to the event loop again.
      QMetaObject::invokeMethod(itemOf(*window_, "soundOnAction"), "trigger", Qt::QueuedConnection);
    };
    std::function<void()> floodFromInsidePlay = [&] {
      if (!window_->faults.empty()) return;  // a broken move could multiply the flood without end
      queueFlood(8, 2);
      randomCommand()->trigger();  // at once, from inside the move
      clickLine(*window_, std::uniform_int_distribution<int>(1, 112)(chance));
      clips_->duringPlay = floodFromInsidePlay;
    };
    clips_->duringPlay = floodFromInsidePlay;

    itemOf(*window_, "playAction")->trigger();
    QElapsedTimer elapsed;
    elapsed.start();
    while (window_->gamesEnded < 3 && elapsed.elapsed() < 90000) {
      const int moves = window_->moves;
      const bool pausePending = pause_->isActive();
      if (pausePending)
        queueFlood(20, 3);  // while the computer's pause is pending
      else
        queueFlood(6, 1);
      // The window takes the flood; a pending pause runs out meanwhile, and the computer moves.
      QVERIFY(runPostedEvents());
      if (pausePending) QVERIFY(waitFor([&] { return window_->moves > moves || !window_->faults.empty(); }));
      if (!window_->faults.empty()) break;
      // Between games, start the next one.
      if (window_->drawn.size() == 112) itemOf(*window_, "playAction")->trigger();
    }
    clips_->duringPlay = nullptr;
    QVERIFY(runPostedEvents());  // the last flood too reaches the window

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
    QLabel* image = lineImageOf(*window_, line);
    const QPointF at(1, 1);
    QCoreApplication::postEvent(image, new QMouseEvent(QEvent::MouseButtonPress, at, image->mapToGlobal(at),
                                                       Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(image, new QMouseEvent(QEvent::MouseButtonRelease, at, image->mapToGlobal(at),
                                                       Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* box = qobject_cast<QMessageBox*>(watched);
    if (box == nullptr || event->type() != QEvent::Show) return false;
    boxes_.push_back(box->windowTitle());
    if (box->icon() == QMessageBox::Critical || box->icon() == QMessageBox::Warning) {
      window_->faults.push_back("error shown: " + box->text().toStdString());
    }
    // From the box's own event loop, once it runs.
    QMetaObject::invokeMethod(
        box, [box] { QTest::keyClick(box, Qt::Key_Escape); }, Qt::QueuedConnection);
    return false;
  }

  std::unique_ptr<ClipRecorder> clips_;
  std::unique_ptr<WatchedWindow> window_;
  QTimer* pause_ = nullptr;
  QStringList boxes_;
};

QTEST_MAIN(InputFloodTest)
#include "input_flood_test.moc"
