#include "ui/form2.h"

#include <QApplication>
#include <QPalette>

#include "ui/game_pictures.h"

namespace nokturna {

Form2::Form2()
    : PictureWindow(QStringLiteral("Form2"), QStringLiteral("How to play.."),
                    GamePicture(QStringLiteral("howto.png")), QApplication::palette().color(QPalette::Button),
                    QSize(kClientWidth, kClientHeight)) {}

}  // namespace nokturna
