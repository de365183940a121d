// A one-line account of a fleet's air arm, for the headless tools: what is
// aloft, in the hangar, and where each strike group stands.
#pragma once

#include <string>
#include <vector>

#include "model/game_state.h"

namespace velmora {

// "Air<TAB>turn<TAB>fleet name<TAB>直援 N<TAB>索敵 N<TAB>格納庫 F/A/S<TAB>
// 第一次攻撃隊 <state> F/A/S ..." for fleet `index`.
std::string AirStatusLine(const GameState& state, int index);

// The lines of the player's fleets in play that have aircraft.
std::vector<std::string> PlayerAirStatus(const GameState& state);

}  // namespace velmora
