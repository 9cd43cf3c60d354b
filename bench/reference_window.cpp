// The reference for the start-up, memory and idle benchmarks: a bare Qt 6 window with a menu bar of the
// game's shape (four menus, the second with three submenus) above a 623 x 557 picture, and nothing else.
// Like the game, NOKTURNA_REPORT_FIRST_PAINT=1 makes it print the monotonic clock at its first paint.
#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

class FirstPaintReport : public QObject {
 public:
  explicit FirstPaintReport(QWidget* window) : window_(window) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!reported_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == window_) {
      reported_ = true;
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      std::printf("first-paint %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
      std::fflush(stdout);
    }
    return false;
  }

 private:
  QWidget* window_;
  bool reported_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Reference"));
  QMenuBar* bar = window.menuBar();
  bar->setNativeMenuBar(false);
  QMenu* first = bar->addMenu(QStringLiteral("&Menu"));
  first->addAction(QStringLiteral("&Play"));
  first->addAction(QStringLiteral("&Quit"));
  QMenu* second = bar->addMenu(QStringLiteral("&Settings"));
  for (const char* name : {"&Mode", "S&ound", "&Music"}) {
    QMenu* sub = second->addMenu(QString::fromLatin1(name));
    sub->addAction(QStringLiteral("One"))->setCheckable(true);
    sub->addAction(QStringLiteral("Two"))->setCheckable(true);
  }
  QMenu* third = bar->addMenu(QStringLiteral("&Songs"));
  for (int i = 1; i <= 4; ++i) third->addAction(QStringLiteral("Song %1").arg(i))->setCheckable(true);
  QMenu* fourth = bar->addMenu(QStringLiteral("&Help"));
  fourth->addAction(QStringLiteral("&How"));
  fourth->addAction(QStringLiteral("&About"));

  // A picture of the board's size, drawn rather than loaded so the reference needs no files.
  QImage picture(623, 557, QImage::Format_RGB32);
  picture.fill(QColor(40, 60, 40));
  {
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    for (int x = 20; x < 623; x += 80) painter.drawLine(x, 0, x, 556);
  }
  auto* board = new QLabel;
  board->setPixmap(QPixmap::fromImage(picture));
  board->setFixedSize(623, 557);
  window.setCentralWidget(board);

  FirstPaintReport report(&window);
  const char* wanted = std::getenv("NOKTURNA_REPORT_FIRST_PAINT");
  if (wanted != nullptr && *wanted == '1') app.installEventFilter(&report);
  window.show();
  return QApplication::exec();
}
