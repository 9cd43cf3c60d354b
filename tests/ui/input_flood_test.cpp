// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A flood of input at the worst moments: clicks on every kind of line, menu commands and keys (typed and
// held down) queued while the computer's pause runs and from inside a move's sound call. Whatever arrives,
// every move is made by the side whose turn it is, on a free line, one line at a time; a person's move by
// key is the line under the cursor at a fresh press of Space or Enter; nothing crashes and no error shows.
#include <QAction>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>

#include "engine/captions.h"
#include "ui/line_cursor.h"
#include "ui_test_support.h"

using namespace nokturna;
using namespace nokturna::testing;

namespace {

// The main window with every move it makes checked on the way through.
class WatchedWindow : public MainWindow {
 public:
  using MainWindow::MainWindow;

  void gameStarted(Side first) override {
    drawn.clear();  // a new game clears the board
    turn = first;
    MainWindow::gameStarted(first);
  }

  void turnPassed(Side side) override {
    turn = side;
    MainWindow::turnPassed(side);
  }

  void keyPressEvent(QKeyEvent* event) override {
    const int key = event->key();
    const bool claim = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
    if (claim && !event->isAutoRepeat() && cursorLineOf(*this) != 0) pointedAt.insert(cursorLineOf(*this));
    MainWindow::keyPressEvent(event);
  }

  void lineClaimed(int line, Side side) override {
    ++moves;
    if (keysOnly && side != Side::Computer && pointedAt.extract(line).empty())
      faults.push_back("line " + std::to_string(line) + " claimed by no key");
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

  bool keysOnly = false;         // the person plays by keys alone
  std::multiset<int> pointedAt;  // a line under a fresh Space or Enter, each good for one claim
  std::optional<Side> turn;      // none before the first game
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
    clips_ = std::make_unique<TestSound>();
    window_ = std::make_unique<WatchedWindow>(clips_->sound);
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

  void keyFloodsClaimOnlyTheLineUnderTheCursorInTurn() {
    std::mt19937 chance(20261209);
    const int keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,     Qt::Key_Down, Qt::Key_Home,
                        Qt::Key_End,  Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter};
    auto key = [&](bool queued) {  // any key, one in three repeated as if held down
      QKeyEvent event(QEvent::KeyPress, keys[std::uniform_int_distribution<int>(0, 8)(chance)],
                      Qt::NoModifier, QString(), std::uniform_int_distribution<int>(0, 2)(chance) == 0);
      if (queued) QCoreApplication::postEvent(window_->focusWidget(), event.clone());
      if (!queued) QApplication::sendEvent(window_->focusWidget(), &event);
    };
    std::function<void()> floodFromInsidePlay = [&] {
      if (!window_->faults.empty()) return;
      for (int i = 0; i < 20; ++i) key(true);
      key(false);  // at once, from inside the move
      clips_->duringPlay = floodFromInsidePlay;
    };
    clips_->duringPlay = floodFromInsidePlay;
    window_->keysOnly = true;

    itemOf(*window_, "playAction")->trigger();
    const QDeadlineTimer deadline(kPatienceMs);
    int fruitlessFloods = 0;
    while (window_->gamesEnded < 1 && window_->faults.empty() && !deadline.hasExpired()) {
      const int moves = window_->moves;
      const bool pausePending = pause_->isActive();
      for (int i = 0; i < (pausePending ? 100 : 30); ++i) key(true);  // by the hundred during the pause
      QVERIFY(runPostedEvents());
      if (pausePending) QVERIFY(waitFor([&] { return window_->moves > moves || !window_->faults.empty(); }));
      fruitlessFloods = pausePending || window_->moves > moves ? 0 : fruitlessFloods + 1;
      if (fruitlessFloods >= 20 && window_->gamesEnded < 1) steerToAFreeLineAndClaim();
    }
    clips_->duringPlay = nullptr;
    QVERIFY(runPostedEvents());
    for (const std::string& fault : window_->faults) qWarning("%s", fault.c_str());
    QVERIFY(window_->faults.empty());
    QCOMPARE(window_->gamesEnded, 1);
  }

 private:
  // Random keys alone may wander for many seconds over the last few free lines before they hit one: a
  // person's turn that twenty floods left without a move is ended by walking the cursor the shortest way
  // to a free line. A Space held down since before it arrived claims nothing; a fresh one claims it.
  void steerToAFreeLineAndClaim() {
    const auto press = [&](int key, bool held = false) {
      QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, QString(), held);
      QApplication::sendEvent(window_->focusWidget(), &event);
    };
    if (cursorLineOf(*window_) == 0) press(Qt::Key_Right);  // shows the cursor
    const int from = cursorLineOf(*window_);
    std::map<int, std::vector<int>> pathTo{{from, {}}};
    std::deque<int> queue{from};
    while (!queue.empty() && window_->drawn.count(queue.front()) != 0) {
      const int line = queue.front();
      queue.pop_front();
      const std::pair<CursorKey, int> arrows[] = {{CursorKey::Left, Qt::Key_Left},
                                                  {CursorKey::Right, Qt::Key_Right},
                                                  {CursorKey::Up, Qt::Key_Up},
                                                  {CursorKey::Down, Qt::Key_Down}};
      for (const auto& [arrow, key] : arrows) {
        const int next = CursorTarget(line, arrow);
        if (!pathTo.emplace(next, pathTo[line]).second) continue;
        pathTo[next].push_back(key);
        queue.push_back(next);
      }
    }
    if (queue.empty()) return;
    for (int key : pathTo[queue.front()]) press(key);
    press(Qt::Key_Space, true);
    press(Qt::Key_Space);
  }

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

  std::unique_ptr<TestSound> clips_;
  std::unique_ptr<WatchedWindow> window_;
  QTimer* pause_ = nullptr;
  QStringList boxes_;
};

QTEST_MAIN(InputFloodTest)
#include "input_flood_test.moc"
