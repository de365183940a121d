// The naval and ground combat steps of the turn end.
#pragma once

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

// Opposing fleets that meet exchange missile salvos.
void ResolveSurfaceEncounters(GameState&, Frontend&);
// Transports land their supplies at bases.
void LandingStep(GameState&, Frontend&);
// Ground combat decides who holds each base.
void GroundCombatStep(GameState&, Frontend&);
// Damaged ships repair what their crews can.
void DamageControlStep(GameState&, Frontend&);

}  // namespace velmora
