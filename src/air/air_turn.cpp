#include "air/air_turn.h"

#include "air/air_units.h"

namespace velmora {

// The air rules fill these steps in; until then the turn end passes them by.
void RecoverAircraft(GameState&, Frontend&) {}
void AdvanceAirUnits(GameState& state, Frontend&) { AdvanceAirUnits(state); }

}  // namespace velmora
