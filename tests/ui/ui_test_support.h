// Helpers for the window tests: a clip player that plays nothing and tells which clip it was given, an
// answerer for the next message box, and ways to find and look at the main window's controls.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "audio/clip_player.h"
#include "audio/sound_effects.h"
#include "ui/form1.h"

namespace nokturna::testing {

// Remembers the id of every clip it is handed (by its bytes) and can act from inside play(), the moment
// a move yields to the event loop.
class ClipRecorder : public ClipPlayer {
 public:
  ClipRecorder() {
    for (int id = 1; id <= 4; ++id) {
      QFile clip(QStringLiteral(":/sounds/%1.wav").arg(id));
      if (clip.open(QIODevice::ReadOnly))
        clips_.push_back(clip.readAll());
      else
        clips_.push_back(QByteArray());
    }
    SetClipPlayer(this);
  }
  ~ClipRecorder() override { SetClipPlayer(nullptr); }

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

inline QLabel* boxOf(const form1& window, int line) {
  return window.findChild<QLabel*>(QStringLiteral("box%1").arg(line));
}
inline QLabel* bolaOf(const form1& window, int square) {
  return window.findChild<QLabel*>(QStringLiteral("bola%1").arg(square));
}
inline QLabel* labelOf(const form1& window, const char* name) {
  return window.findChild<QLabel*>(QLatin1String(name));
}
// Every window test starts from a fresh, shown main window with a clip recorder in place of the device,
// and ends by closing both again.
inline bool OpenMainWindow(std::unique_ptr<ClipRecorder>& clips, std::unique_ptr<form1>& window) {
  clips = std::make_unique<ClipRecorder>();
  window = std::make_unique<form1>();
  window->show();
  return QTest::qWaitForWindowExposed(window.get());
}

inline void CloseMainWindow(std::unique_ptr<ClipRecorder>& clips, std::unique_ptr<form1>& window) {
  window.reset();
  clips.reset();
}

inline QAction* itemOf(const form1& window, const char* name) {
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

inline int drawnLines(const form1& window) {
  int drawn = 0;
  for (int line = 1; line <= 112; ++line) drawn += isBlank(boxOf(window, line)) ? 0 : 1;
  return drawn;
}

// A person's click on line image `line`.
inline void clickLine(const form1& window, int line) {
  QTest::mouseClick(boxOf(window, line), Qt::LeftButton);
}

// The picture a slot draws on a line of this orientation.
inline QPixmap linePictureOf(bool green, bool horizontal) {
  if (green) return resourcePicture(horizontal ? "line_green_h.png" : "line_green_v.png");
  return resourcePicture(horizontal ? "line_blue_h.png" : "line_blue_v.png");
}

}  // namespace nokturna::testing
