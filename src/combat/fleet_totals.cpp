#include "combat/fleet_totals.h"

#include <algorithm>
#include <climits>

namespace velmora {

int TotalDurability(const TFleet& fleet) {
    std::int64_t sum = 0;
    const int ships = std::clamp(fleet.ShipCount, 0, kShipSlots);
    for (int i = 0; i < ships; ++i) sum += fleet.Ships[static_cast<std::size_t>(i)].Durability;
    return static_cast<int>(std::clamp<std::int64_t>(sum, INT_MIN, INT_MAX));
}

}  // namespace velmora
