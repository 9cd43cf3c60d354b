// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Says the game's events to a screen reader without taking the keyboard's focus anywhere. Qt 6.4 has no
// call for an announcement, so this is the way the desktop's screen reader (Orca) speaks a status bar's
// news: an invisible notification inside an invisible status bar that shows itself with the words as its
// name. Orca speaks such a notice at once, breaking off what it was saying, so events come out in one
// sentence after another: whatever happens while the reader is still speaking waits and is then said in
// one breath. Nothing is said while a menu, a question or another window has the keyboard (the reader is
// busy with those); it is said when the board has it back. Without a screen reader it does nothing.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "ui/game_narration.h"

class QWidget;

namespace nokturna {

class Announcer : public QObject, public Speech {
  Q_OBJECT

 public:
  // Lives on `board`, the main window's board. Nothing is said while `moveInProgress` holds: a move is said
  // whole. While `answerDue` holds (the computer is about to move), what there is to say waits a moment
  // for the answer, to be said with it. `resultWindow` is the window that shows the winner, if it is open.
  Announcer(QWidget* board, std::function<bool()> moveInProgress, std::function<bool()> answerDue,
            std::function<QWidget*()> resultWindow);

  bool listening() const override;
  void say(SpokenEvent event) override;
  void dropUnsaid() override;
  void resultShown() override;

  // The answer to a key: said at once, before anything still unsaid.
  void answer(const std::string& words);

 private:
  // The reader has begun to say something of its own (the line under the cursor); what is unsaid waits
  // for it.
  void readerSpeaks(qsizetype characters);
  void sayUnsaidWhenFree();
  bool boardHasTheKeyboard() const;
  void speak(const QString& words);
  bool eventFilter(QObject* watched, QEvent* event) override;

  QWidget* board_;
  QWidget* notice_;
  std::function<bool()> moveInProgress_;
  std::function<bool()> answerDue_;
  std::function<QWidget*()> resultWindow_;
  std::vector<SpokenEvent> unsaid_;
  QElapsedTimer sinceFirstUnsaid_;
  QElapsedTimer sinceSpoken_;
  qint64 speakingMs_ = 0;  // how long the reader takes for what it was last given
  QTimer next_;
  bool watchingKeys_ = false;
  bool awaitingResultWindow_ = false;  // the winner window is up and has not had the keyboard yet
};

}  // namespace nokturna
