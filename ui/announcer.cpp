// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QWidget>
#include <algorithm>

namespace nokturna {

namespace {

// How long a reader takes for words at its usual rate: espeak-ng's normal speed through the speech server,
// the pauses of the punctuation included, measured over the game's own sentences (about 94 ms a
// character, and a start of some tenths of a second). Rather more than less, so that no sentence is
// broken off by the next.
constexpr qint64 kSpeakingMsPerCharacter = 95;
constexpr qint64 kSpeakingMsToStart = 300;
constexpr qint64 kSpeakingMsAtLeast = 400;
// How long a claim waits for the computer's answer to it (the computer pauses 250 ms before it moves).
constexpr qint64 kWaitForAnswerMs = 300;

qint64 speakingTime(qsizetype characters) {
  return std::max(kSpeakingMsAtLeast, kSpeakingMsToStart + kSpeakingMsPerCharacter * characters);
}

// The invisible status bar and its notice. They take no room, no focus and no clicks.
class StatusBarWidget : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;
};

class NoticeWidget : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;
};

QAccessibleInterface* announcementInterfaces(const QString& className, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  if (className == QLatin1String(StatusBarWidget::staticMetaObject.className())) {
    return new QAccessibleWidget(widget, QAccessible::StatusBar);
  }
  if (className == QLatin1String(NoticeWidget::staticMetaObject.className())) {
    return new QAccessibleWidget(widget, QAccessible::Notification);
  }
  return nullptr;
}

QWidget* invisible(QWidget* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  widget->setFocusPolicy(Qt::NoFocus);
  widget->setAttribute(Qt::WA_TransparentForMouseEvents);
  widget->setGeometry(0, 0, 0, 0);
  return widget;
}

}  // namespace

Announcer::Announcer(QWidget* board, std::function<bool()> moveInProgress, std::function<bool()> answerDue,
                     std::function<QWidget*()> resultWindow)
    : QObject(board),
      board_(board),
      moveInProgress_(std::move(moveInProgress)),
      answerDue_(std::move(answerDue)),
      resultWindow_(std::move(resultWindow)) {
  static const bool installed = [] {
    QAccessible::installFactory(announcementInterfaces);
    return true;
  }();
  (void)installed;
  QWidget* statusBar = invisible(new StatusBarWidget(board), "announcements");
  statusBar->setAccessibleName(QStringLiteral("Game news"));
  notice_ = invisible(new NoticeWidget(statusBar), "announcement");
  statusBar->show();
  notice_->show();

  next_.setSingleShot(true);
  connect(&next_, &QTimer::timeout, this, &Announcer::sayUnsaidWhenFree);
  // The board getting the keyboard back is the moment for what waited, once the reader has said where the
  // keyboard is; the description that follows may be broken off.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now == nullptr || !listening()) return;
    if (QWidget* result = resultWindow_(); result != nullptr && now->window() == result) {
      if (awaitingResultWindow_) unsaid_.clear();  // the winner window tells them
      awaitingResultWindow_ = false;
      return;
    }
    if (now->window() != board_->window()) return;
    if (QAccessibleInterface* focused = QAccessible::queryAccessibleInterface(now)) {
      readerSpeaks(focused->text(QAccessible::Name).size());
    }
  });
}

bool Announcer::listening() const { return QAccessible::isActive(); }

bool Announcer::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) speakingMs_ = 0;
  return QObject::eventFilter(watched, event);
}

void Announcer::say(SpokenEvent event) {
  if (unsaid_.empty()) sinceFirstUnsaid_.start();
  unsaid_.push_back(std::move(event));
  // From a fresh pass of the event loop: the rest of the move is told first.
  if (!next_.isActive()) next_.start(0);
}

void Announcer::dropUnsaid() {
  unsaid_.clear();
  awaitingResultWindow_ = false;
}

void Announcer::resultShown() {
  QWidget* window = resultWindow_();
  if (window == nullptr) return;
  // The window takes the keyboard as it comes up, and the reader reads its verdict then. The last moves
  // and the final score follow the verdict there: said in the main window, they would be broken off by
  // it, or heard only once it is closed. Should the window not get the keyboard, they are said here.
  window->setAccessibleDescription(window->accessibleDescription() + QStringLiteral(". ") +
                                   QString::fromStdString(Utterance(unsaid_)));
  awaitingResultWindow_ = true;
}

void Announcer::answer(const std::string& words) {
  if (!listening() || words.empty()) return;
  speak(QString::fromStdString(words));
  if (!unsaid_.empty()) next_.start(static_cast<int>(speakingMs_));
}

void Announcer::readerSpeaks(qsizetype characters) {
  sinceSpoken_.start();
  speakingMs_ = speakingTime(characters);
  if (!unsaid_.empty()) next_.start(static_cast<int>(speakingMs_));
}

bool Announcer::boardHasTheKeyboard() const {
  QWidget* window = board_->window();
  return !awaitingResultWindow_ && window->isActiveWindow() && QApplication::activePopupWidget() == nullptr &&
         QApplication::activeModalWidget() == nullptr;
}

void Announcer::sayUnsaidWhenFree() {
  if (unsaid_.empty()) return;
  const qint64 stillSpeaking = sinceSpoken_.isValid() ? speakingMs_ - sinceSpoken_.elapsed() : 0;
  const qint64 answerWait = answerDue_() ? kWaitForAnswerMs - sinceFirstUnsaid_.elapsed() : 0;
  const qint64 wait = std::max(stillSpeaking, answerWait);
  if (moveInProgress_() || wait > 0 || !boardHasTheKeyboard()) {
    // Asked again when the reader is free, or soon, should the keyboard come back meanwhile.
    next_.start(static_cast<int>(std::max<qint64>(wait, kSpeakingMsAtLeast / 4)));
    return;
  }
  std::vector<SpokenEvent> events;
  events.swap(unsaid_);
  speak(QString::fromStdString(Utterance(events)));
}

void Announcer::speak(const QString& words) {
  // A key breaks off whatever the reader is saying. Watched from the first words on, so that without a
  // screen reader no event is looked at.
  if (!watchingKeys_) {
    qApp->installEventFilter(this);
    watchingKeys_ = true;
  }
  sinceSpoken_.start();
  speakingMs_ = speakingTime(words.size());
  notice_->setAccessibleName(words);
  QAccessibleEvent shown(notice_, QAccessible::ObjectShow);
  QAccessible::updateAccessibility(&shown);
}

}  // namespace nokturna

#include "announcer.moc"
