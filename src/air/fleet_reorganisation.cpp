#include "air/fleet_reorganisation.h"

#include <algorithm>
#include <cmath>

#include "air/air_units.h"
#include "chart/geometry.h"
#include "model/fleet_ops.h"
#include "model/ship_counts.h"

namespace velmora {
namespace {

constexpr std::string_view kChoiceCaption = "目標";

bool IsFleetIndex(int f) { return f >= 0 && f < kFleetCount; }

int ShipsOf(const TFleet& fleet) { return std::clamp(fleet.ShipCount, 0, kShipSlots); }

bool InPlayForPlayer(const GameState& state, const TFleet& fleet) {
    return fleet.Active != 0 && fleet.Side == state.PlayerSide;
}

// Trunc toward zero of a real share.
std::int32_t Trunc(double value) { return static_cast<std::int32_t>(std::trunc(value)); }

}  // namespace

std::optional<ReorganisationPair> SplitFleet(const GameState& state, int f) {
    if (!IsFleetIndex(f) || !InPlayForPlayer(state, state.Fleet(f))) return std::nullopt;
    for (int i = 0; i < kFleetCount; ++i) {
        const TFleet& candidate = state.Fleet(i);
        if (i != f && candidate.Active == 0 && candidate.Side == state.PlayerSide)
            return ReorganisationPair{f, i};
    }
    return std::nullopt;
}

std::vector<int> JoinCandidates(const GameState& state, int f) {
    std::vector<int> result;
    if (!IsFleetIndex(f)) return result;
    const TFleet& asker = state.Fleet(f);
    if (asker.ShipCount >= kJoinAskerShipLimit) return result;
    for (int q = 0; q < kFleetCount; ++q) {
        const TFleet& partner = state.Fleet(q);
        if (q == f || !InPlayForPlayer(state, partner)) continue;
        if (partner.ShipCount >= kJoinPartnerShipLimit) continue;
        if (MapDistance(asker.Position, partner.Position) > kJoinReach) continue;
        result.push_back(q);
    }
    return result;
}

std::string JoinCandidateName(int q) { return "第" + std::to_string(q + 1) + "艦隊"; }

std::optional<ReorganisationPair> JoinFleets(const GameState& state, Frontend& ui, int f) {
    const std::vector<int> candidates = JoinCandidates(state, f);
    if (candidates.empty()) return std::nullopt;
    std::vector<std::string> names;
    for (int q : candidates) names.push_back(JoinCandidateName(q));
    const int picked = ui.PickTarget(kChoiceCaption, names);
    if (picked < 0 || picked >= static_cast<int>(candidates.size())) return std::nullopt;
    return ReorganisationPair{f, candidates[static_cast<std::size_t>(picked)]};
}

bool CanMoveShip(const GameState& state, const TFleet& source, int slot,
                 const TFleet& destination) {
    if (slot < 0 || slot >= ShipsOf(source)) return false;
    if (destination.ShipCount > kMaxShipsAfterMove) return false;
    return CountShipsByType(state, destination).Of(kCarrier) <= kMaxCarriersAfterMove;
}

bool MoveShipWithAircraft(GameState& state, int slot, int source, int destination) {
    if (!IsFleetIndex(source) || !IsFleetIndex(destination) || source == destination)
        return false;
    TFleet& from = state.Fleet(source);
    TFleet& into = state.Fleet(destination);
    if (slot < 0 || slot >= ShipsOf(from)) return false;
    ShareCarrierAircraft(state, from, slot);
    if (!TransferShip(state, slot, destination, from, into)) {
        // The destination was full: the carrier's share goes back.
        StowAircraft(from);
        return false;
    }
    StowAircraft(into);
    StowAircraft(from);
    return true;
}

void ShareCarrierAircraft(GameState& state, TFleet& fleet, int slot) {
    if (slot < 0 || slot >= ShipsOf(fleet)) return;
    TShip& ship = fleet.Ships[static_cast<std::size_t>(slot)];
    if (state.ShipTypeOf(ship) != kCarrier) return;
    const int landing = LandingCapacity(fleet);
    const int hangar = HangarTotal(fleet);
    if (hangar == 0) return;
    const int carriers = CountShipsByType(state, fleet).Of(kCarrier);
    const int capacity = ship.AircraftCapacity;

    std::array<std::int32_t, 3> share{};
    if (carriers < 2) {
        for (std::size_t j = 0; j < 3; ++j) share[j] = fleet.HangarCounts[j];
    } else if (hangar == landing) {
        for (std::size_t j = 0; j < 3; ++j)
            share[j] = Trunc(static_cast<double>(fleet.HangarCounts[j]) / hangar * capacity + 1);
        const int total = share[0] + share[1] + share[2];
        if (total > capacity) {
            const int excess = total - capacity;
            for (std::size_t j = 0; j < 3; ++j) {
                if (share[j] >= excess) {
                    share[j] -= excess;
                    break;
                }
            }
        }
    } else {
        const int carried = std::min(hangar / carriers, capacity);
        for (std::size_t j = 0; j < 3; ++j)
            share[j] = Trunc(static_cast<double>(fleet.HangarCounts[j]) / hangar * carried);
    }
    for (std::size_t j = 0; j < 3; ++j) {
        ship.AircraftAboardAtStart[j] = share[j];
        fleet.HangarCounts[j] -= share[j];
    }
}

void StowAircraft(TFleet& fleet) {
    for (int i = 0; i < ShipsOf(fleet); ++i) {
        TShip& ship = fleet.Ships[static_cast<std::size_t>(i)];
        for (std::size_t j = 0; j < 3; ++j) {
            fleet.HangarCounts[j] += ship.AircraftAboardAtStart[j];
            ship.AircraftAboardAtStart[j] = 0;
        }
    }
}

bool AirUnitsIdle(const TFleet& fleet) {
    return std::all_of(fleet.AirUnits.begin(), fleet.AirUnits.end(),
                       [](const TAirUnit& unit) { return unit.State < 2; });
}

}  // namespace velmora
