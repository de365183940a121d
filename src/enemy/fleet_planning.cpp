#include "enemy/fleet_planning.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "air/air_units.h"
#include "air/search.h"
#include "chart/geometry.h"
#include "enemy/enemy_turn.h"
#include "enemy/route_search.h"
#include "model/fleet_ops.h"
#include "model/scuttle.h"
#include "model/ship_counts.h"

namespace velmora {
namespace {

constexpr int kNightHour = 18;
constexpr int kDuskHour = 19;
constexpr int kFirstComputerFleet = kPlayerFleetLast + 1;
constexpr int kLastSupplyBaseIndex = 20;
constexpr int kAimStampAfterSighting = 5;
constexpr int kFarSouthAimY = 800;
constexpr int kMaxMergedShips = 21;
constexpr int kScatterTries = 10;

TFleet& FleetAt(GameState& state, int index) {
    return state.FleetTable[static_cast<std::size_t>(index)];
}

int ShipsIn(const TFleet& fleet) {
    return std::clamp(fleet.ShipCount, 0, kShipSlots);
}

bool InPlayOfSide(const TFleet& fleet, std::uint8_t side) {
    return fleet.Active && fleet.Side == side;
}
bool IsComputerFleetInPlay(const GameState& state, const TFleet& fleet) {
    return InPlayOfSide(fleet, state.ComputerSide);
}

int CountOf(const GameState& state, const TFleet& fleet, int type) {
    return CountShipsByType(state, fleet).Of(type);
}

bool FleetHasSupplies(const TFleet& fleet) {
    for (int i = 0; i < ShipsIn(fleet); ++i) {
        if (fleet.Ships[static_cast<std::size_t>(i)].Supplies > 0) return true;
    }
    return false;
}

// Carriers per ship manoeuvring (Manoeuvre not 0); 0 when none manoeuvres.
double CarrierShare(const GameState& state, const TFleet& fleet) {
    int manoeuvring = 0;
    for (int i = 0; i < ShipsIn(fleet); ++i) {
        if (fleet.Ships[static_cast<std::size_t>(i)].Manoeuvre != 0) ++manoeuvring;
    }
    if (manoeuvring == 0) return 0.0;
    return static_cast<double>(CountOf(state, fleet, kCarrier)) / manoeuvring;
}
constexpr double kCarrierShareForSouth = 0.8;

void SetSingleWaypoint(TFleet& fleet, Point goal, int route_length) {
    fleet.Destination = goal;
    fleet.Route[0] = goal;
    fleet.RouteLength = route_length;
}

// The last fleet (highest index) of the side in play that holds an
// installation; -1 when none does.
int LastBaseOfSide(const GameState& state, std::uint8_t side) {
    int base = -1;
    for (int i = 0; i < kFleetCount; ++i) {
        const TFleet& fleet = state.FleetTable[static_cast<std::size_t>(i)];
        if (InPlayOfSide(fleet, side) && FleetHasInstallation(state, fleet)) base = i;
    }
    return base;
}
int FirstBaseOfSide(const GameState& state, std::uint8_t side, int last_index, int except) {
    for (int i = 0; i <= last_index && i < kFleetCount; ++i) {
        const TFleet& fleet = state.FleetTable[static_cast<std::size_t>(i)];
        if (i != except && InPlayOfSide(fleet, side) && FleetHasInstallation(state, fleet))
            return i;
    }
    return -1;
}

bool AnyPlayerFleetInPlay(const GameState& state) {
    for (const TFleet& fleet : state.FleetTable) {
        if (InPlayOfSide(fleet, state.PlayerSide)) return true;
    }
    return false;
}

void SetAim(TFleet& fleet, Point aim, int stamp) {
    fleet.LastSighting = {aim.X, aim.Y, stamp};
}

int Jitter(GameState& state, int range) {
    int offset = state.Roll(range);
    offset -= state.Roll(range);
    return offset;
}

// A new aim point is blurred by the target's speed: the computer knows
// roughly, not exactly, where the fleet is heading.
Point JitteredAim(GameState& state, Point aim, const TFleet& target) {
    const int range = 3 * static_cast<int>(target.Speed) / 2;
    aim.X += Jitter(state, range);
    aim.Y += Jitter(state, range);
    return aim;
}

Point PredictedAim(GameState& state, const TFleet& target, int base) {
    Point aim =
        base >= 0 ? AdvanceTowards(state, target, FleetAt(state, base), 5) : target.Position;
    return JitteredAim(state, aim, target);
}

int SetupPriority(const GameState& state, const TFleet& fleet, bool computer_has_base) {
    const ShipTypeCounts c = CountShipsByType(state, fleet);
    if (c.Of(kCarrier) == 0 && computer_has_base) return 10000;
    return 5 * c.Of(kBattleship) + 10 * c.Of(kCarrier) + 2 * c.Of(kCruiser) + c.Of(kDestroyer) +
           8 * c.Of(kTransport);
}

int SightingPriority(GameState& state, const TFleet& fleet) {
    const int level = fleet.DetectLevel;
    const ShipTypeCounts c = CountShipsByType(state, fleet, level);
    if (level == 1) return state.Roll(10) + 1;
    if (level == 2) return state.Roll(8) + c.Ships;
    return 5 * c.Of(kBattleship) + 10 * c.Of(kCarrier) + 2 * c.Of(kCruiser) + c.Of(kDestroyer) +
           8 * c.Of(kTransport);
}

// The aim point drifts while the target is out of sight: the longer since
// the last stamp, the wider. The drift stays on the computer's map.
void AgeAim(GameState& state, TFleet& fleet) {
    const int stamp = fleet.LastSighting[2];
    const int target = fleet.TargetFleet;
    if (stamp >= state.Turn + 5 || target < 0 || target >= kFleetCount) return;
    if (FleetAt(state, target).DetectLevel > 1 || state.Turn <= 10) return;
    const int elapsed = state.Turn - stamp;
    for (std::size_t axis = 0; axis < 2; ++axis) {
        const int c = fleet.LastSighting[axis];
        const int bound = axis == 0 ? kComputerPointMaxX : kComputerPointMaxY;
        const std::int64_t k = static_cast<std::int64_t>(elapsed) * c / 2;
        // A stamp in the future (after the dusk rule) leaves the point as it is.
        const int range = static_cast<int>(std::clamp<std::int64_t>(k, 0, 1 << 20));
        const int moved = c + Jitter(state, range);
        fleet.LastSighting[axis] = range > 0 ? std::clamp(moved, 0, bound) : c;
    }
    fleet.LastSighting[2] = state.Turn;
}

void AimWithoutTarget(GameState& state, TFleet& fleet, bool age) {
    if (age) AgeAim(state, fleet);
    if (state.Hour == kDuskHour) {
        fleet.LastSighting[1] = kFarSouthAimY;
        fleet.LastSighting[2] = state.Turn + 6;
    }
    if (CountOf(state, fleet, kCarrier) == 0 && AnyPlayerFleetInPlay(state)) {
        const int base = LastBaseOfSide(state, state.ComputerSide);
        if (base >= 0) {
            const Point p = FleetAt(state, base).Position;
            fleet.LastSighting[0] = p.X;
            fleet.LastSighting[1] = p.Y;
        }
    }
}

int FirstFreeComputerSlot(const GameState& state, int except) {
    for (int k = kFirstComputerFleet; k < kFleetCount; ++k) {
        const TFleet& fleet = state.FleetTable[static_cast<std::size_t>(k)];
        if (k != except && !fleet.Active && !FleetHasInstallation(state, fleet)) return k;
    }
    return -1;
}

void RecomputeSpeed(TFleet& fleet) {
    int lowest = 999;
    for (int i = 0; i < ShipsIn(fleet); ++i) {
        lowest = std::min<int>(lowest, fleet.Ships[static_cast<std::size_t>(i)].Speed);
    }
    fleet.Speed = static_cast<std::uint8_t>(lowest & 0xFF);
}

// A fleet made by a split sails with its parent's orders and plans its own.
void BringSplitFleetIntoPlay(GameState& state, TFleet& parent, int k, FleetFlags& split_now) {
    split_now[static_cast<std::size_t>(k)] = true;
    ++state.Counters.ComputerSplits;
    TFleet& split = FleetAt(state, k);
    split.Active = 1;
    split.Side = parent.Side;
    split.Number = static_cast<std::uint8_t>(k);
    split.Position = parent.Position;
    split.Destination = parent.Destination;
    split.Route = parent.Route;
    split.RouteLength = parent.RouteLength;
    split.Stance = parent.Stance;
    split.Detour = parent.Detour;
    split.AirTypes = parent.AirTypes;
    PlanComputerFleet(state, k);
    ScatterMarkers(state, k);
    RecomputeSpeed(split);
    RecomputeSpeed(parent);
}

bool IsSlow(const TShip& ship) {
    return ship.Speed < kSlowShipSpeed;
}

// Slow ships sail on in a fleet of their own. A fleet whose every ship is
// slow keeps them: moving all of them would only rename it.
void SplitOffSlowShips(GameState& state, int f, FleetFlags& split_now) {
    TFleet& fleet = FleetAt(state, f);
    int slow = 0;
    for (int i = 0; i < ShipsIn(fleet); ++i)
        slow += IsSlow(fleet.Ships[static_cast<std::size_t>(i)]);
    if (slow == 0 || slow == ShipsIn(fleet)) return;
    for (int k = kFirstComputerFleet; k < kFleetCount; ++k) {
        TFleet& slot = FleetAt(state, k);
        if (k == f || slot.Active || FleetHasInstallation(state, slot)) continue;
        bool moved = false;
        for (int i = ShipsIn(fleet) - 1; i >= 0; --i) {
            if (!IsSlow(fleet.Ships[static_cast<std::size_t>(i)])) continue;
            moved = TransferShip(state, i, k, fleet, slot) || moved;
        }
        if (moved) BringSplitFleetIntoPlay(state, fleet, k, split_now);
    }
}

void SplitOffEscorts(GameState& state, int f, FleetFlags& split_now) {
    TFleet& fleet = FleetAt(state, f);
    const bool chance = state.Roll(100) < 20;
    const ShipTypeCounts c = CountShipsByType(state, fleet);
    const int heavy = c.Of(kBattleship) + c.Of(kCruiser) + c.Of(kCarrier);
    if (!chance || ShipsIn(fleet) <= 5 || c.Of(kTransport) > 0 || heavy >= c.Of(kDestroyer)) return;
    const int k = FirstFreeComputerSlot(state, f);
    if (k < 0) return;
    TFleet& escorts = FleetAt(state, k);
    int moved = 0;
    bool cruiser_moved = false;
    for (int i = ShipsIn(fleet) - 1; i >= 0 && moved < heavy; --i) {
        const int type = state.ShipTypeOf(fleet.Ships[static_cast<std::size_t>(i)]);
        const bool take = type == kDestroyer || (type == kCruiser && !cruiser_moved);
        if (!take || !TransferShip(state, i, k, fleet, escorts)) continue;
        cruiser_moved = cruiser_moved || type == kCruiser;
        ++moved;
    }
    if (moved > 0) BringSplitFleetIntoPlay(state, fleet, k, split_now);
}

void ScuttleCrippledShips(GameState& state, int f) {
    TFleet& fleet = FleetAt(state, f);
    if (FleetHasInstallation(state, fleet)) return;
    for (int i = ShipsIn(fleet) - 1; i >= 0; --i) {
        if (fleet.Ships[static_cast<std::size_t>(i)].Speed < kScuttleSpeed)
            ScuttleShip(state, f, i);
    }
    if (ShipsIn(fleet) == 0) fleet.Active = 0;
}

bool CanMerge(const GameState& state, const TFleet& a, const TFleet& b) {
    if (FleetHasInstallation(state, a) && !FleetHasInstallation(state, b)) return false;
    if (MapDistance(a.Position, b.Position) >= kMergeDistance) return false;
    if (ShipsIn(b) > 20) return false;
    for (const TFleet* fleet : {&a, &b}) {
        const ShipTypeCounts c = CountShipsByType(state, *fleet);
        if (c.Of(kTransport) > 0 || c.Of(kGroundBase) > 0) return false;
    }
    return true;
}

void Merge(GameState& state, int i, int j) {
    TFleet& from = FleetAt(state, i);
    TFleet& into = FleetAt(state, j);
    ++state.Counters.ComputerMerges;
    if (state.Roll(100) < 50) {
        into.Stance = from.Stance;
        into.Detour = from.Detour;
    } else {
        from.Stance = into.Stance;
        from.Detour = into.Detour;
    }
    for (int s = ShipsIn(from) - 1; s >= 0 && ShipsIn(into) < kMaxMergedShips; --s) {
        TransferShip(state, s, j, from, into);
    }
    from.TargetFleet = -1;
    into.TargetFleet = -1;
    into.AirTypes = from.AirTypes;
    into.LastSighting = from.LastSighting;
    for (TFleet* fleet : {&from, &into}) {
        if (ShipsIn(*fleet) == 0) fleet->Active = 0;
    }
    PlanComputerFleet(state, i);
    PlanComputerFleet(state, j);
    ScatterMarkers(state, j);
}

// Target choice of the turn step: a barely seen fleet by its size and some
// luck, a well seen one by its carriers, failing those by its worth.
void ChooseTargetInSight(GameState& state, int f) {
    int best = 0;
    int best_value = 0;
    int candidate_a = -1;
    int candidate_b = -1;
    for (int k = 0; k < kFleetCount; ++k) {
        const TFleet& target = FleetAt(state, k);
        if (!InPlayOfSide(target, state.PlayerSide) || target.DetectLevel <= 0) continue;
        if (target.Ships[0].Durability == 0) continue;
        const ShipTypeCounts c = CountShipsByType(state, target, target.DetectLevel);
        if (target.DetectLevel == 1) {
            const int score = c.Ships + state.Roll(c.Ships / 3);
            if (score > best) {
                best = score;
                candidate_a = k;
            }
            continue;
        }
        if (c.Of(kCarrier) > 0 && c.Of(kCarrier) > best) {
            best = c.Of(kCarrier);
            candidate_a = k;
        }
        const int value = 12 * c.Of(kBattleship) + 3 * c.Of(kCruiser) + c.Of(kDestroyer) +
                          14 * c.Of(kTransport) + c.Of(kGroundBase) + c.Of(12) + 100;
        if (value > best_value) {
            best_value = value;
            candidate_b = k;
        }
    }
    const int chosen = candidate_a >= 0 ? candidate_a : candidate_b;
    if (chosen < 0) return;
    FleetAt(state, f).TargetFleet = chosen;
    PlanAttack(state, f);
    ScatterMarkers(state, f);
}

// Transports sail for the computer's base. A goal without a waypoint is only
// taken when it lies within one turn's reach, and a last waypoint is never
// quite reached: so the fleet keeps a waypoint while the base is farther
// and drops it for the last leg, which puts it on the base where it lands
// its supplies.
void SendTransportsToBase(GameState& state, int f) {
    TFleet& fleet = FleetAt(state, f);
    if (CountOf(state, fleet, kTransport) == 0) return;
    int base = -1;
    for (int i = 0; i < kFleetCount; ++i) {
        const TFleet& other = FleetAt(state, i);
        if (i != f && IsComputerFleetInPlay(state, other) && FleetHasInstallation(state, other))
            base = i;
    }
    if (base < 0) return;
    const Point goal = FleetAt(state, base).Position;
    const std::int64_t reach = std::llabs(static_cast<std::int64_t>(goal.X) - fleet.Position.X) +
                               std::llabs(static_cast<std::int64_t>(goal.Y) - fleet.Position.Y);
    SetSingleWaypoint(fleet, goal, reach < fleet.Speed ? 0 : 1);
}

void OrderOneFleet(GameState& state, int f, FleetFlags& split_now) {
    TFleet& fleet = FleetAt(state, f);
    ScuttleCrippledShips(state, f);
    if (!fleet.Active) return;
    if (fleet.RouteLength < 1) {
        PlanComputerFleet(state, f);
        ScatterMarkers(state, f);
    }
    const ShipTypeCounts c = CountShipsByType(state, fleet);
    if (state.Hour > kNightHour && c.Of(kTransport) == 0) {
        SetSingleWaypoint(fleet, SouthEdgePoint(fleet.Position.X), 0);
    }
    if (c.Of(kCarrier) > 0 && CarrierShare(state, fleet) > kCarrierShareForSouth) {
        fleet.Destination = SouthEdgePoint(fleet.Position.X);
        fleet.RouteLength = 0;
    }
    SplitOffSlowShips(state, f, split_now);
    SplitOffEscorts(state, f, split_now);
    MergeComputerFleets(state, split_now);
    if (!fleet.Active) return;
    ChooseTargetInSight(state, f);
    SendTransportsToBase(state, f);
}

}  // namespace

Point SouthEdgePoint(int x) {
    return {x, kMapHeight};
}

Point AdvanceTowards(const GameState& state, const TFleet& a, const TFleet& b, int steps) {
    Point p = a.Position;
    const int range = StrikeRange(state, a.AirUnits[0]);
    const double speed = std::trunc(a.Speed * 1.452);
    for (int n = 0; n < steps; ++n) {
        const std::int64_t dx = static_cast<std::int64_t>(b.Position.X) - p.X;
        const std::int64_t dy = static_cast<std::int64_t>(b.Position.Y) - p.Y;
        if (std::llabs(dx) + std::llabs(dy) <= range) break;
        const double f = speed / std::sqrt(static_cast<double>(dx * dx + dy * dy));
        p.X += static_cast<std::int32_t>(std::trunc(static_cast<double>(dx) * f));
        p.Y += static_cast<std::int32_t>(std::trunc(static_cast<double>(dy) * f));
    }
    return p;
}

void ChooseComputerTarget(GameState& state, int f) {
    TFleet& fleet = FleetAt(state, f);
    const int base = LastBaseOfSide(state, fleet.Side);
    if (state.Turn >= 2) {
        int best = 0;
        int chosen = -1;
        for (int k = 0; k < kFleetCount; ++k) {
            const TFleet& target = FleetAt(state, k);
            if (!InPlayOfSide(target, state.PlayerSide) || target.DetectLevel <= 0) continue;
            const int priority = SightingPriority(state, target);
            if (ShipsIn(target) > 0 && target.Ships[0].Durability == 0) continue;
            if (priority > best) {
                best = priority;
                chosen = k;
            }
        }
        if (chosen >= 0) {
            const Point aim = PredictedAim(state, FleetAt(state, chosen), base);
            SetAim(fleet, aim, kAimStampAfterSighting);
            SetSingleWaypoint(fleet, aim, 1);
            fleet.TargetFleet = chosen;
            return;
        }
        AimWithoutTarget(state, fleet, true);
        return;
    }
    if (state.Turn <= 0) {
        const bool computer_has_base = LastBaseOfSide(state, state.ComputerSide) >= 0;
        int best = 0;
        int chosen = -1;
        for (int k = 0; k < kFleetCount; ++k) {
            const TFleet& target = FleetAt(state, k);
            if (!InPlayOfSide(target, state.PlayerSide)) continue;
            const int priority = SetupPriority(state, target, computer_has_base);
            if (priority > best) {
                best = priority;
                chosen = k;
            }
        }
        if (chosen >= 0) {
            SetAim(fleet, PredictedAim(state, FleetAt(state, chosen), base),
                   kAimStampAfterSighting);
        }
        AimWithoutTarget(state, fleet, false);
        return;
    }
    AimWithoutTarget(state, fleet, true);
}

void PlanComputerFleet(GameState& state, int f) {
    if (f < 0 || f >= kFleetCount) return;
    TFleet& fleet = FleetAt(state, f);
    if (!IsComputerFleetInPlay(state, fleet)) return;
    ChooseComputerTarget(state, f);
    const ShipTypeCounts c = CountShipsByType(state, fleet);
    if (c.Of(kTransport) > 0) {
        const int k =
            FirstBaseOfSide(state, state.ComputerSide, kLastSupplyBaseIndex, fleet.Number);
        if (k >= 0) {
            const Point base = FleetAt(state, k).Position;
            SetSingleWaypoint(fleet, FleetHasSupplies(fleet) ? base : SouthEdgePoint(base.X), 1);
            return;
        }
    }
    if (c.Of(kCarrier) > 0 && CarrierShare(state, fleet) > kCarrierShareForSouth) {
        SetSingleWaypoint(fleet, SouthEdgePoint(fleet.Position.X), 1);
        return;
    }
    if (c.Of(kCarrier) == 0 && c.Of(kBattleship) > 0) {
        const int base = FirstBaseOfSide(state, state.ComputerSide, kFleetCount - 1, -1);
        if (base >= 0) {
            fleet.Destination = FleetAt(state, base).Position;
            fleet.RouteLength = 0;
            return;
        }
    }
    PlanRoute(state, fleet);
}

void PlanAttack(GameState& state, int f) {
    PlanComputerFleet(state, f);
}

void ScatterMarkers(GameState& state, int f) {
    if (f < 0 || f >= kFleetCount) return;
    const TFleet& fleet = FleetAt(state, f);
    if (FleetHasInstallation(state, fleet)) return;
    auto scatter = [&state](int centre, int bound) {
        // A point on the map's edge is drawn again; a goal far off the map
        // would never give another, so the tries are bounded.
        int v = 0;
        for (int tries = 0; tries < kScatterTries; ++tries) {
            v = std::clamp(centre + Jitter(state, kMarkerScatterRange), 0, bound);
            if (v != 0 && v != bound) break;
        }
        return v;
    };
    for (TFleet& marker : state.ContactTable) {
        if (!marker.Active || marker.TrackedFleet != fleet.Number) continue;
        const int x = scatter(fleet.Destination.X, kComputerPointMaxX);
        const int y = scatter(fleet.Destination.Y, kComputerPointMaxY);
        marker.Destination = {x, y};
    }
}

void MergeComputerFleets(GameState& state, const FleetFlags& split_now) {
    for (int i = 0; i < kFleetCount; ++i) {
        for (int j = 0; j < kFleetCount; ++j) {
            if (i == j) continue;
            if (split_now[static_cast<std::size_t>(i)] || split_now[static_cast<std::size_t>(j)])
                continue;
            const TFleet& a = FleetAt(state, i);
            const TFleet& b = FleetAt(state, j);
            if (!IsComputerFleetInPlay(state, a) || !IsComputerFleetInPlay(state, b)) continue;
            if (CanMerge(state, a, b)) Merge(state, i, j);
        }
    }
}

void ComputerFleetOrders(GameState& state, Frontend&) {
    for (TFleet& fleet : state.FleetTable) {
        if (!IsComputerFleetInPlay(state, fleet)) continue;
        if (state.Hour < 3 && state.Turn > 5) {
            fleet.LastSighting[2] = 0;
            fleet.RouteLength = 0;
        }
    }
    FleetFlags split_now{};
    for (int f = 0; f < kFleetCount; ++f) {
        if (IsComputerFleetInPlay(state, FleetAt(state, f))) OrderOneFleet(state, f, split_now);
    }
    if (state.Hour <= kNightHour) return;
    for (TFleet& fleet : state.FleetTable) {
        if (!IsComputerFleetInPlay(state, fleet)) continue;
        if (CountOf(state, fleet, kCarrier) > 0 || FleetHasFortress(state, fleet)) {
            SetSingleWaypoint(fleet, SouthEdgePoint(fleet.Position.X), 1);
        }
    }
}

}  // namespace velmora
