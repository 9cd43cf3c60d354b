// Background music: one of the four songs of the song album, played once through the music engine.
// Every operation is quiet: a failure only means silence, and the game goes on.
#pragma once

#include <cstdint>

namespace nokturna {

class MusicEngine;

// The engine every operation goes to; null means no music. The program installs the real one, tests a
// fake. Installing an engine starts the module cold again (not ready, no objects): install null before
// the engine goes, so that the module's objects go with it.
void SetMusicEngine(MusicEngine* engine);

// A fresh loader and performance, prepared for MIDI playback at -900 (hundredths of a decibel).
void InitMusic();
// Loads song n (1..4) from the song folder; on failure the song loaded before stays.
void LoadSong(std::uint8_t n);
// Plays the loaded song from its beginning, unless it is sounding already.
void PlaySong();
// Stops the instance PlaySong started last, at once.
void StopSong();
// Applies a volume setting: setting x 42 - 3000 hundredths of a decibel.
void SetMusicVolume(std::int16_t setting);
// Stops the music and releases the performance and the loader.
void ShutDownMusic();

// True after InitMusic succeeded.
bool MusicReady();

}  // namespace nokturna
