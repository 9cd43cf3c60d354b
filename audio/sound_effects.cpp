#include "audio/sound_effects.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QString>
#include <utility>

namespace nokturna {

bool soundOn = true;
std::vector<std::uint8_t> clipData;

namespace {
ClipPlayer* clipPlayer = nullptr;
}  // namespace

void SetClipPlayer(ClipPlayer* player) { clipPlayer = player; }

void PlaySoundClip(std::int16_t id) {
  // The clips are built into the program; read raw, so no byte is touched on the way.
  std::vector<std::uint8_t> loaded;
  QFile resource(QStringLiteral(":/sounds/%1.wav").arg(id));
  if (resource.open(QIODevice::ReadOnly)) {
    const QByteArray bytes = resource.readAll();
    loaded.assign(bytes.begin(), bytes.end());
  }

  // A player may still be reading the previous clip out of clipData. Keep those bytes alive until the
  // new play() has cut that clip off; only then may they go. (The SDL player copies at play() and would
  // not need this, but the port promises no more than "valid until the next play()".)
  std::vector<std::uint8_t> previous = std::exchange(clipData, std::move(loaded));

  // From here on nothing can fail loudly: a missing device or a bad image only means silence.
  if (clipPlayer != nullptr) clipPlayer->play(clipData.data(), clipData.size());
  previous.clear();
  previous.shrink_to_fit();

  // Let the freshly claimed line be drawn before the move goes on, but hold back clicks: a queued click
  // must not start a second move in the middle of this one.
  if (QCoreApplication::instance() != nullptr) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
}

}  // namespace nokturna
