// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Holding input that arrives while a move is half done, and handing it on in order afterwards.
#include "ui/move_guard.h"

#include <QObject>
#include <QtTest>
#include <string>

#include "ui_test_support.h"

using nokturna::MoveGuard;
using nokturna::testing::runPostedEvents;

class MoveGuardTest : public QObject {
  Q_OBJECT

 private slots:
  void inputBetweenMovesRunsAtOnce() {
    QObject context;
    MoveGuard guard(&context);
    std::string log;
    guard.offer([&] { log += "a"; });
    QCOMPARE(log, std::string("a"));
    QVERIFY(!guard.holding());
  }

  void inputDuringAMoveWaitsUntilTheEventLoopRunsAgain() {
    QObject context;
    MoveGuard guard(&context);
    std::string log;
    guard.runMove([&] {
      log += "move(";
      guard.offer([&] { log += "click"; });
      guard.offer([&] { log += "menu"; });
      QVERIFY(guard.moveInProgress());
      log += ")";
    });
    QCOMPARE(log, std::string("move()"));
    QVERIFY(guard.holding());
    QTRY_COMPARE(log, std::string("move()clickmenu"));
    QVERIFY(!guard.holding());
  }

  void inputArrivingWhileOthersWaitQueuesBehindThem() {
    QObject context;
    MoveGuard guard(&context);
    std::string log;
    guard.runMove([&] { guard.offer([&] { log += "1"; }); });
    guard.offer([&] { log += "2"; });  // the move is over, but "1" has not been handled yet
    QCOMPARE(log, std::string());
    QTRY_COMPARE(log, std::string("12"));
  }

  void aHeldMoveHoldsWhatArrivesDuringIt() {
    QObject context;
    MoveGuard guard(&context);
    std::string log;
    guard.runMove([&] {
      guard.offer([&] {
        guard.runMove([&] {
          log += "second(";
          guard.offer([&] { log += "third"; });
          log += ")";
        });
      });
      guard.offer([&] { log += "menu"; });
    });
    QTRY_COMPARE(log, std::string("second()menuthird"));
  }

  void heldInputDiesWithItsWindow() {
    std::string log;
    {
      QObject context;
      MoveGuard guard(&context);
      guard.runMove([&] { guard.offer([&] { log += "late"; }); });
    }
    QVERIFY(runPostedEvents());  // the replay was posted before the window died
    QCOMPARE(log, std::string());
  }
};

QTEST_MAIN(MoveGuardTest)
#include "move_guard_test.moc"
