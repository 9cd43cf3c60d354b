// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The music through the main window, as a player hears it: the first song at start-up, the Music switch
// and the Song Album, with the music going to a fake engine that tells which song sounds and how loud.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <string>

#include "ui_test_support.h"

using namespace nokturna;
using namespace nokturna::testing;

class AudioMenusTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    programFolder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(programFolder_->path()).mkdir(QStringLiteral("SongAlbum")));
  }
  void cleanup() {
    window_.reset();
    sound_.reset();
    programFolder_.reset();
  }

  void aSongBesideTheProgramStartsSongOneAtLoad() {
    addSong("Music1.mid");
    open();
    QCOMPARE(music().song(), songPath("Music1.mid"));
    QCOMPARE(music().level(), 570);
    QCOMPARE(music().beginnings(), 1);
    QVERIFY(itemOf(*window_, "song1Action")->isChecked());
    QVERIFY(album()->menuAction()->isEnabled());
  }

  void noSongAtLoadPlaysNothingAndSwitchesTheAlbumOff() {
    open();
    QCOMPARE(music().song(), std::string());
    QCOMPARE(music().beginnings(), 0);
    QVERIFY(!album()->menuAction()->isEnabled());
    // The switch keeps its start-up mark although nothing plays.
    QVERIFY(itemOf(*window_, "musicOnAction")->isChecked());
  }

  void musicOffStopsTheSongAndMusicOnStartsNothing() {
    addSong("Music1.mid");
    open();
    itemOf(*window_, "musicOffAction")->trigger();
    QVERIFY(itemOf(*window_, "musicOffAction")->isChecked());
    QVERIFY(!itemOf(*window_, "musicOnAction")->isChecked());
    QVERIFY(!album()->menuAction()->isEnabled());
    QVERIFY(!sound_->sound.musicOn());
    QCOMPARE(music().song(), std::string());

    itemOf(*window_, "musicOnAction")->trigger();
    QVERIFY(itemOf(*window_, "musicOnAction")->isChecked());
    QVERIFY(album()->menuAction()->isEnabled());
    QVERIFY(sound_->sound.musicOn());
    QCOMPARE(music().song(), std::string());
    QCOMPARE(music().beginnings(), 1);
    // The album still marks the song chosen last.
    QVERIFY(itemOf(*window_, "song1Action")->isChecked());
  }

  void choosingASongBeginsItAtPlus570() {
    addSong("Music1.mid");
    addSong("Music3.mid");
    open();
    itemOf(*window_, "song3Action")->trigger();
    QCOMPARE(music().song(), songPath("Music3.mid"));
    QCOMPARE(music().level(), 570);
    QCOMPARE(music().beginnings(), 2);
    QVERIFY(itemOf(*window_, "song3Action")->isChecked());
    QVERIFY(!itemOf(*window_, "song1Action")->isChecked());

    // The song that carries the mark begins again.
    itemOf(*window_, "song3Action")->trigger();
    QCOMPARE(music().song(), songPath("Music3.mid"));
    QCOMPARE(music().beginnings(), 3);
    QVERIFY(itemOf(*window_, "song3Action")->isChecked());
  }

  void aMissingSongTakesTheMarkWhileTheOldSongBeginsAgain() {
    addSong("Music1.mid");
    open();
    music().unloadable().insert(songPath("Music2.mid"));
    itemOf(*window_, "song2Action")->trigger();
    QVERIFY(itemOf(*window_, "song2Action")->isChecked());
    QVERIFY(!itemOf(*window_, "song1Action")->isChecked());
    QCOMPARE(music().song(), songPath("Music1.mid"));
    QCOMPARE(music().beginnings(), 2);
  }

  void theFirstChoiceAfterALoadWithoutSongsPlaysTheChosenSongAtPlus570() {
    open();  // nothing found: "&Lagu Menyan" still wears its start-up mark
    addSong("Music4.mid");
    itemOf(*window_, "musicOnAction")->trigger();
    itemOf(*window_, "song4Action")->trigger();
    QCOMPARE(music().song(), songPath("Music4.mid"));
    QCOMPARE(music().level(), 570);
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
    sound_ = std::make_unique<TestSound>(programFolder_->path());
    window_ = std::make_unique<MainWindow>(sound_->sound);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  FakeMusicEngine& music() { return sound_->music; }
  QMenu* album() const { return window_->findChild<QMenu*>(QStringLiteral("songAlbumMenu")); }

  std::unique_ptr<QTemporaryDir> programFolder_;
  std::unique_ptr<TestSound> sound_;
  std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(AudioMenusTest)
#include "audio_menus_test.moc"
