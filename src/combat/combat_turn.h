// The naval and ground combat steps of the turn end.
#pragma once

#include "combat/damage_control.h"
#include "combat/landings.h"
#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

// Opposing fleets that meet exchange missile salvos.
void ResolveSurfaceEncounters(GameState&, Frontend&);

}  // namespace velmora
