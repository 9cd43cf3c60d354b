// The main window: the board with its 112 line images and 49 square markers, the turn, score and clock
// labels, the two game timers and the menu bar. It is the game's window port: the rules draw, caption,
// time and ask questions through it.
#pragma once

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <array>
#include <functional>
#include <string>

#include "engine/game_state.h"
#include "ui/move_guard.h"

class QAction;
class QLabel;
class QMenu;
class QTimer;

namespace nokturna {

class CaptionLabel;
class ClickableImage;
class Form2;
class Form3;
class frmAbout;

// Object names, so the controls can be found by name: "box1".."box112", "bola1".."bola49",
// "commentlbl", "scorelbl1", "scorelbl2", "timelbl", "Timer1", "Timer2"; menus "menu1", "set1", "mode1",
// "soundmenu", "musikmenu", "musik1", "help1"; items "play1", "xit1", "vsmode1", "vsmode2", "sound11",
// "sound12", "music11", "music12", "song1".."song4", "how1", "about1" (group name followed by index).
class form1 : public QMainWindow, public WindowPort {
  Q_OBJECT

 public:
  // The songs are looked for in "SongAlbum" inside `programFolder`; by default the program's own folder.
  explicit form1(QWidget* parent = nullptr, const QString& programFolder = QString());
  ~form1() override;

  // The client area below the menu bar, in logical pixels (9345 x 8355 twips).
  static constexpr int kClientWidth = 623;
  static constexpr int kClientHeight = 557;

  // Window port.
  void setLinePicture(int line, int slot, int kind) override;
  void setMarkerPicture(int square, int slot) override;
  void setCaption(Label label, const std::string& text) override;
  void setTimerEnabled(Timer timer, bool enabled) override;
  void setModeChecked(int index, bool checked) override;
  bool soundOn() const override;
  void playClip(int id) override;
  void setWinnerCaption(const std::string& text) override;
  void showWinner() override;
  bool confirm(const Question& question) override;

  // Menu handlers of this layer.
  void sound1_Click(int index);
  void music1_Click(int index);
  void song_Click(int index);
  void how1_Click();
  void about1_Click();
  void xit1_Click();

  // The secondary windows while they are open, else null.
  Form2* howToPlayWindow() const;
  frmAbout* aboutWindow() const;
  Form3* winnerWindow() const;

 protected:
  // Any close of the main window (its close button, the exit command) goes through Form_Unload.
  void closeEvent(QCloseEvent* event) override;

 private:
  void loadPictures();
  void createBoard(QWidget* client);
  void createLabels(QWidget* client);
  void createTimers();
  void createMenus();
  void Form_Load(const QString& programFolder);
  void StartMusic();
  // Silences the music and closes the how-to-play, About and winner windows, in that order.
  void Form_Unload();

  CaptionLabel* labelFor(Label label) const;
  // The name of the player in slot 1..3, else empty (nobody).
  QString ownerName(int slot) const;
  const std::array<QPixmap, 3>& linePictures(int slot) const;

  // A group item's check mark changes only through its handler; a null handler leaves it as it was.
  void wireGroupItem(QAction* item, std::function<void()> handler);
  void wireCommand(QAction* item, std::function<void()> handler);

  Game game_{*this};
  MoveGuard guard_{this};

  // The invisible picture holders: line bars by slot (index 1 vertical, 2 horizontal), discs by slot.
  std::array<QPixmap, 3> Pic1, Pic2, Pic3;
  std::array<QPixmap, 4> bolapic;

  std::array<ClickableImage*, kLineCount + 1> box{};
  std::array<QLabel*, kSquareCount + 1> bola{};
  CaptionLabel* commentlbl = nullptr;
  std::array<CaptionLabel*, 3> scorelbl{};
  CaptionLabel* timelbl = nullptr;
  QTimer* Timer1 = nullptr;
  QTimer* Timer2 = nullptr;

  QMenu* musik1 = nullptr;
  std::array<QAction*, 3> vsmode{};
  std::array<QAction*, 3> sound1{};
  std::array<QAction*, 3> music1{};
  std::array<QAction*, 5> song{};

  QPointer<Form2> howToPlay_;
  QPointer<frmAbout> about_;
  QPointer<Form3> winner_;
};

}  // namespace nokturna
