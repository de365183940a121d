// Surface encounters: opposing fleets within 50 map units meet, the
// computer's fleet is given a designation, and each side fires one missile
// salvo, the player's first.
#pragma once

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

inline constexpr double kEncounterReach = 50.0;
inline constexpr int kNotEngaged = -1;

// The turn step: every pair of opposing fleets in play, i outer, j inner.
void ResolveSurfaceEncounters(GameState& state, Frontend& ui);

// The fleet's salvo record: every ship's missiles, the first ship's models.
void PrepareFleetSalvo(TFleet& fleet);

}  // namespace velmora
