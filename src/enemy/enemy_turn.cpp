#include "enemy/enemy_turn.h"

namespace velmora {

// The computer side's rules fill these steps in; until then its fleets keep
// the orders they have.
void ComputerFleetOrders(GameState&, Frontend&) {}
void ComputerAirOperations(GameState&, Frontend&) {}
void PlanComputerFleet(GameState&, int) {}
void ScatterMarkers(GameState&) {}

}  // namespace velmora
