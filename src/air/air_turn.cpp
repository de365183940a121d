#include "air/air_turn.h"

#include "air/air_units.h"

namespace velmora {

// Strike resolution comes with the air combat rules; until then a strike
// flies out and comes back without meeting anything.
void ResolveAirStrikes(GameState&, Frontend&) {}
void AdvanceAirUnits(GameState& state, Frontend&) { AdvanceAirUnits(state); }

}  // namespace velmora
