// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// How loud the music plays: what a master volume of 0 hundredths of a decibel means at the synthesizer.
#pragma once

namespace nokturna {

// The synthesizer's gain at a master volume of 0 hundredths of a decibel. Chosen so that ordinary General
// MIDI music plays at about -20 dBFS RMS at the game's start-up volume of +5.7 dB: eight pieces of other
// projects' music, from big-band swing to funk, rendered with the small Debian font measure -23 to
// -16 dBFS there, -20.0 on average (bench/loudness_bench). That is 2.8 dB above FluidSynth's own default
// gain of 0.2. The loudest moments of such music pass full scale now and then; the output's limiter
// takes them down. The master volume then scales this gain exactly, so -900 still sounds 14.7 dB below
// +570.
inline constexpr double kReferenceGain = 0.275;

}  // namespace nokturna
