#include "model/ship_counts.h"

#include <algorithm>

namespace velmora {

int ShipTypeCounts::Of(int ship_type) const {
    if (ship_type < 0 || ship_type >= kTypes) return 0;
    return ByType[static_cast<std::size_t>(ship_type)];
}

ShipTypeCounts CountShipsByType(const GameState& state, const TFleet& fleet, int detail) {
    ShipTypeCounts counts;
    counts.Ships = std::clamp(fleet.ShipCount, 0, kShipSlots);
    if (detail <= 1) return counts;
    for (int i = 0; i < counts.Ships; ++i) {
        int type = state.ShipTypeOf(fleet.Ships[static_cast<std::size_t>(i)]);
        if (type >= 0 && type < ShipTypeCounts::kTypes)
            ++counts.ByType[static_cast<std::size_t>(type)];
    }
    return counts;
}

}  // namespace velmora
