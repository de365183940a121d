// An automatic commander for the player's side, for the simulator's balance
// runs: it gives the player's fleets sensible orders each turn through the
// same orders a person gives. It is a fair opponent, not the computer's own
// rules: it only uses what the player's side can see.
#pragma once

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

// A fleet whose ships hold less than this share of their class durability
// sails home.
inline constexpr double kAutoRetireShare = 0.5;
// Carrier fleets keep the enemy at this share of their strike range.
inline constexpr double kAutoStandOffShare = 0.6;

// Orders for every fleet of the player's side in play, before the turn end.
void CommandPlayerFleets(GameState& state, Frontend& ui);

}  // namespace velmora
