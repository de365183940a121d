// Recovery: patrol and search aircraft take off, and whatever returns lands
// within what the fleet's decks and hangars can take.
#pragma once

#include <cstdint>
#include <string_view>

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

inline constexpr std::string_view kStormLandingCaption = "荒天着陸チェック";

// Turn step, for all 25 fleets in index order, in play or not.
void RecoverAircraft(GameState& state, Frontend& ui);

// Moves aircraft of the air units on deck into the hangar, in proportion,
// until the deck holds no more than its standby capacity.
void StowExcess(TFleet& fleet);

// Recomputes the hangar from the ships' shares after ships with aircraft
// aboard were lost and the hangar no longer fits.
void RedistributeHangar(TFleet& fleet, int capacity, int h0, int h1, int h2);

// True when the fleet must land in bad weather: a storm cell lies within
// the storm radius of its position.
bool NeedsStormLanding(const GameState& state, const TFleet& fleet);

// Each of `count` aircraft of one returning group tries to land in a storm;
// the count shrinks to those that made it. The player hears of the losses.
void StormLandingCheck(GameState& state, Frontend& ui, const TFleet& fleet,
                       std::string_view caption, std::int32_t& count, int aircraft_type);

}  // namespace velmora
