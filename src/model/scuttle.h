// Scuttling a ship: the player's order and the computer's crippled ships
// score by one table.
#pragma once

#include <optional>

#include "model/game_state.h"

namespace velmora {

// Points the scuttling of a ship of this class is worth, by its ShipType
// and class Durability.
int ScuttlePoints(const TShip& ship_class);

// Adds the ship's points to ScuttleTally[1] and removes it from the fleet.
// Returns the points, or nothing (state untouched) for a bad fleet or slot.
std::optional<int> ScuttleShip(GameState& state, int fleet, int slot);

}  // namespace velmora
