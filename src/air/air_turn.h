// The air steps of the turn end.
#pragma once

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

// The computer side chooses the sectors its search aircraft cover.
void SetSearchSectors(GameState&, Frontend&);
// Patrol, search and returning strike aircraft launch and land.
void RecoverAircraft(GameState&, Frontend&);
// Air units move on through their states (servicing, arming, ready).
void AdvanceAirUnits(GameState&, Frontend&);
// Search aircraft and sensors raise the detection levels of what they find.
void DetectionStep(GameState&, Frontend&);

}  // namespace velmora
