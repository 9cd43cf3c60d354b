// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The menu bar of the main window, the wiring of every item to its handler, and the game's commands.
#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

#include "engine/captions.h"
#include "engine/new_game.h"
#include "opponent/play_modes.h"
#include "ui/about_window.h"
#include "ui/how_to_play_window.h"
#include "ui/main_window.h"
#include "ui/menu_style.h"
#include "ui/window_placement.h"

namespace nokturna {

namespace {

QMenu* addMenu(QMenuBar* bar, const char* name, const char* caption) {
  QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
  menu->setObjectName(QLatin1String(name));
  return menu;
}

QMenu* addSubmenu(QMenu* parent, const char* name, const char* caption) {
  QMenu* menu = parent->addMenu(QString::fromUtf8(caption));
  menu->setObjectName(QLatin1String(name));
  return menu;
}

QAction* addItem(QMenu* menu, const QString& name, const char* caption) {
  QAction* item = menu->addAction(QString::fromUtf8(caption));
  item->setObjectName(name);
  return item;
}

// A member of a group of choices, carrying a check mark.
QAction* addChoice(QMenu* menu, const QString& name, const char* caption, bool checked) {
  QAction* item = addItem(menu, name, caption);
  item->setCheckable(true);
  item->setChecked(checked);
  return item;
}

}  // namespace

void MainWindow::createMenus() {
  QMenuBar* bar = menuBar();
  // The menu belongs to the window on every desktop, so the board below it keeps its size.
  bar->setNativeMenuBar(false);

  QMenu* gameMenu = addMenu(bar, "gameMenu", "&Menu");
  QAction* playAction = addItem(gameMenu, QStringLiteral("playAction"), "&Play, boy !!");
  wireCommand(playAction, [this] { onPlayChosen(); });
  QAction* exitAction = addItem(gameMenu, QStringLiteral("exitAction"), "&I want out !!");
  wireCommand(exitAction, [this] { onExitChosen(); });

  QMenu* settingsMenu = addMenu(bar, "settingsMenu", "&Settings");
  QMenu* modeMenu = addSubmenu(settingsMenu, "modeMenu", "&Mode");
  modeActions_ = {
      addChoice(modeMenu, QStringLiteral("personVsPersonAction"), "Orang vs Orang", false),
      addChoice(modeMenu, QStringLiteral("personVsComputerAction"), "Orang vs Daviz Edezo", true)};
  wireGroupItem(modeActions_[0], [this] { onModeChosen(PlayMode::PersonVsPerson); });
  wireGroupItem(modeActions_[1], [this] { onModeChosen(PlayMode::PersonVsComputer); });

  QMenu* soundMenu = addSubmenu(settingsMenu, "soundMenu", "S&ound");
  soundActions_ = {addChoice(soundMenu, QStringLiteral("soundOnAction"), "&Play Loud !!", true),
                   addChoice(soundMenu, QStringLiteral("soundOffAction"), "&Please turn off..", false)};
  wireGroupItem(soundActions_[0], [this] { onSoundSwitched(true); });
  wireGroupItem(soundActions_[1], [this] { onSoundSwitched(false); });

  QMenu* musicMenu = addSubmenu(settingsMenu, "musicMenu", "&Music");
  musicActions_ = {addChoice(musicMenu, QStringLiteral("musicOnAction"), "&Hidupkan ahli kubur", true),
                   addChoice(musicMenu, QStringLiteral("musicOffAction"), "&Sleep in hell", false)};
  wireGroupItem(musicActions_[0], [this] { onMusicSwitched(true); });
  wireGroupItem(musicActions_[1], [this] { onMusicSwitched(false); });

  songAlbumMenu_ = addMenu(bar, "songAlbumMenu", "&Song Album");
  const char* songCaptions[] = {"&Lagu Menyan", "&I will survive", "&Every breath", "&Sailing"};
  for (int song = 1; song <= 4; ++song) {
    songActions_[song] = addChoice(songAlbumMenu_, QStringLiteral("song%1Action").arg(song),
                                   songCaptions[song - 1], song == 1);
    wireGroupItem(songActions_[song], [this, song] { onSongChosen(song); });
  }

  QMenu* helpMenu = addMenu(bar, "helpMenu", "&Help");
  QAction* howToPlayAction = addItem(helpMenu, QStringLiteral("howToPlayAction"), "&How to Play !!");
  wireCommand(howToPlayAction, [this] { onHowToPlayChosen(); });
  QAction* aboutAction = addItem(helpMenu, QStringLiteral("aboutAction"), "&About Me ??");
  wireCommand(aboutAction, [this] { onAboutChosen(); });

  // Made after the menus, so it outlives them.
  auto* style = new MenuStyle;
  style->setParent(this);
  bar->setStyle(style);
  for (QMenu* menu : bar->findChildren<QMenu*>()) menu->setStyle(style);
}

void MainWindow::wireGroupItem(QAction* item, std::function<void()> handler) {
  connect(item, &QAction::triggered, this, [this, item, handler](bool checked) {
    // Qt flips a checkable item on its own; undo that, the handler decides where the marks go.
    item->setChecked(!checked);
    guard_.offer(handler);
  });
}

void MainWindow::wireCommand(QAction* item, std::function<void()> handler) {
  connect(item, &QAction::triggered, this, [this, handler] { guard_.offer(handler); });
}

void MainWindow::onPlayChosen() { PlayChosen(game_); }

void MainWindow::onModeChosen(PlayMode mode) { ModeChosen(game_, mode); }

void MainWindow::onHowToPlayChosen() {
  playClip(Clip::HowToPlay);
  LoadAndShow(howToPlay_);
}

void MainWindow::onAboutChosen() {
  playClip(Clip::About);
  LoadAndShow(about_);
}

void MainWindow::onExitChosen() {
  if (!ask(kExitQuestion)) return;
  // Out at once, but the orderly way: the same close as the window's close button, so the music is
  // stopped and the other windows go too; then the event loop ends, whatever window is still around.
  if (close()) QCoreApplication::exit(0);
}

}  // namespace nokturna
