// What sounds through the game's output, and how the sound's threads share their work.
//
// The threads, and what each one owns
//
//   The game's thread   calls the ports (ClipPlayer::play, the MusicEngine operations). It decodes a clip
//                       and reads a song file itself, before it hands either over, and never waits for
//                       another thread: a hand-over is a swap of pointers under a lock held for nothing
//                       else, or a store into an atomic.
//   The audio thread    SDL's, inside SdlAudioOutput's callback. It mixes what the sources made ready (the
//                       clip the player handed over, the music the renderer wrote into its ring), runs the
//                       limiter, and rests while nothing sounds. It owns the clip that sounds and the
//                       limiter's state. It never reads a file, allocates or frees, and never waits for a
//                       lock held across anything but a few pointer swaps or flag changes; music that is
//                       late is a gap in the music, never a late period.
//   The keeper          SdlAudioOutput's own: opens a device again when it is lost, while something wants
//                       to sound. It alone starts and stops SDL's audio once it runs.
//   The font loader     FluidMusicEngine's, from the first Start until the SoundFont is in (at the lowest
//                       priority): makes the synthesizer, reads the font, hands the synthesizer over.
//   The music renderer  FluidMusicEngine's, from the first Start on: owns the synthesizer once it is in,
//                       with its player and presets; starts and stops songs as the game last asked (reading
//                       the presets a song lacks first) and renders ahead into the ring, as far as the ring
//                       holds. It rests while nothing plays and while the ring is full.
// The threads of the back end's own are named "nokturna output", "nokturna font" and "nokturna music".
// The loader and the renderer read SoundFont files only through font_file.h, which gives up at once when
// its thread is asked to stop: an engine's destructor joins both within milliseconds, whatever a load or a
// song is doing. Every thread is joined; none is detached.
//
// The locks, in the order they may be taken (a thread holding one takes only those below it)
//
//   1. SdlAudioOutput's state lock   the device and the flags the audio thread and the keeper rest on.
//                                    Never held while a source is asked or mixed.
//   2. SdlAudioOutput's source lock  the list of sources. Held by the audio thread while it asks and mixes
//                                    them, by the keeper while it asks them, and to change the list.
//   3. SdlClipPlayer's hand-over     the clip handed over and the one handed back; a swap of two pointers.
//   Taken alone, below none of these: FluidMusicEngine's wanted song (the game's thread and the renderer
//   copy a pointer and a number under it) and the SoundFont images' registry (soundfont_presets.cpp).
// Between the renderer and the audio thread there is no lock at all: the ring of rendered music is a single
// producer, single consumer ring of atomics, and what the game last asked for travels in atomics.
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
  // `frames` frames without a gap, or has no more to give. Never called on the audio thread.
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
