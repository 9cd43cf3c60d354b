#include "ui/form2.h"

#include <QApplication>
#include <QPalette>

namespace nokturna {

Form2::Form2()
    : PictureWindow(QStringLiteral("Form2"), QStringLiteral("How to play.."),
                    QPixmap(QStringLiteral(":/pictures/howto.png")),
                    QApplication::palette().color(QPalette::Button), QSize(kClientWidth, kClientHeight)) {}

}  // namespace nokturna
