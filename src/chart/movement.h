// Fleet and contact-marker movement along waypoints, with detours around land.
#pragma once

#include "model/game_state.h"
#include "model/records.h"

namespace velmora {

// The movement turn step: every fleet steers for its oldest waypoint, then
// every contact marker drifts toward its estimated goal.
void MoveFleets(GameState&);

// Moves a fleet whose straight step crosses land: takes the step if it ends
// at sea, else the best short probe toward the goal, else stays.
void DetourStep(GameState&, TFleet&, Point step, Point goal);

}  // namespace velmora
