// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window: the board with its 112 line images and 49 square markers, the turn, score and clock
// labels, the computer's pause and the clock's ticker, and the menu bar. It hands clicks, ticks and menu
// commands to the rules and shows what they tell of the game (GameEvents) in pictures, captions, timers
// and sounds.
#pragma once

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <array>
#include <functional>
#include <string>

#include "audio/clip.h"
#include "engine/game_state.h"
#include "ui/game_narration.h"
#include "ui/line_cursor.h"
#include "ui/move_guard.h"

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QTimer;

namespace nokturna {

class AboutWindow;
class Announcer;
class CaptionLabel;
class ClickableImage;
class CursorGlow;
class GameSound;
class HowToPlayWindow;
class WinnerWindow;

// Object names, so the controls can be found by name: "line1".."line112", "marker1".."marker49",
// "turnLabel", "playerOneScoreLabel", "opponentScoreLabel", "clockLabel", "computerPause", "clockTicker",
// the board "client", the keyboard's cursor on it "cursorGlow" and the screen reader's news on it
// "announcements" with its notice "announcement";
// menus "gameMenu", "settingsMenu", "modeMenu", "soundMenu", "musicMenu", "songAlbumMenu", "helpMenu";
// items "playAction", "exitAction", "personVsPersonAction", "personVsComputerAction", "soundOnAction",
// "soundOffAction", "musicOnAction", "musicOffAction", "song1Action".."song4Action", "howToPlayAction",
// "aboutAction".
//
// The keyboard plays too. While no menu or question is open the focus stays on the board: on the board
// itself while the cursor is hidden (at start and after a mouse press on the board), else on the line
// under the cursor, so that a screen reader reads that line as the cursor arrives. Arrow keys, Home and
// End move the cursor (CursorTarget); Space and Enter claim its line as a click on it would. With a
// screen reader, the game's events are said as they happen (GameNarration, Announcer), and a few keys
// answer questions: S the scores and the turn, T the game time, D the squares beside the line under the
// cursor; N and Shift+N take the cursor to the next and the previous free line.
class MainWindow : public QMainWindow, public GameEvents {
  Q_OBJECT

 public:
  // Plays the game's sound through `sound`, which must outlive the window.
  explicit MainWindow(GameSound& sound, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The client area below the menu bar, in logical pixels (9345 x 8355 twips).
  static constexpr int kClientWidth = 623;
  static constexpr int kClientHeight = 557;

  // What happens in the game, shown.
  void gameStarted(Side first) override;
  void lineClaimed(int line, Side side) override;
  void squareWon(int square, Side side) override;
  void scoreChanged(Side side, int score) override;
  void turnPassed(Side side) override;
  void computerTurnDue() override;
  void computerTurnCancelled() override;
  void clockMoved(int hours, int minutes, int seconds) override;
  void gameEnded(Side winner) override;
  void modeChanged(PlayMode mode) override;
  bool ask(const Question& question) override;

  // Menu commands.
  void onPlayChosen();
  void onModeChosen(PlayMode mode);
  void onSoundSwitched(bool on);
  void onMusicSwitched(bool on);
  void onSongChosen(int song);
  void onHowToPlayChosen();
  void onAboutChosen();
  void onExitChosen();

  bool soundEffectsOn() const;

  // The secondary windows while they are open, else null.
  HowToPlayWindow* howToPlayWindow() const;
  AboutWindow* aboutWindow() const;
  WinnerWindow* winnerWindow() const;

 protected:
  // Any close of the main window (its close button, the exit command) goes through shutDown.
  void closeEvent(QCloseEvent* event) override;
  // The board's keys, which reach the window from the focused board or line.
  void keyPressEvent(QKeyEvent* event) override;
  // A mouse press on the board hides the cursor.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct LinePictures {
    QPixmap vertical;
    QPixmap horizontal;
    const QPixmap& of(LineKind kind) const { return kind == LineKind::Horizontal ? horizontal : vertical; }
  };

  void loadPictures();
  void createBoard(QWidget* board);
  void createLabels(QWidget* board);
  void createTimers();
  void createMenus();
  void placeBoard();
  void createCursor();
  // The audio menus as the game's sound starts.
  void startAudio();
  // With the effects on: sounds `clip`, then lets the window show what the caller changed just before.
  void playClip(Clip clip);
  // Silences the music and closes the how-to-play, About and winner windows, in that order.
  void shutDown();

  // Input from the person and the game's timers.
  void onLineClicked(int line);
  void onComputerPauseOver();
  void onClockTick();

  // The keyboard's cursor.
  void moveCursor(CursorKey key);
  void claimAtCursor(bool repeated);
  // A player's questions, answered to a screen reader (main_window_speech.cpp).
  void startSpeech();
  void sayScores();
  void sayTime();
  void saySquaresBeside();
  void sayWhyRefused(int line);
  void moveToFreeLine(bool forward);
  void enterMenus();
  void showCursor();
  void hideCursor();

  // The turn and score labels grow and shrink with their caption.
  void showCaption(CaptionLabel* label, const std::string& text);
  const LinePictures& linePicturesOf(Side side) const;
  const QPixmap& discOf(Side side) const;

  // A group item's check mark changes only through its handler.
  void wireGroupItem(QAction* item, std::function<void()> handler);
  void wireCommand(QAction* item, std::function<void()> handler);

  GameSound& sound_;
  // The rules tell the narration, which shows each event here and then says it.
  GameNarration narration_{*this};
  Game game_{narration_};
  // Holds the input that playClip's pass of the event loop would let in during a move.
  MoveGuard guard_{this};

  // Player 1 draws in blue; the computer and the second person in green.
  LinePictures blueLines_, greenLines_;
  QPixmap blueDisc_, greenDisc_;

  QWidget* board_ = nullptr;
  std::array<ClickableImage*, kLineCount + 1> lineImages_{};
  std::array<QLabel*, kSquareCount + 1> squareMarkers_{};
  CaptionLabel* turnLabel_ = nullptr;
  std::array<CaptionLabel*, 2> scoreLabels_{};  // Player 1's, then the opponent's
  CaptionLabel* clockLabel_ = nullptr;
  QTimer* computerPause_ = nullptr;
  QTimer* clockTicker_ = nullptr;
  CursorGlow* cursorGlow_ = nullptr;
  Announcer* announcer_ = nullptr;
  int cursorLine_ = 1;
  bool cursorShown_ = false;

  QMenu* songAlbumMenu_ = nullptr;
  std::array<QAction*, 2> modeActions_{};   // person against person, person against the computer
  std::array<QAction*, 2> soundActions_{};  // on, off
  std::array<QAction*, 2> musicActions_{};  // on, off
  std::array<QAction*, 5> songActions_{};   // songs 1..4

  QPointer<HowToPlayWindow> howToPlay_;
  QPointer<AboutWindow> about_;
  QPointer<WinnerWindow> winner_;
};

}  // namespace nokturna
