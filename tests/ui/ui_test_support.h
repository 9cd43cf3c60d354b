// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Helpers for the window tests: the game's sound with a clip player that plays nothing and tells which
// clip it was given and a fake music engine, an answerer for the next message box, and ways to find and
// look at the main window's controls.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "audio/builtin_clips.h"
#include "audio/clip_player.h"
#include "audio/game_sound.h"
#include "audio/in_process_back_end.h"
#include "tests/audio/fake_music_engine.h"
#include "ui/clickable_image.h"
#include "ui/main_window.h"

namespace nokturna::testing {

// How long a window test waits for what must happen before it calls it a failure: only a safety net, which
// a passing run never comes near, not even on a loaded machine or in a sanitizer build.
inline constexpr int kPatienceMs = 30000;

// Runs the event loop until `condition()` holds, looking after every event; false if it still does not
// after kPatienceMs.
template <typename Condition>
bool waitFor(Condition condition) {
  const QDeadlineTimer deadline(kPatienceMs);
  QTimer safetyNet;  // wakes the loop at the deadline, should nothing else happen
  safetyNet.start(kPatienceMs);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return true;
}

// Returns once the event loop has handled everything posted before the call, deferred deletes included
// (a marker posted now runs after all of it). Whatever a click set in motion has then happened: a window
// it closed, for one, is hidden at once and deleted by then.
inline bool runPostedEvents() {
  QObject marker;
  bool reached = false;
  QTimer::singleShot(0, &marker, [&] { reached = true; });
  return waitFor([&] { return reached; });
}

// Remembers the number of every clip it is handed (1 for assets/sounds/1.wav, found by its bytes) and can
// act from inside play(), as a move's clip starts, just before the move yields to the event loop.
class ClipRecorder : public ClipPlayer {
 public:
  ClipRecorder() {
    for (int id = 1; id <= kClipCount; ++id) {
      const std::span<const std::uint8_t> clip = BuiltInClip(static_cast<Clip>(id - 1));
      clips_.push_back(
          QByteArray(reinterpret_cast<const char*>(clip.data()), static_cast<qsizetype>(clip.size())));
    }
  }

  void play(const std::uint8_t* wavImage, std::size_t size) override {
    const QByteArray bytes(reinterpret_cast<const char*>(wavImage), static_cast<qsizetype>(size));
    int id = 0;
    for (int i = 0; i < 4; ++i) {
      if (!clips_[i].isEmpty() && clips_[i] == bytes) id = i + 1;
    }
    played.push_back(id);
    if (duringPlay) {
      auto action = std::move(duringPlay);  // once
      duringPlay = nullptr;
      action();
    }
  }

  std::vector<int> played;
  std::function<void()> duringPlay;

 private:
  std::vector<QByteArray> clips_;
};

// The game's sound as a window test hears it: its back end is there from the start, with the clips going
// to a recorder (TestSound is one) and the music to a fake engine. The songs are looked for beside
// `programFolder`, by default the test program's folder, where there are none.
class TestSound : public ClipRecorder {
 public:
  explicit TestSound(const QString& programFolder = QCoreApplication::applicationDirPath())
      : sound(FindSongAlbum(programFolder.toStdString())) {
    sound.connect(&backEnd_);
  }
  ~TestSound() override { sound.connect(nullptr); }

  FakeMusicEngine music;
  GameSound sound;

 private:
  InProcessBackEnd backEnd_{*this, music};
};

// Answers the next modal message box with `answer` (QMessageBox::NoButton presses Esc) and remembers
// what it showed. Watches only while it lives, so a test that expects no question cannot leave an
// answerer behind for the next one.
class QuestionAnswerer {
 public:
  explicit QuestionAnswerer(QMessageBox::StandardButton answer) : answer_(answer) {
    QObject::connect(&poll_, &QTimer::timeout, &poll_, [this] { answerIfAsked(); });
    poll_.start(10);
  }

  bool seen = false;
  QString text;
  QString title;
  QMessageBox::StandardButtons buttons;
  QMessageBox::Icon icon = QMessageBox::Information;
  bool buttonIcons = false;     // some button shows an icon
  bool defaultIsFirst = false;  // OK or Yes is the default button

 private:
  void answerIfAsked() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    poll_.stop();
    seen = true;
    text = box->text();
    title = box->windowTitle();
    buttons = box->standardButtons();
    icon = box->icon();
    for (const QAbstractButton* button : box->buttons())
      buttonIcons = buttonIcons || !button->icon().isNull();
    const QAbstractButton* preset = box->defaultButton();
    defaultIsFirst = preset != nullptr &&
                     (preset == box->button(QMessageBox::Ok) || preset == box->button(QMessageBox::Yes));
    if (answer_ == QMessageBox::NoButton) {
      QTest::keyClick(box, Qt::Key_Escape);
    } else if (QAbstractButton* button = box->button(answer_)) {
      button->click();
    } else {
      QTest::qFail("the question does not offer the expected answer", __FILE__, __LINE__);
      box->reject();
    }
  }

