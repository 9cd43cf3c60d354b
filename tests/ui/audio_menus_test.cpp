// The music through the main window: the first song at start-up, the Music switch and the Song Album,
// with the music engine replaced by one that only writes down what it is asked.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <string>
#include <vector>

#include "audio/music_player.h"
#include "audio/song_album.h"
#include "tests/audio/recording_music_engine.h"
#include "ui_test_support.h"

using namespace nokturna;
using namespace nokturna::testing;

namespace {

// True when the calls hold each of `wanted` (a piece of a call) in this order, others in between.
bool inOrder(const std::vector<std::string>& calls, const std::vector<std::string>& wanted) {
  auto next = wanted.begin();
  for (const std::string& call : calls) {
    if (next != wanted.end() && call.find(*next) != std::string::npos) ++next;
  }
  return next == wanted.end();
}

int count(const std::vector<std::string>& calls, const std::string& piece) {
  int n = 0;
  for (const std::string& call : calls) n += call.find(piece) != std::string::npos;
  return n;
}

}  // namespace

class AudioMenusTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    clips_ = std::make_unique<ClipRecorder>();
    music_ = std::make_unique<RecordingMusicEngine>();
    SetMusicEngine(music_.get());
    programFolder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(programFolder_->path()).mkdir(QStringLiteral("SongAlbum")));
  }
  void cleanup() {
    window_.reset();
    SetMusicEngine(nullptr);
    music_.reset();
    clips_.reset();
    programFolder_.reset();
  }

  void aSongBesideTheProgramStartsSongOneAtLoad() {
    addSong("Music1.mid");
    open();
    const auto& calls = music_->calls();
    QVERIFY(inOrder(calls, {"Start", "SetVolume(-900)", "Load(" + songPath("Music1.mid") + ")",
                            "SetVolume(570)", "Play(" + songPath("Music1.mid") + ")"}));
    QCOMPARE(musicVolume, std::int16_t{85});
    QVERIFY(itemOf(*window_, "song1Action")->isChecked());
    QVERIFY(album()->menuAction()->isEnabled());
  }

  void noSongAtLoadCallsNoMusicAndSwitchesTheAlbumOff() {
    open();
    QVERIFY(music_->calls().empty());
    QVERIFY(!album()->menuAction()->isEnabled());
    // The switch keeps its start-up mark although nothing plays.
    QVERIFY(itemOf(*window_, "musicOnAction")->isChecked());
  }

  void musicOffStopsTheSongAndMusicOnStartsNothing() {
    addSong("Music1.mid");
    open();
    music_->calls().clear();
    itemOf(*window_, "musicOffAction")->trigger();
    QVERIFY(itemOf(*window_, "musicOffAction")->isChecked());
    QVERIFY(!itemOf(*window_, "musicOnAction")->isChecked());
    QVERIFY(!album()->menuAction()->isEnabled());
    QVERIFY(!musicOn);
    QCOMPARE(count(music_->calls(), "Stop"), 1);

    music_->calls().clear();
    itemOf(*window_, "musicOnAction")->trigger();
    QVERIFY(itemOf(*window_, "musicOnAction")->isChecked());
    QVERIFY(album()->menuAction()->isEnabled());
    QVERIFY(musicOn);
    QCOMPARE(count(music_->calls(), "Play("), 0);
    // The album still marks the song chosen last.
    QVERIFY(itemOf(*window_, "song1Action")->isChecked());
  }

  void choosingASongStopsLoadsRestartsTheEngineAndPlaysIt() {
    addSong("Music1.mid");
    addSong("Music3.mid");
    open();
    music_->calls().clear();
    itemOf(*window_, "song3Action")->trigger();
    QVERIFY(
        inOrder(music_->calls(), {"Stop", "Load(" + songPath("Music3.mid") + ")", "Start", "SetVolume(-900)",
                                  "SetVolume(570)", "Play(" + songPath("Music3.mid") + ")"}));
    QVERIFY(itemOf(*window_, "song3Action")->isChecked());
    QVERIFY(!itemOf(*window_, "song1Action")->isChecked());

    // The song that carries the mark starts again from its beginning.
    music_->calls().clear();
    itemOf(*window_, "song3Action")->trigger();
    QVERIFY(inOrder(music_->calls(), {"Stop", "Load(" + songPath("Music3.mid") + ")",
                                      "Play(" + songPath("Music3.mid") + ")"}));
    QVERIFY(itemOf(*window_, "song3Action")->isChecked());
  }

  void aMissingSongTakesTheMarkWhileTheOldSongStartsAgain() {
    addSong("Music1.mid");
    open();
    music_->unloadable().insert(songPath("Music2.mid"));
    music_->calls().clear();
    itemOf(*window_, "song2Action")->trigger();
    QVERIFY(itemOf(*window_, "song2Action")->isChecked());
    QVERIFY(!itemOf(*window_, "song1Action")->isChecked());
    // The song loaded at start-up plays again.
    QCOMPARE(count(music_->calls(), "Play(" + songPath("Music1.mid") + ")"), 1);
  }

  void theFirstChoiceAfterALoadWithoutSongsPlaysTheChosenSong() {
    open();  // nothing found: engine never started, "&Lagu Menyan" still wears its start-up mark
    addSong("Music4.mid");
    itemOf(*window_, "musicOnAction")->trigger();
    itemOf(*window_, "song4Action")->trigger();
    QVERIFY(inOrder(music_->calls(), {"Load(" + songPath("Music4.mid") + ")", "SetVolume(570)",
                                      "Play(" + songPath("Music4.mid") + ")"}));
    QVERIFY(itemOf(*window_, "song4Action")->isChecked());
    QVERIFY(!itemOf(*window_, "song1Action")->isChecked());
  }

 private:
  void addSong(const char* name) {
    QFile song(programFolder_->path() + QStringLiteral("/SongAlbum/") + QLatin1String(name));
    QVERIFY(song.open(QIODevice::WriteOnly));
  }
  std::string songPath(const char* name) const {
    return (programFolder_->path() + QStringLiteral("/SongAlbum/") + QLatin1String(name)).toStdString();
  }
  void open() {
    window_ = std::make_unique<MainWindow>(nullptr, programFolder_->path());
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  QMenu* album() const { return window_->findChild<QMenu*>(QStringLiteral("songAlbumMenu")); }

  std::unique_ptr<ClipRecorder> clips_;
  std::unique_ptr<RecordingMusicEngine> music_;
  std::unique_ptr<QTemporaryDir> programFolder_;
  std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(AudioMenusTest)
#include "audio_menus_test.moc"
