// The defending fleet's combat air patrol meets an arriving strike group.
#pragma once

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

// Four phases of single rolls: patrol against escorts, escorts against
// patrol, patrol against the attack aircraft, and the attack aircraft
// shooting back. Lowers the strike's fighters and attack aircraft, the
// patrol's three launch entries aloft, and keeps TurnScratch and
// InterceptTally. A fleet without patrol aloft fights nothing.
void AirCombat(GameState& state, Frontend& frontend, TAirUnit& strike, TFleet& defender);

}  // namespace velmora
