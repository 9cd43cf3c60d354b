// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QTimer>

#include "audio/game_sound.h"
#include "engine/captions.h"
#include "engine/line_claiming.h"
#include "opponent/computer_player.h"
#include "opponent/game_clock.h"
#include "ui/about_window.h"
#include "ui/board_accessibility.h"
#include "ui/board_layout.h"
#include "ui/caption_label.h"
#include "ui/clickable_image.h"
#include "ui/confirm_question.h"
#include "ui/cursor_glow.h"
#include "ui/game_fonts.h"
#include "ui/game_pictures.h"
#include "ui/how_to_play_window.h"
#include "ui/picture_background.h"
#include "ui/window_placement.h"
#include "ui/winner_window.h"

namespace nokturna {

namespace {

constexpr qreal kTurnPoints = 9.75;
constexpr qreal kScorePoints = 24;
constexpr qreal kClockPoints = 13.5;

QPoint topLeftOf(PixelPoint p) { return {p.left, p.top}; }
QRect rectOf(PixelRect r) { return {r.left, r.top, r.width, r.height}; }

QPixmap picture(const char* name) { return GamePicture(QLatin1String(name)); }

CaptionLabel* makeLabel(QWidget* parent, const char* name, const QString& accessibleName,
                        const QString& caption, qreal points, PixelPoint at) {
  auto* label = new CaptionLabel(accessibleName, caption, parent);
  label->setObjectName(QLatin1String(name));
  label->setFont(LabelFont(points));
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->move(topLeftOf(at));
  return label;
}

// Screen readers hear of a new description; one that stays the same is not announced again.
void describe(QWidget* image, const QString& description) {
  if (image->accessibleDescription() != description) image->setAccessibleDescription(description);
}

void setTextColour(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

QString nameOf(Side side) { return QString::fromStdString(SideName(side)); }

}  // namespace

MainWindow::MainWindow(GameSound& sound, QWidget* parent) : QMainWindow(parent), sound_(sound) {
  setWindowTitle(QStringLiteral("Nokturna 1.0"));
  setWindowIcon(GameIcon());
  InstallBoardAccessibility();
  // A fixed single border: minimise and close, no maximise.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

  loadPictures();
  auto* board = new PictureBackground(picture("board.bmp"), palette().color(QPalette::Window), this);
  board->setObjectName(QStringLiteral("client"));
  board->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(board);
  board_ = board;

  createBoard(board);
  createLabels(board);
  createTimers();
  createMenus();
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  placeBoard();
  createCursor();
  startSpeech();
  startAudio();

  adjustSize();
  CentreOnScreen(this);
}

MainWindow::~MainWindow() {
  // The secondary windows have no owner; they go with the game they belong to.
  delete howToPlay_.data();
  delete about_.data();
  delete winner_.data();
}

void MainWindow::loadPictures() {
  blueLines_ = {picture("line_blue_v.png"), picture("line_blue_h.png")};
  greenLines_ = {picture("line_green_v.png"), picture("line_green_h.png")};
  blueDisc_ = picture("disc_blue.png");
  greenDisc_ = picture("disc_green.png");
}

void MainWindow::createBoard(QWidget* board) {
  // Markers first, so that line strips lie above them and always take their clicks.
  for (int square = 1; square <= kSquareCount; ++square) {
    auto* image = new QLabel(board);
    image->setObjectName(QStringLiteral("marker%1").arg(square));
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->resize(rectOf(MarkerRect(square)).size());
    image->setPixmap(blueDisc_);
    image->setAccessibleName(SquareAccessibleName(square));
    image->setAccessibleDescription(SquareAccessibleDescription(QString()));
    squareMarkers_[square] = image;
  }
  for (int line = 1; line <= kLineCount; ++line) {
    auto* image = new ClickableImage(line, board);
    image->setObjectName(QStringLiteral("line%1").arg(line));
    const LineKind kind = game_.state.board.lines[line].kind;
    image->resize(rectOf(LineImageRect(line)).size());
    // Until the first game the whole board shows in the first player's pictures; they are decoration,
    // so to a screen reader every line is free.
    image->setPixmap(blueLines_.of(kind));
    connect(image, &ClickableImage::clicked, this, &MainWindow::onLineClicked);
    lineImages_[line] = image;
  }
}

void MainWindow::createCursor() {
  cursorGlow_ = new CursorGlow(board_);
  // The board holds the focus while the cursor is hidden and passes its keys on to the window. It takes
  // no focus from Tab, so Tab never pulls the focus off the line under the cursor.
  board_->setFocusPolicy(Qt::ClickFocus);
  board_->setAccessibleName(QStringLiteral("Board"));
  board_->setAccessibleDescription(QStringLiteral(
      "Arrow keys, Home and End move the cursor over the lines; Space or Enter claims a line; S scores, "
      "T time, N next free line, D the squares beside"));
  board_->setFocus();
  board_->installEventFilter(this);
  for (int line = 1; line <= kLineCount; ++line) lineImages_[line]->installEventFilter(this);
}

void MainWindow::createLabels(QWidget* board) {
  turnLabel_ = makeLabel(board, "turnLabel", QStringLiteral("Turn"),
                         QStringLiteral("Welcome to Nokturna 1.0"), kTurnPoints, TurnLabelAt());
  turnLabel_->adjustSize();

  scoreLabels_[0] = makeLabel(board, "playerOneScoreLabel", QStringLiteral("Score of Player 1"),
                              QStringLiteral("0000"), kScorePoints, PlayerOneScoreAt());
  scoreLabels_[1] = makeLabel(board, "opponentScoreLabel", QStringLiteral("Score of the opponent"),
                              QStringLiteral("0000"), kScorePoints, OpponentScoreAt());
  for (CaptionLabel* score : scoreLabels_) {
    setTextColour(score, Qt::black);
    score->adjustSize();
  }

  const QRect clock = rectOf(ClockRect());
  clockLabel_ = makeLabel(board, "clockLabel", QStringLiteral("Game time"), QStringLiteral("00:00:00"),
                          kClockPoints, {clock.left(), clock.top()});
  clockLabel_->setAlignment(Qt::AlignCenter);
  clockLabel_->setFixedSize(clock.size());
  setTextColour(clockLabel_, Qt::white);
}

void MainWindow::createTimers() {
  computerPause_ = new QTimer(this);
  computerPause_->setObjectName(QStringLiteral("computerPause"));
  computerPause_->setInterval(kComputerPauseMs);
  connect(computerPause_, &QTimer::timeout, this, &MainWindow::onComputerPauseOver);

  clockTicker_ = new QTimer(this);
  clockTicker_->setObjectName(QStringLiteral("clockTicker"));
  clockTicker_->setInterval(kClockTickMs);
  connect(clockTicker_, &QTimer::timeout, this, &MainWindow::onClockTick);
}

void MainWindow::placeBoard() {
  for (int line = 1; line <= kLineCount; ++line)
    lineImages_[line]->move(rectOf(LineImageRect(line)).topLeft());
  for (int square = 1; square <= kSquareCount; ++square) {
    squareMarkers_[square]->move(rectOf(MarkerRect(square)).topLeft());
  }
}

void MainWindow::shutDown() {
  sound_.switchMusic(false);
  if (howToPlay_) howToPlay_->close();
  if (about_) about_->close();
  if (winner_) winner_->close();
}

// A close is never refused and asks nothing.
void MainWindow::closeEvent(QCloseEvent* event) {
  shutDown();
  event->accept();
}

void MainWindow::onLineClicked(int line) {
  guard_.offer([this, line] {
    guard_.runMove([this, line] {
      sayWhyRefused(line);
      LineClicked(game_, line);
    });
  });
}

void MainWindow::onComputerPauseOver() {
  guard_.offer([this] {
    guard_.runMove([this] {
      computerPause_->stop();  // one pause, one move
      TakeComputerTurn(game_);
    });
  });
}

// The clock only writes its label; it may tick in the middle of a move.
void MainWindow::onClockTick() { ClockTicked(game_); }

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // With Ctrl, Alt or Meta a key belongs to the menus and the desktop.
  if ((event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) {
    QMainWindow::keyPressEvent(event);
    return;
  }
  switch (event->key()) {
    case Qt::Key_Left:
      moveCursor(CursorKey::Left);
      break;
    case Qt::Key_Right:
      moveCursor(CursorKey::Right);
      break;
    case Qt::Key_Up:
      moveCursor(CursorKey::Up);
      break;
    case Qt::Key_Down:
      moveCursor(CursorKey::Down);
      break;
    case Qt::Key_Home:
      moveCursor(CursorKey::Home);
      break;
    case Qt::Key_End:
      moveCursor(CursorKey::End);
      break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      claimAtCursor(event->isAutoRepeat());
      break;
    case Qt::Key_N:
      moveToFreeLine((event->modifiers() & Qt::ShiftModifier) == 0);
      break;
    // A question held down is answered once.
    case Qt::Key_S:
      if (!event->isAutoRepeat()) sayScores();
      break;
    case Qt::Key_T:
      if (!event->isAutoRepeat()) sayTime();
      break;
    case Qt::Key_D:
      if (!event->isAutoRepeat()) saySquaresBeside();
      break;
    case Qt::Key_F10:
      enterMenus();
      break;
    default:
      QMainWindow::keyPressEvent(event);
      return;
  }
  event->accept();
}

// The desktop's key for the menus: the first one opens. The menu bar is entered as a tap of Alt enters
// it, so that it holds the keyboard while menus open and close: handed back to the board's line between
// two menus, the keyboard would take a screen reader's attention off the menu that is opening.
void MainWindow::enterMenus() {
  QKeyEvent altPressed(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
  QKeyEvent altReleased(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
  QCoreApplication::sendEvent(this, &altPressed);
  QCoreApplication::sendEvent(this, &altReleased);
  menuBar()->setActiveAction(menuBar()->actions().constFirst());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) hideCursor();
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::moveCursor(CursorKey key) {
  // A hidden cursor first shows where it was; Home and End go where they say at once.
  if (cursorShown_ || key == CursorKey::Home || key == CursorKey::End) {
    cursorLine_ = CursorTarget(cursorLine_, key);
  }
  showCursor();
}

void MainWindow::claimAtCursor(bool repeated) {
  // Nothing is claimed under a cursor the player cannot see; a key held down claims once.
  if (!cursorShown_) {
    showCursor();
    return;
  }
  if (!repeated) onLineClicked(cursorLine_);
}

void MainWindow::showCursor() {
  cursorShown_ = true;
  ClickableImage* line = lineImages_[cursorLine_];
  cursorGlow_->surround(line->geometry());
  // The focused line is what assistive technology hears of: its name, then its state.
  line->setFocus(Qt::OtherFocusReason);
}

void MainWindow::hideCursor() {
  if (!cursorShown_) return;
  cursorShown_ = false;
  cursorGlow_->hide();
  board_->setFocus(Qt::MouseFocusReason);
}

void MainWindow::showCaption(CaptionLabel* label, const std::string& text) {
  label->setCaption(QString::fromStdString(text));
  label->adjustSize();
}

const MainWindow::LinePictures& MainWindow::linePicturesOf(Side side) const {
  return side == Side::PlayerOne ? blueLines_ : greenLines_;
}

const QPixmap& MainWindow::discOf(Side side) const {
  return side == Side::PlayerOne ? blueDisc_ : greenDisc_;
}

void MainWindow::gameStarted(Side first) {
  for (CaptionLabel* score : scoreLabels_) showCaption(score, NewGameScoreCaption());
  for (int n = 1; n <= kLineCount; ++n) {
    if (n <= kSquareCount) {
      describe(squareMarkers_[n], SquareAccessibleDescription(QString()));
      squareMarkers_[n]->clear();
    }
    // A cleared line image still takes clicks.
    lineImages_[n]->setOwner(std::nullopt);
    lineImages_[n]->clear();
  }
  showCaption(turnLabel_, TurnCaption(first));
  // A clock already running keeps its beat.
  if (!clockTicker_->isActive()) clockTicker_->start();
}

void MainWindow::lineClaimed(int line, Side side) {
  ClickableImage* image = lineImages_[line];
  image->setOwner(side);
  image->setPixmap(linePicturesOf(side).of(game_.state.board.lines[line].kind));
  playClip(Clip::LineClaimed);
}

void MainWindow::playClip(Clip clip) {
  // With the effects off a move never yields.
  if (!sound_.effectsOn()) return;
  sound_.play(clip);
  // One pass of the event loop, so that the line just claimed shows while its sound starts, before the
  // move settles its squares and its turn. Window-system input waits, but a click or a menu command
  // already queued runs in this pass: guard_ holds it until the move is done.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::squareWon(int square, Side side) {
  describe(squareMarkers_[square], SquareAccessibleDescription(nameOf(side)));
  squareMarkers_[square]->setPixmap(discOf(side));
}

void MainWindow::scoreChanged(Side side, int score) {
  showCaption(scoreLabels_[side == Side::PlayerOne ? 0 : 1], ScoreCaption(score));
}

void MainWindow::turnPassed(Side side) { showCaption(turnLabel_, TurnCaption(side)); }

void MainWindow::computerTurnDue() {
  if (!computerPause_->isActive()) computerPause_->start();
}

void MainWindow::computerTurnCancelled() { computerPause_->stop(); }

// The clock keeps its size and centres its text.
void MainWindow::clockMoved(int hours, int minutes, int seconds) {
  clockLabel_->setCaption(QString::fromStdString(ClockCaption(hours, minutes, seconds)));
}

void MainWindow::gameEnded(Side winner) {
  clockTicker_->stop();
  showCaption(turnLabel_, VerdictCaption(winner));
  if (!winner_) winner_ = new WinnerWindow;
  winner_->setVerdict(QString::fromStdString(WinnerCaption(winner)));
  // The game is stopped already: a click that slips in while the end sounds finds no game to play.
  playClip(Clip::GameOver);
  LoadAndShow(winner_);
}

void MainWindow::modeChanged(PlayMode mode) {
  modeActions_[0]->setChecked(mode == PlayMode::PersonVsPerson);
  modeActions_[1]->setChecked(mode == PlayMode::PersonVsComputer);
}

bool MainWindow::ask(const Question& question) { return ConfirmQuestion(this, question); }

bool MainWindow::soundEffectsOn() const { return sound_.effectsOn(); }

HowToPlayWindow* MainWindow::howToPlayWindow() const { return howToPlay_.data(); }

AboutWindow* MainWindow::aboutWindow() const { return about_.data(); }

WinnerWindow* MainWindow::winnerWindow() const { return winner_.data(); }

}  // namespace nokturna
