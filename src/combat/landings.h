// Landings and ground combat. Each base keeps the landing points both sides
// have put ashore there; fleets near a base land supplies, and where both
// sides hold points one exchange of ground combat is fought each turn.
#pragma once

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

inline constexpr double kLandingReach = 10.0;
inline constexpr int kGroundCapturePoints = 1000;

// Every fleet in play lands at every base within reach (its own side's too).
void LandingStep(GameState& state, Frontend& ui);

// The first transport, destroyer or cruiser of the landing fleet with
// supplies puts them all ashore and keeps what is left over 50.
void LandSupplies(GameState& state, Frontend& ui, int landing, int base);

// Every base in play where both sides hold points fights, told in the
// battle window.
void GroundCombatStep(GameState& state, Frontend& ui);

// One exchange at base b; the base falls when its attacker ends with at
// least twice the defender's points, or with points against none.
void ResolveGroundCombat(GameState& state, Frontend& ui, int base);

}  // namespace velmora
