#include "enemy/air_operations.h"

#include <algorithm>
#include <cmath>

#include "air/air_units.h"
#include "air/search.h"
#include "chart/geometry.h"
#include "combat/attack_targets.h"
#include "enemy/enemy_turn.h"
#include "model/fleet_ops.h"
#include "model/ship_counts.h"

namespace velmora {
namespace {

constexpr int kMaxGroupsForming = 2;
constexpr int kMinFreeDeckPlaces = 5;  // a group needs more than this
constexpr int kFighterSweepMinimum = 11;
constexpr int kAssaultStance = 3;

TFleet& FleetAt(GameState& state, int index) {
    return state.FleetTable[static_cast<std::size_t>(index)];
}

int FreeDeckPlaces(const TFleet& fleet) {
    return DeckStandbyCapacity(fleet) - AircraftOnDeck(fleet);
}

int Trunc(double v) {
    return static_cast<int>(std::trunc(v));
}

// Moves up to `want` aircraft of a category out of the hangar; returns how
// many moved (never below 0).
int TakeFromHangar(TFleet& fleet, std::size_t category, int want) {
    const int moved = std::max(0, std::min(want, fleet.HangarCounts[category]));
    fleet.HangarCounts[category] -= moved;
    return moved;
}

bool TargetOpenToStrikes(const GameState& state, int target) {
    if (target < 0 || target >= kFleetCount) return false;
    const TFleet& fleet = state.FleetTable[static_cast<std::size_t>(target)];
    return fleet.Active && fleet.DetectLevel > 0 && !FleetHasFortress(state, fleet);
}

// A barely seen target is found only by luck, better if the enemy has
// already seen us (the strike can follow his search aircraft home).
bool LaunchesAtBarelySeen(GameState& state, const TFleet& fleet) {
    if (state.Roll(100) < 30) return true;
    return fleet.DetectLevel > 0 && state.Roll(100) < 70;
}

int MissilesPerAircraft(const GameState& state, const TFleet& fleet, std::size_t category) {
    return state.AircraftTypeAt(fleet.AirTypes[category]).MissilesPerAircraft;
}

// Fighters for a new group; false when the slot ends without any.
bool AddGroupFighters(GameState& state, TFleet& fleet, TAirUnit& unit, bool first_group) {
    if (first_group) {
        const double share = fleet.Stance == kAssaultStance ? 0.8 : 0.7;
        int fighters = Trunc(FighterTotal(state, fleet) * share);
        fighters = std::min(fighters, FreeDeckPlaces(fleet));
        unit.Counts[0] += TakeFromHangar(fleet, 0, fighters);
    }
    return unit.Counts[0] > 0;
}

int LaunchedNearStart(const TFleet& fleet) {
    return fleet.CapLaunched[0] + fleet.CapLaunched[1] + fleet.ScoutLaunched[0] +
           fleet.ScoutLaunched[1];
}

void FormGroup(GameState& state, TFleet& fleet, TAirUnit& unit, bool first_group) {
    if (!AddGroupFighters(state, fleet, unit, first_group)) return;

    const int launched = LaunchedNearStart(fleet);
    int cap = DeckStandbyCapacity(fleet);
    int room = std::max(0, cap - AircraftOnDeck(fleet));
    const int attackers = AttackerTotal(state, fleet);
    const int scouts = ScoutTotal(state, fleet);
    int w = std::min(attackers, cap - unit.Counts[0] - launched);
    const int divisor = attackers + scouts == 0 ? 1 : attackers + scouts;
    w = std::max(0, Trunc(static_cast<double>(attackers) * w / divisor));
    int m = std::min(w, room);
    if (fleet.HangarCounts[1] < w && w <= room) m = fleet.HangarCounts[1];

    double factor = 1.0;
    ChooseAttackTargets(state, fleet, unit, factor, MissilesPerAircraft(state, fleet, 1) * m,
                        MissilesPerAircraft(state, fleet, 0) * w);
    const int n = std::min(Trunc(m * factor), fleet.HangarCounts[1]);
    unit.Counts[1] += TakeFromHangar(fleet, 1, n);

    if (factor == 1.0) {
        cap = DeckStandbyCapacity(fleet);
        room = std::max(0, cap - AircraftOnDeck(fleet));
        const int want = std::min(scouts, cap - unit.Counts[0] - std::min(w, room) - launched);
        unit.Counts[2] += TakeFromHangar(fleet, 2, std::min(want, room));
    }

    if (unit.Counts[0] < kFighterSweepMinimum && unit.Counts[1] == 0 && unit.Counts[2] == 0) {
        fleet.HangarCounts[0] += unit.Counts[0];
        unit.Counts[0] = 0;
        return;
    }
    unit.State = 1;
}

}  // namespace

void LaunchComputerStrikes(GameState& state, int f) {
    TFleet& fleet = FleetAt(state, f);
    const int target = fleet.TargetFleet;
    if (!TargetOpenToStrikes(state, target)) return;
    const TFleet& enemy = FleetAt(state, target);
    for (TAirUnit& unit : fleet.AirUnits) {
        if (unit.State != kAirReady) continue;
        if (MapDistance(fleet.Position, enemy.Position) > StrikeRange(state, unit)) continue;
        if (enemy.DetectLevel == 1) {
            if (!LaunchesAtBarelySeen(state, fleet)) continue;
            unit.StrikeTarget = static_cast<std::uint8_t>(target);
            unit.State = kAirOutbound;
            if (state.Roll(100) > state.Hour * 10) unit.StrikeTarget = kAstrayStrike;
            continue;
        }
        unit.StrikeTarget = static_cast<std::uint8_t>(target);
        unit.State = kAirOutbound;
    }
}

void AssignComputerSearch(GameState& state, int f) {
    TFleet& fleet = FleetAt(state, f);
    if (fleet.ScoutReady != 0) return;
    const int room = FreeDeckPlaces(fleet);
    if (room <= 0 || HangarTotal(fleet) <= 0) return;
    const int scouts = ScoutTotal(state, fleet);
    int n = 5;
    if (scouts < 6) n = Trunc(scouts * 0.3);
    n = std::min(n, 5);
    const ShipTypeCounts counts = CountShipsByType(state, fleet);
    int want = 0;
    if (!FleetHasInstallation(state, fleet)) {
        const int carriers = counts.Of(kCarrier);
        if (scouts < carriers * n) {
            want = scouts < n ? scouts : n;
        } else {
            want = std::min(carriers * n, 5);
        }
    } else if (scouts < n) {
        want = scouts;
    } else {
        want = std::min(counts.Of(kGroundBase) * n, 20);
    }
    fleet.ScoutReady += TakeFromHangar(fleet, 2, std::min(want, room));
}

void AssignComputerPatrol(GameState& state, int f) {
    TFleet& fleet = FleetAt(state, f);
    if (fleet.CapReady != 0) return;
    const int room = FreeDeckPlaces(fleet);
    if (room <= 0 || HangarTotal(fleet) <= 0) return;
    const double share = fleet.Stance == kAssaultStance ? 0.0 : 0.25;
    const int want = Trunc(FighterTotal(state, fleet) * share);
    if (want == 0) return;
    fleet.CapReady += TakeFromHangar(fleet, 0, std::min(want, room));
}

void FormComputerGroups(GameState& state, int f) {
    TFleet& fleet = FleetAt(state, f);
    for (TAirUnit& unit : fleet.AirUnits) {
        const int forming = ReadyGroupCount(fleet);
        if (forming >= kMaxGroupsForming || FreeDeckPlaces(fleet) <= kMinFreeDeckPlaces) continue;
        if (unit.State != kAirIdle || HangarTotal(fleet) <= 0) continue;
        FormGroup(state, fleet, unit, forming == 0);
    }
}

void ComputerAirOperations(GameState& state, Frontend&) {
    for (int f = 0; f < kFleetCount; ++f) {
        const TFleet& fleet = FleetAt(state, f);
        if (!fleet.Active || fleet.Side == state.PlayerSide) continue;
        LaunchComputerStrikes(state, f);
        AssignComputerSearch(state, f);
        AssignComputerPatrol(state, f);
        FormComputerGroups(state, f);
    }
}

}  // namespace velmora
