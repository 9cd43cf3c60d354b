// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Who plays: "Player 1" always moves first, against the computer "Daviz Edezo" or against "Player 2".
#pragma once

namespace nokturna {

// The values index per-side tables (scores); 0 is nobody.
enum class Side { PlayerOne = 1, Computer = 2, PlayerTwo = 3 };

enum class PlayMode { PersonVsPerson, PersonVsComputer };

constexpr int IndexOf(Side side) { return static_cast<int>(side); }

// The side that plays against Player 1 in a mode.
constexpr Side OpponentIn(PlayMode mode) {
  return mode == PlayMode::PersonVsPerson ? Side::PlayerTwo : Side::Computer;
}

}  // namespace nokturna
