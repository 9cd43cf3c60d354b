#include "ui/frm_about.h"

namespace nokturna {

frmAbout::frmAbout()
    : PictureWindow(QStringLiteral("frmAbout"), QStringLiteral("About Nokturna 1.0"),
                    QPixmap(QStringLiteral(":/pictures/about.png")), Qt::black,
                    QSize(kClientWidth, kClientHeight)) {}

}  // namespace nokturna
