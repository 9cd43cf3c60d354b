// The move rule: a person's click and the claiming of a line by whoever is to move.
#pragma once

#include "engine/game_state.h"

namespace nokturna {

// A click on line image L: ignored before a game, on a claimed line, and while the computer is to move.
void box_Click(Game& game, int line);

// Claims free line L for the slot in `turn`: draws it, closes squares, scores, then ends the game,
// keeps the turn after a closed square, or passes it; arms the computer's timer when it is to move.
void ClaimLine(Game& game, int line);

// The turn label's text for a slot.
std::string TurnCaption(const GameState& state, int slot);

}  // namespace nokturna
