// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Preloaded (LD_PRELOAD) into the game and into the reference window by the start-up benchmark, so that
// neither program carries a hook of its own: prints "first-paint <CLOCK_MONOTONIC ns>" on standard output
// when the first widget of a window is painted. The benchmark measures from process start to there.
//
// It gets in through Qt's start-up hook, the one debugging tools use: a function that QCoreApplication
// calls as it is constructed.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <private/qhooks_p.h>

namespace {

class FirstPaintReport : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->isWidgetType()) {
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      std::printf("first-paint %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
      std::fflush(stdout);
      QCoreApplication::instance()->removeEventFilter(this);
    }
    return false;
  }
};

QHooks::StartupCallback previousStartup = nullptr;

void OnApplicationStart() {
  QCoreApplication::instance()->installEventFilter(new FirstPaintReport);
  if (previousStartup != nullptr) previousStartup();
}

// Runs when the library is loaded, before main().
__attribute__((constructor)) void InstallStartupHook() {
  previousStartup = reinterpret_cast<QHooks::StartupCallback>(qtHookData[QHooks::Startup]);
  qtHookData[QHooks::Startup] = reinterpret_cast<quintptr>(&OnApplicationStart);
}

}  // namespace
