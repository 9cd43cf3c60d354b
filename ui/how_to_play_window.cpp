#include "ui/how_to_play_window.h"

#include <QApplication>
#include <QPalette>

#include "ui/game_pictures.h"

namespace nokturna {

namespace {
// What the picture says (tools/make_help_art.cpp draws it), word for word.
const char kWords[] =
    "Cara Main Nokturna. "
    "Tutup kotaknya, dapat poin! Kotak yang tertutup jadi milikmu dan kamu jalan sekali lagi. "
    "Klik di antara dua tiang untuk menarik garis. "
    "Kotak terbanyak jadi Raja Kubur!";
}  // namespace

HowToPlayWindow::HowToPlayWindow()
    : PictureWindow(QStringLiteral("howToPlayWindow"), QStringLiteral("How to play.."),
                    GamePicture(QStringLiteral("howto.png")), QApplication::palette().color(QPalette::Button),
                    QSize(kClientWidth, kClientHeight), QString::fromUtf8(kWords)) {}

}  // namespace nokturna
