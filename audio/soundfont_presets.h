// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A SoundFont read a few programs at a time. FluidSynth keeps some 2 KB of tables for each instrument zone
// it reads, and a whole General MIDI font holds all of them at once (7.5 MB with TimGM6mb, against under
// 2 MB for the presets of a song). So the synthesizer reads the font through a loader of ours that serves
// it cut down to the presets of the programs asked for, in every bank, and the instruments they use; the
// samples stay where they are in the file. A program's presets in every bank are what FluidSynth falls
// back on when a bank asked for is missing, and program 0's are where it falls back at last: with those of
// a song's programs and program 0's in, the song sounds exactly as with the whole font. A font laid out
// otherwise than expected (preset data not last, an index outside its list) is read whole.
//
// Every font file, cut or whole, reaches the synthesizer through that loader and font_file.h, so that a
// thread asked to stop gives up its reading at once (see audio_source.h), also for the samples the
// synthesizer reads as a song picks an instrument.
#pragma once

#include <fluidsynth.h>

#include <memory>
#include <string>
#include <vector>

#include "audio/soundfont_cut.h"

namespace nokturna {

// Puts the loader that serves the fonts on `synth`: once, before the synthesizer reads any font.
void AddImageLoader(fluid_synth_t* synth, fluid_settings_t* settings);

// The presets one synthesizer holds, all from one font. The synthesizer reads samples from the cut fonts
// for as long as it holds their presets, so this must outlive it.
class SynthPresets {
 public:
  // Reads the presets of `programs` from the font at `path` as the synthesizer's first font, and sets
  // every channel's preset afresh. False when the font does not load, cut or whole.
  bool readFont(fluid_synth_t* synth, const std::string& path, const Programs& programs);
  // Reads those of `programs` that are not in yet from that font: a few milliseconds.
  void bringIn(fluid_synth_t* synth, const Programs& programs);

 private:
  std::string path_;
  Programs in_;
  std::vector<std::shared_ptr<const FontImage>> images_;  // the cut fonts read, failed ones too
};

}  // namespace nokturna
