#include "combat/asw.h"

#include <algorithm>

#include "chart/geometry.h"

namespace velmora {
namespace {

bool Found(const GameState& state, const TFleet& fleet, Point p) {
    return fleet.Active != 0 && fleet.Side == state.ComputerSide && fleet.DetectLevel > 0 &&
           MapDistance(fleet.Position, p) <= kAswPickRadius;
}

}  // namespace

int AswAircraftAboard(const TFleet& fleet) {
    int sum = 0;
    const int count = std::clamp(fleet.ShipCount, 0, kShipSlots);
    for (int i = 0; i < count; ++i) {
        sum += std::max(0, fleet.Ships[static_cast<std::size_t>(i)].AircraftAboard[5]);
    }
    return sum;
}

int AswRange(const GameState& state, const TFleet& fleet) {
    return state.AircraftTypeAt(fleet.AirTypes[5]).Range;
}

std::vector<AswCandidate> AswCandidates(const GameState& state, const TFleet& from, Point p) {
    std::vector<AswCandidate> result;
    const double range = AswRange(state, from);
    for (int i = 0; i < kFleetCount; ++i) {
        const TFleet& fleet = state.Fleet(i);
        if (!Found(state, fleet, p)) continue;
        const double d = MapDistance(from.Position, fleet.Position);
        result.push_back({fleet.Designation.str(), i, d <= range || d < kAswFleetReach});
    }
    for (const TFleet& marker : state.ContactTable) {
        if (!Found(state, marker, p)) continue;
        const double d = MapDistance(from.Position, marker.Position);
        result.push_back(
            {marker.Designation.str(), kAswMarkerTarget, d <= range || d < kAswMarkerReach});
    }
    return result;
}

}  // namespace velmora