  QMessageBox::StandardButton answer_;
  QTimer poll_;
};

inline std::unique_ptr<QuestionAnswerer> answerNextQuestion(QMessageBox::StandardButton answer) {
  return std::make_unique<QuestionAnswerer>(answer);
}

inline QLabel* lineImageOf(const MainWindow& window, int line) {
  return window.findChild<QLabel*>(QStringLiteral("line%1").arg(line));
}
inline QLabel* markerOf(const MainWindow& window, int square) {
  return window.findChild<QLabel*>(QStringLiteral("marker%1").arg(square));
}
inline QLabel* labelOf(const MainWindow& window, const char* name) {
  return window.findChild<QLabel*>(QLatin1String(name));
}
// Every window test starts from a fresh, shown main window with the test's sound in place of the
// device, and ends by closing both again.
inline bool OpenMainWindow(std::unique_ptr<TestSound>& sound, std::unique_ptr<MainWindow>& window) {
  sound = std::make_unique<TestSound>();
  window = std::make_unique<MainWindow>(sound->sound);
  window->show();
  return QTest::qWaitForWindowExposed(window.get());
}

inline void CloseMainWindow(std::unique_ptr<TestSound>& sound, std::unique_ptr<MainWindow>& window) {
  window.reset();
  sound.reset();
}

inline QAction* itemOf(const MainWindow& window, const char* name) {
  return window.findChild<QAction*>(QLatin1String(name));
}

inline QPixmap resourcePicture(const char* name) {
  return QPixmap(QStringLiteral(":/pictures/") + QLatin1String(name));
}

inline bool shows(const QLabel* image, const QPixmap& picture) {
  const QPixmap shown = image->pixmap();
  if (shown.isNull() || picture.isNull()) return false;
  return shown.toImage().convertToFormat(QImage::Format_ARGB32) ==
         picture.toImage().convertToFormat(QImage::Format_ARGB32);
}

inline bool isBlank(const QLabel* image) { return image->pixmap().isNull(); }

inline int drawnLines(const MainWindow& window) {
  int drawn = 0;
  for (int line = 1; line <= 112; ++line) drawn += isBlank(lineImageOf(window, line)) ? 0 : 1;
  return drawn;
}

// A person's click on line image `line`.
inline void clickLine(const MainWindow& window, int line) {
  QTest::mouseClick(lineImageOf(window, line), Qt::LeftButton);
}

// A key pressed where the keyboard is: on the main window's focused board or line.
inline void pressKey(const MainWindow& window, int key, bool autoRepeat = false) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
  QApplication::sendEvent(window.focusWidget(), &press);
}

// The line under the keyboard's cursor, which has the focus; 0 while the cursor is hidden.
inline int cursorLineOf(const MainWindow& window) {
  const auto* line = qobject_cast<const ClickableImage*>(window.focusWidget());
  return line != nullptr ? line->index() : 0;
}

// True when the Mode menu draws its unchecked entry exactly as an entry that cannot be checked (nothing in
// the mark's column, the caption where it was) and its checked entry otherwise (the mark).
inline bool modeMenuMarksOnlyTheCheckedEntry(const MainWindow& window) {
  auto* menu = window.findChild<QMenu*>(QStringLiteral("modeMenu"));
  const auto drawn = [&] {
    menu->popup(QPoint(0, 0));
    const QImage image = QTest::qWaitForWindowExposed(menu) ? menu->grab().toImage() : QImage();
    menu->hide();
    return image;
  };
  QAction* unchecked = itemOf(window, "personVsPersonAction");
  QAction* checked = itemOf(window, "personVsComputerAction");
  const QImage asIs = drawn();
  unchecked->setCheckable(false);
  const QImage uncheckable = drawn();
  unchecked->setCheckable(true);
  checked->setChecked(false);
  const QImage noMark = drawn();
  checked->setChecked(true);
  return !asIs.isNull() && asIs == uncheckable && asIs != noMark;
}

// The picture a side draws on a line of this orientation: Player 1 in blue, the others in green.
inline QPixmap linePictureOf(bool green, bool horizontal) {
  if (green) return resourcePicture(horizontal ? "line_green_h.png" : "line_green_v.png");
  return resourcePicture(horizontal ? "line_blue_h.png" : "line_blue_v.png");
}

}  // namespace nokturna::testing
