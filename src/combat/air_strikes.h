// The turn step that carries every strike in flight to its end.
#pragma once

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

// For each fleet in index order (the player's first) and each of its air
// units in flight: a strike at a contact marker fails; any other reaches
// its target, is reported, fights the patrol and attacks the ships.
void ResolveAirStrikes(GameState& state, Frontend& frontend);

}  // namespace velmora
