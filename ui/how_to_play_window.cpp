#include "ui/how_to_play_window.h"

#include <QApplication>
#include <QPalette>

#include "ui/game_pictures.h"

namespace nokturna {

HowToPlayWindow::HowToPlayWindow()
    : PictureWindow(QStringLiteral("howToPlayWindow"), QStringLiteral("How to play.."),
                    GamePicture(QStringLiteral("howto.png")), QApplication::palette().color(QPalette::Button),
                    QSize(kClientWidth, kClientHeight)) {}

}  // namespace nokturna
