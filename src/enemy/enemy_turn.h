// The computer side's steps of the turn end and of set-up.
#pragma once

#include "enemy/fleet_planning.h"
#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

// The computer gives each of its fleets its orders for the turn.
void ComputerFleetOrders(GameState&, Frontend&);
// The computer forms and launches its strikes, patrol and search aircraft.
void ComputerAirOperations(GameState&, Frontend&);
// Chooses the route and destination of one computer fleet.
void PlanComputerFleet(GameState&, int fleet_index);

}  // namespace velmora
