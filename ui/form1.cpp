#include "ui/form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QTimer>

#include "audio/music_player.h"
#include "audio/song_album.h"
#include "audio/sound_effects.h"
#include "engine/line_claiming.h"
#include "opponent/game_clock.h"
#include "opponent/play_modes.h"
#include "ui/board_accessibility.h"
#include "ui/caption_label.h"
#include "ui/clickable_image.h"
#include "ui/confirm_question.h"
#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/frm_about.h"
#include "ui/game_fonts.h"
#include "ui/game_pictures.h"
#include "ui/picture_background.h"
#include "ui/window_placement.h"

namespace nokturna {

namespace {

// Label positions and the clock's fixed size, in twips as the window was designed.
constexpr TwipPoint kCommentAt{240, 240};
constexpr TwipPoint kScore1At{2040, 7800};
constexpr TwipPoint kScore2At{5040, 7800};
constexpr TwipPoint kTimeAt{6720, 7920};
constexpr int kTimeWidth = 2295, kTimeHeight = 375;

constexpr qreal kCommentPoints = 9.75;
constexpr qreal kScorePoints = 24;
constexpr qreal kTimePoints = 13.5;

QPoint toPixels(TwipPoint p) { return {twipsToPixels(p.left), twipsToPixels(p.top)}; }

QPixmap picture(const char* name) { return GamePicture(QLatin1String(name)); }

CaptionLabel* makeLabel(QWidget* parent, const char* name, const QString& accessibleName,
                        const QString& caption, qreal points, TwipPoint at) {
  auto* label = new CaptionLabel(accessibleName, caption, parent);
  label->setObjectName(QLatin1String(name));
  label->setFont(LabelFont(points));
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->move(toPixels(at));
  return label;
}

// Screen readers hear of a new description; one that stays the same is not announced again.
void describe(QWidget* image, const QString& description) {
  if (image->accessibleDescription() != description) image->setAccessibleDescription(description);
}

void setTextColour(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

// Loads a secondary window (an open one is reused as it is) and shows it without an owner and without
// blocking; a window already open comes to the front.
template <typename Window>
void loadAndShow(QPointer<Window>& window) {
  if (!window) window = new Window;
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace

form1::form1(QWidget* parent, const QString& programFolder) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Nokturna 1.0"));
  setWindowIcon(GameIcon());
  InstallBoardAccessibility();
  // A fixed single border: minimise and close, no maximise.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

  loadPictures();
  auto* client = new PictureBackground(picture("board.bmp"), palette().color(QPalette::Window), this);
  client->setObjectName(QStringLiteral("client"));
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);

  createBoard(client);
  createLabels(client);
  createTimers();
  createMenus();
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  Form_Load(programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder);

  adjustSize();
  CentreOnScreen(this);
}

form1::~form1() {
  // The secondary windows have no owner; they go with the game they belong to.
  delete howToPlay_.data();
  delete about_.data();
  delete winner_.data();
}

void form1::loadPictures() {
  Pic1 = {QPixmap(), picture("line_blue_v.png"), picture("line_blue_h.png")};
  // The computer and the second person draw with the same green bars and discs.
  Pic2 = {QPixmap(), picture("line_green_v.png"), picture("line_green_h.png")};
  Pic3 = Pic2;
  const QPixmap green = picture("disc_green.png");
  bolapic = {QPixmap(), picture("disc_blue.png"), green, green};
}

void form1::createBoard(QWidget* client) {
  // Markers first, so that line strips lie above them and always take their clicks.
  for (int square = 1; square <= kSquareCount; ++square) {
    auto* image = new QLabel(client);
    image->setObjectName(QStringLiteral("bola%1").arg(square));
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->resize(twipsToPixels(kMarkerWidth), twipsToPixels(kMarkerHeight));
    image->setPixmap(bolapic[kPlayer1]);
    image->setAccessibleName(SquareAccessibleName(square));
    image->setAccessibleDescription(SquareAccessibleDescription(QString()));
    bola[square] = image;
  }
  for (int line = 1; line <= kLineCount; ++line) {
    auto* image = new ClickableImage(line, client);
    image->setObjectName(QStringLiteral("box%1").arg(line));
    const bool horizontal = isHorizontal(line);
    image->resize(twipsToPixels(horizontal ? kHorizontalLineWidth : kVerticalLineWidth),
                  twipsToPixels(horizontal ? kHorizontalLineHeight : kVerticalLineHeight));
    // Until the first game the whole board shows in the first player's pictures; they are decoration,
    // so to a screen reader every line is free.
    image->setPixmap(Pic1[horizontal ? kHorizontal : kVertical]);
    image->setAccessibleName(LineAccessibleName(line));
    image->setAccessibleDescription(LineAccessibleDescription(QString()));
    connect(image, &ClickableImage::clicked, this, [this](int index) {
      guard_.offer([this, index] { guard_.runMove([this, index] { box_Click(game_, index); }); });
    });
    box[line] = image;
  }
}

void form1::createLabels(QWidget* client) {
  commentlbl = makeLabel(client, "commentlbl", QStringLiteral("Turn"),
                         QStringLiteral("Welcome to Nokturna 1.0"), kCommentPoints, kCommentAt);
  commentlbl->adjustSize();

  scorelbl[1] = makeLabel(client, "scorelbl1", QStringLiteral("Score of Player 1"), QStringLiteral("0000"),
                          kScorePoints, kScore1At);
  scorelbl[2] = makeLabel(client, "scorelbl2", QStringLiteral("Score of the opponent"),
                          QStringLiteral("0000"), kScorePoints, kScore2At);
  for (int i = 1; i <= 2; ++i) {
    setTextColour(scorelbl[i], Qt::black);
    scorelbl[i]->adjustSize();
  }

  timelbl = makeLabel(client, "timelbl", QStringLiteral("Game time"), QStringLiteral("00:00:00"), kTimePoints,
                      kTimeAt);
  timelbl->setAlignment(Qt::AlignCenter);
  timelbl->setFixedSize(twipsToPixels(kTimeWidth), twipsToPixels(kTimeHeight));
  setTextColour(timelbl, Qt::white);
}

void form1::createTimers() {
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(kComputerPauseMs);
  connect(Timer1, &QTimer::timeout, this,
          [this] { guard_.offer([this] { guard_.runMove([this] { Timer1_Timer(game_); }); }); });

  Timer2 = new QTimer(this);
  Timer2->setObjectName(QStringLiteral("Timer2"));
  Timer2->setInterval(kClockTickMs);
  // The clock only writes its label; it may tick in the middle of a move.
  connect(Timer2, &QTimer::timeout, this, [this] { Timer2_Timer(game_); });
}

void form1::Form_Load(const QString& programFolder) {
  FormLoadBoard(game_);
  for (int line = 1; line <= kLineCount; ++line) box[line]->move(toPixels(game_.layout.box[line]));
  for (int square = 1; square <= kSquareCount; ++square) {
    bola[square]->move(toPixels(game_.layout.bola[square]));
  }

  nokturna::soundOn = true;
  const SongSearch songs = FindSongs(programFolder.toStdString());
  if (songs.disableSongAlbum) musik1->menuAction()->setEnabled(false);
  if (musicOn) StartMusic();
}

void form1::Form_Unload() {
  ShutDownMusic();
  if (howToPlay_) howToPlay_->close();
  if (about_) about_->close();
  if (winner_) winner_->close();
}

// A close is never refused and asks nothing.
void form1::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}

CaptionLabel* form1::labelFor(Label label) const {
  switch (label) {
    case Label::commentlbl:
      return commentlbl;
    case Label::scorelbl1:
      return scorelbl[1];
    case Label::scorelbl2:
      return scorelbl[2];
    case Label::timelbl:
      return timelbl;
  }
  return nullptr;
}

const std::array<QPixmap, 3>& form1::linePictures(int slot) const {
  switch (slot) {
    case kComputer:
      return Pic2;
    case kPlayer2:
      return Pic3;
    default:
      return Pic1;
  }
}

QString form1::ownerName(int slot) const {
  if (slot < kPlayer1 || slot > kPlayer2) return QString();
  return QString::fromStdString(game_.state.playerName[slot]);
}

void form1::setLinePicture(int line, int slot, int kind) {
  if (line < 1 || line > kLineCount) return;
  // The rules draw a line's picture when they claim it, and clear it when a game starts.
  ClickableImage* image = box[line];
  describe(image, LineAccessibleDescription(slot == 0 ? QString() : ownerName(slot)));
  image->setClaimed(slot != 0);
  if (slot == 0) {
    image->clear();
    return;
  }
  image->setPixmap(linePictures(slot)[kind == kHorizontal ? kHorizontal : kVertical]);
}

void form1::setMarkerPicture(int square, int slot) {
  if (square < 1 || square > kSquareCount) return;
  describe(bola[square], SquareAccessibleDescription(ownerName(slot)));
  if (slot < 1 || slot > 3) {
    bola[square]->clear();
    return;
  }
  bola[square]->setPixmap(bolapic[slot]);
}

void form1::setCaption(Label label, const std::string& text) {
  CaptionLabel* target = labelFor(label);
  if (target == nullptr) return;
  target->setCaption(QString::fromStdString(text));
  // The clock keeps its size and centres its text; the others grow and shrink with their caption.
  if (target != timelbl) target->adjustSize();
}

void form1::setTimerEnabled(Timer timer, bool enabled) {
  QTimer* target = timer == Timer::Timer1 ? Timer1 : Timer2;
  if (!enabled) {
    target->stop();
  } else if (!target->isActive()) {
    // Enabling a running timer leaves its period alone.
    target->start();
  }
}

void form1::setModeChecked(int index, bool checked) {
  if (index >= 1 && index <= 2) vsmode[index]->setChecked(checked);
}

Form2* form1::howToPlayWindow() const { return howToPlay_.data(); }

frmAbout* form1::aboutWindow() const { return about_.data(); }

Form3* form1::winnerWindow() const { return winner_.data(); }

bool form1::soundOn() const { return nokturna::soundOn; }

void form1::playClip(int id) { PlaySoundClip(static_cast<std::int16_t>(id)); }

void form1::setWinnerCaption(const std::string& text) {
  if (!winner_) winner_ = new Form3;
  winner_->setVerdict(QString::fromStdString(text));
}

void form1::showWinner() { loadAndShow(winner_); }

bool form1::confirm(const Question& question) { return ConfirmQuestion(this, question); }

void form1::how1_Click() {
  if (soundOn()) playClip(3);
  loadAndShow(howToPlay_);
}

void form1::about1_Click() {
  if (soundOn()) playClip(4);
  loadAndShow(about_);
}

void form1::xit1_Click() {
  static const Question kExitQuestion{"Mohon maaf, apa benar Anda mau kembali ke habitat asli di rawa ??",
                                      "Ooouupss, what's wrong !!", Buttons::OkCancel};
  if (!ConfirmQuestion(this, kExitQuestion)) return;
  // Out at once, but the orderly way: the same close as the window's close button, so the music is
  // stopped and the other windows go too; then the event loop ends, whatever window is still around.
  if (close()) QCoreApplication::exit(0);
}

}  // namespace nokturna
