// The two anti-submarine orders: marking ASW search sectors (in orders.h,
// beside the air search sectors) and picking an ASW target on the map.
#pragma once

#include <optional>

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

// "対潜攻撃": the map waits for the click that picks the target. False when
// no fleet is selected.
bool OrderAswAttack(GameState& state);

// The click in ASW-attack mode at p (already moved onto the symbols):
// candidates out of reach are each refused with "距離外"; those in reach are
// listed and the pick becomes the selected fleet's AswTarget (25 for a
// contact marker). Returns the stored target, or nothing when none was
// picked. The map goes back to its normal mode either way.
std::optional<int> ChooseAswTarget(GameState& state, Frontend& ui, Point p);

}  // namespace velmora
