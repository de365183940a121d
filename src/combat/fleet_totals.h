// Sums over a fleet's ships that several combat rules read.
#pragma once

#include "model/game_state.h"

namespace velmora {

// Durability of all the fleet's ships together.
int TotalDurability(const TFleet& fleet);

}  // namespace velmora
