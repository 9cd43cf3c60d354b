// Background music: one of the four songs of the song album, played once through the music engine.
// Every operation is quiet: a failure only means silence, and the game goes on.
#pragma once

#include <cstdint>

namespace nokturna {

class MusicEngine;

// The engine every operation goes to; null means no music. The program installs the real one, tests a
// fake. Installing an engine starts the module cold again (not ready, no song); the engine before is not
// called again, so it may be gone already.
void SetMusicEngine(MusicEngine* engine);

// Says that an engine is on its way (the sound comes up after the window shows) and lets go of the one
// installed. Until SetMusicEngine installs the next, every operation is kept, in order, and MusicReady
// answers as if each InitMusic had succeeded; installing an engine then carries them all out on it, as if
// it had been there all along, and installing none (null) drops them.
void AwaitMusicEngine();

// Starts the engine and sets it to -900 (hundredths of a decibel). Until it succeeds every other
// operation does nothing.
void InitMusic();
// Loads song n (1..4) from the song folder, stopping the song that sounds; on failure the song loaded
// before stays.
void LoadSong(std::uint8_t n);
// Plays the loaded song from its beginning, unless it is sounding already.
void PlaySong();
// Stops the song at once.
void StopSong();
// Applies a volume setting: setting x 42 - 3000 hundredths of a decibel.
void SetMusicVolume(std::int16_t setting);
// Stops the music; nothing more reaches the engine until the next InitMusic.
void ShutDownMusic();

// True after InitMusic succeeded, until ShutDownMusic. While an engine is awaited: after InitMusic.
bool MusicReady();

}  // namespace nokturna
