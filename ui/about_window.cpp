#include "ui/about_window.h"

#include "ui/game_pictures.h"

namespace nokturna {

AboutWindow::AboutWindow()
    : PictureWindow(QStringLiteral("aboutWindow"), QStringLiteral("About Nokturna 1.0"),
                    GamePicture(QStringLiteral("about.png")), Qt::black, QSize(kClientWidth, kClientHeight)) {
}

}  // namespace nokturna
