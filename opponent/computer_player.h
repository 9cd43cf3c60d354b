// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The computer player "Daviz Edezo": how it chooses a line, and its turn.
#pragma once

#include "engine/board.h"
#include "engine/game_state.h"
#include "engine/random.h"

namespace nokturna {

inline constexpr int kComputerPauseMs = 250;  // how long the computer seems to think before it moves
inline constexpr int kLastCountedDraw = 350;  // the computer gives up being careful on this draw

// The line the computer takes: the fourth side of the first three-sided square, else a random free line
// that hands no square its third side, else whatever the 350th counted draw gives (a draw that hits a
// claimed line is not counted). 0 when no line is free.
int ChooseLine(const Board& board, Random& random);

// The computer's pause is over: it claims the line it chooses. A pause that outlived its game or its
// turn does nothing.
void TakeComputerTurn(Game& game);

}  // namespace nokturna
