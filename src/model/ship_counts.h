// Ship counts of a fleet by the ShipType of their classes: one routine for
// the windows, the combat rules and the computer side.
#pragma once

#include <array>

#include "model/game_state.h"

namespace velmora {

// Ship counts of a fleet by type (1..7 and the hidden type 12, the mobile
// fortress).
struct ShipTypeCounts {
    static constexpr int kTypes = 13;
    int Ships = 0;
    std::array<int, kTypes> ByType{};

    // Count of one type; 0 for a type outside the table.
    int Of(int ship_type) const;
};

// The detail level that reveals the counts by type.
inline constexpr int kFullDetail = 4;

// Counts the fleet's ships. At a detail level of 1 or less (what a barely
// detected fleet reveals) only the number of ships is counted and every
// type count stays 0.
ShipTypeCounts CountShipsByType(const GameState& state, const TFleet& fleet,
                                int detail = kFullDetail);

}  // namespace velmora
