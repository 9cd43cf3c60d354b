#include "audio/in_process_back_end.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace nokturna {

namespace {
// Where the music engine is set each time it starts; the volume setting lifts it from there.
constexpr std::int32_t kStartVolume = -900;
}  // namespace

InProcessBackEnd::InProcessBackEnd(ClipPlayer& clips, MusicEngine& music) : clips_(clips), music_(music) {}

void InProcessBackEnd::bringTo(const WantedMusic& wanted) {
  if (wanted.choice != choiceBegun_) {
    choiceBegun_ = wanted.choice;
    beginSong(wanted);
  }
  if (wanted.stopped) music_.Stop();
}

void InProcessBackEnd::beginSong(const WantedMusic& wanted) {
  // The song that sounds ends even when the next one then fails to load and the engine keeps the old one,
  // which so begins again.
  music_.Stop();
  music_.Load(wanted.song);
  if (!music_.Start()) return;
  music_.SetVolume(kStartVolume);
  if (const auto volume = HundredthsOfADecibel(wanted.volumeSetting)) music_.SetVolume(*volume);
  if (!wanted.stopped) music_.Play();
}

void InProcessBackEnd::play(Clip clip) {
  std::vector<std::uint8_t>& image = clipImages_[static_cast<int>(clip)];
  if (image.empty()) {
    // Read raw, so that no byte is touched on the way.
    QFile resource(QString::fromLatin1(ClipResource(clip)));
    if (resource.open(QIODevice::ReadOnly)) {
      const QByteArray bytes = resource.readAll();
      image.assign(bytes.begin(), bytes.end());
    }
  }
  clips_.play(image.data(), image.size());
}

}  // namespace nokturna
