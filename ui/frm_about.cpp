#include "ui/frm_about.h"

#include "ui/game_pictures.h"

namespace nokturna {

frmAbout::frmAbout()
    : PictureWindow(QStringLiteral("frmAbout"), QStringLiteral("About Nokturna 1.0"),
                    GamePicture(QStringLiteral("about.png")), Qt::black, QSize(kClientWidth, kClientHeight)) {
}

}  // namespace nokturna
