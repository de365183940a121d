#include "model/scuttle.h"

#include <algorithm>
#include <array>

#include "model/fleet_ops.h"

namespace velmora {

int ScuttlePoints(const TShip& ship_class) {
    struct Row {
        int above;
        int otherwise;
        int threshold;
    };
    // Indexed by ShipType 1..5; a transport is worth the same whatever its state.
    constexpr std::array<Row, 6> kPoints{
        {{0, 0, 0}, {70, 50, 50}, {60, 30, 65}, {40, 25, 40}, {10, 5, 15}, {40, 40, 0}}};
    const int type = ship_class.ShipType();
    if (type < kCarrier || type > kTransport) return 0;
    const Row& row = kPoints[static_cast<std::size_t>(type)];
    return ship_class.Durability > row.threshold ? row.above : row.otherwise;
}

std::optional<int> ScuttleShip(GameState& state, int fleet, int slot) {
    if (fleet < 0 || fleet >= kFleetCount) return std::nullopt;
    TFleet& f = state.Fleet(fleet);
    if (slot < 0 || slot >= std::clamp(f.ShipCount, 0, kShipSlots)) return std::nullopt;
    const int points = ScuttlePoints(state.ClassOf(f.Ships[static_cast<std::size_t>(slot)]));
    state.ScuttleTally[1] += points;
    RemoveShip(slot, f);
    return points;
}

}  // namespace velmora
