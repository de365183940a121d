// The computer's carrier decks: launching strikes at the chosen target,
// search aircraft and combat air patrol from the hangar, new strike groups.
#pragma once

#include "model/game_state.h"

namespace velmora {

// The StrikeTarget of a strike that went astray: it finds nothing.
inline constexpr std::uint8_t kAstrayStrike = 30;

// Each step for one fleet, in the order the turn step runs them.
void LaunchComputerStrikes(GameState& state, int fleet_index);
void AssignComputerSearch(GameState& state, int fleet_index);
void AssignComputerPatrol(GameState& state, int fleet_index);
void FormComputerGroups(GameState& state, int fleet_index);

}  // namespace velmora
