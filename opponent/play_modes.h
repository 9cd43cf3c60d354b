// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "engine/game_state.h"

namespace nokturna {

// The Mode menu: between games the mode changes at once; during one only after a yes, and a fresh game
// in the new mode starts.
void ModeChosen(Game& game, PlayMode mode);

}  // namespace nokturna
