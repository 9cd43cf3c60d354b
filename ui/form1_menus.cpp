// The menu bar of the main window and the wiring of every item to its handler.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "engine/new_game.h"
#include "opponent/play_modes.h"
#include "ui/form1.h"

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

// A member of an indexed group: named after the group followed by its index, and carrying a check mark.
QAction* addGroupItem(QMenu* menu, const char* group, int index, const char* caption, bool checked) {
  QAction* item = addItem(menu, QLatin1String(group) + QString::number(index), caption);
  item->setCheckable(true);
  item->setChecked(checked);
  return item;
}

}  // namespace

void form1::createMenus() {
  QMenuBar* bar = menuBar();
  // The menu belongs to the window on every desktop, so the board below it keeps its size.
  bar->setNativeMenuBar(false);

  QMenu* menu1 = addMenu(bar, "menu1", "&Menu");
  wireCommand(addItem(menu1, QStringLiteral("play1"), "&Play, boy !!"), [this] { play1_Click(game_); });
  wireCommand(addItem(menu1, QStringLiteral("xit1"), "&I want out !!"), [this] { xit1_Click(); });

  QMenu* set1 = addMenu(bar, "set1", "&Settings");
  QMenu* mode1 = addSubmenu(set1, "mode1", "&Mode");
  vsmode[1] = addGroupItem(mode1, "vsmode", 1, "Orang vs Orang", false);
  vsmode[2] = addGroupItem(mode1, "vsmode", 2, "Orang vs Daviz Edezo", true);
  for (int i = 1; i <= 2; ++i) wireGroupItem(vsmode[i], [this, i] { vsmode_Click(game_, i); });

  QMenu* soundmenu = addSubmenu(set1, "soundmenu", "S&ound");
  sound1[1] = addGroupItem(soundmenu, "sound1", 1, "&Play Loud !!", true);
  sound1[2] = addGroupItem(soundmenu, "sound1", 2, "&Please turn off..", false);
  for (int i = 1; i <= 2; ++i) wireGroupItem(sound1[i], [this, i] { sound1_Click(i); });

  QMenu* musikmenu = addSubmenu(set1, "musikmenu", "&Music");
  music1[1] = addGroupItem(musikmenu, "music1", 1, "&Hidupkan ahli kubur", true);
  music1[2] = addGroupItem(musikmenu, "music1", 2, "&Sleep in hell", false);
  for (int i = 1; i <= 2; ++i) wireGroupItem(music1[i], [this, i] { music1_Click(i); });

  musik1 = addMenu(bar, "musik1", "&Song Album");
  const char* songCaptions[] = {"&Lagu Menyan", "&I will survive", "&Every breath", "&Sailing"};
  for (int i = 1; i <= 4; ++i) {
    song[i] = addGroupItem(musik1, "song", i, songCaptions[i - 1], i == 1);
    wireGroupItem(song[i], [this, i] { song_Click(i); });
  }

  QMenu* help1 = addMenu(bar, "help1", "&Help");
  wireCommand(addItem(help1, QStringLiteral("how1"), "&How to Play !!"), [this] { how1_Click(); });
  wireCommand(addItem(help1, QStringLiteral("about1"), "&About Me ??"), [this] { about1_Click(); });
}

void form1::wireGroupItem(QAction* item, std::function<void()> handler) {
  connect(item, &QAction::triggered, this, [this, item, handler](bool checked) {
    // Qt flips a checkable item on its own; undo that, the handler decides where the marks go.
    item->setChecked(!checked);
    if (handler) guard_.offer(handler);
  });
}

void form1::wireCommand(QAction* item, std::function<void()> handler) {
  connect(item, &QAction::triggered, this, [this, handler] { guard_.offer(handler); });
}

}  // namespace nokturna
