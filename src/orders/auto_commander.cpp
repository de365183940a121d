#include "orders/auto_commander.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "chart/geometry.h"
#include "model/fleet_ops.h"
#include "model/ship_counts.h"
#include "orders/orders.h"

namespace velmora {
namespace {

constexpr int kSectors = 8;
constexpr double kSectorProbe = 20.0;

int ShipsIn(const TFleet& fleet) {
    return std::clamp(fleet.ShipCount, 0, kShipSlots);
}

double DurabilityShare(const GameState& state, const TFleet& fleet) {
    long long now = 0;
    long long full = 0;
    for (int i = 0; i < ShipsIn(fleet); ++i) {
        const TShip& ship = fleet.Ships[static_cast<std::size_t>(i)];
        now += std::max(0, ship.Durability);
        full += std::max(0, state.ClassOf(ship).Durability);
    }
    return full > 0 ? static_cast<double>(now) / static_cast<double>(full) : 1.0;
}

// The nearest computer fleet the player's side has found, if any.
std::optional<int> NearestSightedEnemy(const GameState& state, const TFleet& fleet) {
    std::optional<int> nearest;
    double best = 0;
    for (int i = 0; i < kFleetCount; ++i) {
        const TFleet& enemy = state.FleetTable[static_cast<std::size_t>(i)];
        if (!enemy.Active || enemy.Side == state.PlayerSide || enemy.DetectLevel <= 0) continue;
        const double d = MapDistance(fleet.Position, enemy.Position);
        if (!nearest || d < best) {
            nearest = i;
            best = d;
        }
    }
    return nearest;
}

// The nearest contact marker on the player's map: where an enemy may be.
std::optional<Point> NearestMarker(const GameState& state, const TFleet& fleet) {
    std::optional<Point> nearest;
    double best = 0;
    for (int j = 1; j < kContactCount; ++j) {
        const TFleet& marker = state.ContactTable[static_cast<std::size_t>(j)];
        if (!marker.Active) continue;
        const double d = MapDistance(fleet.Position, marker.Position);
        if (!nearest || d < best) {
            nearest = marker.Position;
            best = d;
        }
    }
    return nearest;
}

std::optional<Point> NearestHomeBase(const GameState& state, const TFleet& fleet) {
    std::optional<Point> nearest;
    double best = 0;
    for (const TFleet& base : state.FleetTable) {
        if (!base.Active || base.Side != state.PlayerSide || !FleetHasInstallation(state, base))
            continue;
        const double d = MapDistance(fleet.Position, base.Position);
        if (!nearest || d < best) {
            nearest = base.Position;
            best = d;
        }
    }
    return nearest;
}

int CarrierStrikeRange(const GameState& state, const TFleet& fleet) {
    if (CountShipsByType(state, fleet).Of(kCarrier) == 0) return 0;
    int range = 0;
    for (std::size_t c = 0; c < 2; ++c) {
        const int type = fleet.AirTypes[c];
        if (type > 0) range = std::max(range, state.AircraftTypeAt(type).Range);
    }
    return range;
}

// The point short of `goal` that leaves `keep` pixels to it (the fleet's own
// position when it is that close already).
Point StandOff(Point from, Point goal, double keep) {
    const double d = MapDistance(from, goal);
    if (d <= keep) return from;
    return StepToward(from.X, from.Y, goal.X, goal.Y, d - keep);
}

void SailTo(GameState& state, Point goal) {
    while (RemoveNewestWaypoint(state)) {
    }
    const TFleet* fleet = SelectedFleetRecord(state);
    if (fleet == nullptr || fleet->Position == goal) return;
    AddWaypoint(state, goal);
}

// Search the three sectors facing `towards`, and no others.
void SearchTowards(GameState& state, Point towards) {
    TFleet* fleet = SelectedFleetRecord(state);
    if (fleet == nullptr) return;
    const int facing = SectorOf(fleet->Position, towards, 1e9);
    MapOverlay overlay;
    for (int s = 0; s < kSectors; ++s) {
        const bool want = facing != kNoSector && (s == facing || s == (facing + 1) % kSectors ||
                                                  s == (facing + kSectors - 1) % kSectors);
        if ((fleet->SearchSectors[static_cast<std::size_t>(s)] != 0) == want) continue;
        const Point probe =
            PolarOffset(fleet->Position.X, fleet->Position.Y, 22.5 + 45.0 * s, kSectorProbe);
        ToggleSearchSector(state, probe, overlay);
    }
}

void CommandFleet(GameState& state, Frontend& ui, int index) {
    if (!SelectFleet(state, ui, index)) return;
    const TFleet& fleet = state.FleetTable[static_cast<std::size_t>(index)];
    const Point centre{kMapWidth / 2, kMapHeight / 2};
    const std::optional<int> enemy = NearestSightedEnemy(state, fleet);
    const std::optional<Point> marker = NearestMarker(state, fleet);
    const Point look = enemy ? state.FleetTable[static_cast<std::size_t>(*enemy)].Position
                             : marker.value_or(centre);
    SearchTowards(state, look);
    if (FleetHasInstallation(state, fleet)) return;

    if (DurabilityShare(state, fleet) < kAutoRetireShare) {
        if (const auto home = NearestHomeBase(state, fleet)) SailTo(state, *home);
        return;
    }
    const int strike_range = CarrierStrikeRange(state, fleet);
    if (enemy) {
        const double keep = strike_range > 0 ? strike_range * kAutoStandOffShare : 0.0;
        SailTo(state, StandOff(fleet.Position, look, keep));
        return;
    }
    if (marker) SailTo(state, StandOff(fleet.Position, *marker, strike_range * 0.5));
}

}  // namespace

void CommandPlayerFleets(GameState& state, Frontend& ui) {
    const int selected = state.SelectedFleet;
    for (int i = 0; i < kFleetCount; ++i) {
        const TFleet& fleet = state.FleetTable[static_cast<std::size_t>(i)];
        if (fleet.Active && fleet.Side == state.PlayerSide) CommandFleet(state, ui, i);
    }
    if (selected < kFleetCount) SelectFleet(state, ui, selected);
}

}  // namespace velmora
