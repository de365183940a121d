// Victory points at the scenario's last turn.
#pragma once

#include "frontend/frontend.h"
#include "frontend/reports.h"
#include "model/game_state.h"

namespace velmora {

// Adds up both sides' points into GameState::Victory, fills the report with
// the totals, counts, lists and outcome, and shows it.
VictoryReport EvaluateVictory(GameState&, Frontend&);

}  // namespace velmora
