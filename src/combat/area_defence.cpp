#include "combat/area_defence.h"

#include <algorithm>

namespace velmora {

DefenceByType AreaDefenceByType(const GameState& state, const TFleet& fleet,
                                const ShipTypeCounts& counts) {
    DefenceByType defence{};
    std::array<double, kDefenceTypes> suppressed{};
    const int ships = std::clamp(fleet.ShipCount, 0, kShipSlots);
    for (int i = 0; i < ships; ++i) {
        const TShip& ship = fleet.Ships[static_cast<std::size_t>(i)];
        const int type = state.ShipTypeOf(ship);
        if (type < kCarrier || type > kAntiAircraftSite) continue;
        const auto t = static_cast<std::size_t>(type);
        if (ship.Suppression == 0) defence[t] += state.ClassOf(ship).AreaDefence;
        if (ship.Suppression == 2) suppressed[t] += 1.0;
        if (ship.Suppression == 1) suppressed[t] += 0.5;
    }
    for (std::size_t t = 0; t < defence.size(); ++t) {
        const double count = counts.Of(static_cast<int>(t));
        const std::uint8_t level = fleet.TypeSuppression[t];
        if (count / 3.0 < suppressed[t] || level == 2) {
            defence[t] /= 5;
        } else if (count / 4.0 < suppressed[t] || level == 1) {
            defence[t] /= 4;
        }
    }
    return defence;
}

GroupMembers MembersOf(int group) {
    if (group >= kCarrier && group <= kAntiAircraftSite) return {1, {group, 0, 0}};
    switch (group) {
        case 9:
            return {2, {kBattleship, kCruiser, 0}};
        case 10:
            return {2, {kCruiser, kDestroyer, 0}};
        case 11:
            return {3, {kBattleship, kCruiser, kDestroyer}};
        default:
            return {};  // 0 and 8 engage nothing
    }
}

std::int64_t AreaDefenceAgainst(const GameState& state, const TFleet& fleet,
                                const ShipTypeCounts& counts, int group) {
    const GroupMembers m = MembersOf(group);
    if (m.count == 0) return 0;
    const int lo = m.types[0];
    const int hi = m.count == 1 ? kGroundBase : m.types[static_cast<std::size_t>(m.count - 1)];
    const bool full = lo == kCarrier || lo == kGroundBase;
    const DefenceByType defence = AreaDefenceByType(state, fleet, counts);
    std::int64_t total = 0;
    for (int t = std::max(lo, 1); t <= std::min(hi, 8); ++t) {
        const std::int64_t d = defence[static_cast<std::size_t>(t)];
        total += full ? d : d / 2;
    }
    return total;
}

}  // namespace velmora
