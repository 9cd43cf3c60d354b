// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What sounds through the game's output, and how the sound's threads share their work.
//
// The processes. The game's window never runs any of this: the back end lives in the sound program
// (sound_program.cpp), a process of its own that the game starts, tells what is wanted over a socket and
// starts again when it goes (sound_process.h). There, "the game's thread" below is the sound program's
// main thread, which reads the game's messages and carries them out; in the tests and benchmarks that host
// the back end themselves it is their own thread.
//
// The threads, and what each one owns
//
//   The game's thread   calls the ports (ClipPlayer::play, the MusicEngine operations). It decodes a clip
//                       and reads a song file itself before it hands either over. It waits for no other
//                       thread beyond a few instructions: a hand-over is a swap of pointers under a lock
//                       held for nothing else, or a store into an atomic. It owns the song last loaded.
//   The audio thread    SDL's, inside SdlAudioOutput's callback. It mixes what the sources made ready (the
//                       clip the player handed over, the music the renderer wrote into its ring), runs the
//                       limiter, and rests while nothing sounds. It owns the clip that sounds, its place in
//                       the ring and the limiter. It never reads a file, allocates or frees, and never
//                       waits for a lock held across more than a few instructions; music that comes late
//                       is a gap in the music, never a late period or a late clip.
//   The keeper          SdlAudioOutput's own: opens a device again when it is lost, while something wants
//                       to sound. It owns SDL's audio (starting and stopping it) once it runs. Whether its
//                       calls into SDL return, and whether the device still asks for sound, is read by
//                       the sound program's thread (SdlAudioOutput::stalled) through two atomics.
//   The font loader     FluidMusicEngine's, from the first Start until the SoundFont is in, at the lowest
//                       priority: makes the synthesizer, reads the font, hands the synthesizer over.
//   The music renderer  FluidMusicEngine's, from the first Start on. It owns the synthesizer once it is
//                       in, with its presets and the song's player: it starts or stops a song as the game
//                       last asked (reading the presets the song lacks first) and renders ahead into the
//                       ring, as far as the ring holds. It rests while nothing plays and while the ring is
//                       full. It shares no lock with the audio thread; it only rings the output's wake().
// On an OfflineMixer (tests, benchmarks) the thread that renders takes the audio thread's part, and may
// wait for the music (AudioSource::awaitFrames). The back end's own threads are named "nokturna output",
// "nokturna font" and "nokturna music". The loader and the renderer read SoundFont files only through
// font_file.h, which gives up at once when its thread is asked to stop, and a song's notes stop reaching
// the synthesizer once the song is cut off or the renderer is asked to stop (SongSynth::cutWhen), however
// many it piles onto one moment: an engine's destructor joins both within milliseconds, whatever a load or
// a song is doing. Every thread is joined; none is detached.
//
// The locks. None is held across rendering, reading a file, allocating or freeing, or waiting for another
// thread (waiting on a condition lets its lock go). One nests in another: the clip player's hand-over is
// taken inside the output's source lock, as the clip player is asked and mixed; every other lock is
// taken alone.
//
//   SdlAudioOutput's state lock     the device and the flags the audio thread and the keeper rest on
//   SdlAudioOutput's source lock    the list of sources, held while they are asked or mixed, which is quick:
//                                   a source only copies what is ready. A source leaving waits for the
//                                   mix under way, once, when it is destroyed.
//   SdlClipPlayer's hand-over       the clip handed over and the one handed back: a swap of two pointers
//   FluidMusicEngine's wanted song  the song the renderer is to play and its cue: a pointer and a number
//   the SoundFont images' registry  (soundfont_presets.cpp) the cut fonts by name, for the loader and the
//                                   renderer
// The ring of rendered music is a single producer, single consumer ring of atomics (music_ring.h); what
// the game last asked of the music (the song's cue, the volume) travels in atomics too.
#pragma once

namespace nokturna {

// Something that sounds through a mixer. mixInto() adds the next `frames` stereo frames (interleaved
// left/right floats, SdlAudioOutput::kOutputRate Hz) to `stereo`, which already holds what the sources
// before it mixed; sounding() says whether the source has anything to play. On the device both run on
// the audio thread, one source at a time: they take what another thread made ready, or play nothing for
// now, and never wait, allocate or read a file.
class AudioSource {
 public:
  virtual ~AudioSource() = default;
  virtual void mixInto(float* stereo, int frames) = 0;
  virtual bool sounding() = 0;
  // For a mixer that is no device (an offline render, which may wait): returns once the source can give
  // `frames` frames, at most a period's (SdlAudioOutput::kPeriodFrames), without a gap, or has no more
  // to give. Never called on the audio thread.
  virtual void awaitFrames(int /*frames*/) {}
};

// Where sources sound: the device (SdlAudioOutput) or an offline render (OfflineMixer).
class AudioMixer {
 public:
  virtual ~AudioMixer() = default;
  // Sources are mixed in the order they were added. A source must be removed before it is destroyed;
  // removing one waits for the mix under way, if any, to end.
  virtual void addSource(AudioSource* source) = 0;
  virtual void removeSource(AudioSource* source) = 0;
  // Tells a resting mixer that a source may have started sounding: a source that starts on its own calls
  // it, from any thread. Never waits.
  virtual void wake() = 0;
};

}  // namespace nokturna
