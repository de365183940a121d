#include "combat/combat_turn.h"

namespace velmora {

// The combat rules fill these steps in; until then the turn end passes them by.
void ResolveSurfaceEncounters(GameState&, Frontend&) {}

}  // namespace velmora
