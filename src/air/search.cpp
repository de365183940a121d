#include "air/search.h"

#include <algorithm>
#include <string>

#include "air/air_units.h"
#include "chart/geometry.h"
#include "chart/weather.h"
#include "model/fleet_ops.h"
#include "model/labels.h"

namespace velmora {
namespace {

constexpr int kFortressTypeA = 12;
constexpr int kFortressTypeB = 13;
constexpr int kMarkerNumberAbove = 25;
constexpr int kBaseChanceCap = 90;
constexpr int kRadarChanceCap = 95;
constexpr int kStormPenalty = 20;

int ShipsIn(const TFleet& fleet) { return std::clamp(fleet.ShipCount, 0, kShipSlots); }

bool IsMarker(const TFleet& record) { return record.Number > kMarkerNumberAbove; }

void SetSector(TFleet& fleet, int s) {
    if (s >= 0 && s < 8) fleet.SearchSectors[static_cast<std::size_t>(s)] = 1;
}

void PlanSectors(GameState& state, TFleet& fleet) {
    fleet.SearchSectors.fill(0);
    if (FleetHasInstallation(state, fleet)) {
        // An installation watches the half of the map the enemy comes from.
        const bool player_side = fleet.Side == kPlayerSideValue;
        for (int s : player_side ? std::array{2, 3, 4, 5} : std::array{0, 1, 6, 7}) {
            SetSector(fleet, s);
        }
        return;
    }
    if (fleet.TargetFleet == kNoTargetFleet) {
        const Point seen{fleet.LastSighting[0], fleet.LastSighting[1]};
        const int s = SectorOf(fleet.Position, seen, kSectorPlanningRadius);
        if (s == kNoSector) return;
        SetSector(fleet, s);
        SetSector(fleet, (s + 1) % 8);
        return;
    }
    const int s =
        SectorOf(fleet.Position, state.Fleet(fleet.TargetFleet).Position, kSectorPlanningRadius);
    if (s == kNoSector) return;
    SetSector(fleet, s);
    SetSector(fleet, (s + 7) % 8);
}

int SectorsSet(const TFleet& fleet) {
    return static_cast<int>(std::count_if(fleet.SearchSectors.begin(), fleet.SearchSectors.end(),
                                          [](std::uint8_t f) { return f != 0; }));
}

// Raises the level once; a marker found a second time leaves play; the first
// level gives the designation. True when the level is now 1.
bool RaiseLevel(GameState& state, TFleet& target) {
    ++target.DetectLevel;
    if (IsMarker(target) && target.DetectLevel > 1) target.Active = 0;
    target.SeenThisTurn = 1;
    if (target.DetectLevel != 1) return false;
    target.Designation = TakeDesignation(state);
    return true;
}

bool CanRise(const TFleet& target) {
    return target.DetectLevel < kMaxDetectLevel && target.SeenThisTurn == 0;
}

struct Radii {
    int R = 0;  // the reach of this search
    int S = 0;  // search aircraft radius
    int D = 0;  // radar radius
};

Radii SearchRadii(const GameState& state, const TFleet& observer) {
    if (AircraftAloft(observer.ScoutLaunched, state.Turn) > 0) {
        const int range = state.AircraftTypeAt(observer.ScoutType).Range;
        return {range, range, 0};
    }
    if (FleetHasInstallation(state, observer)) return {kRadarRadius, 0, kRadarRadius};
    return {kShipborneSearchRadius, kShipborneSearchRadius, 0};
}

// The player's search: a success names the fleet and tells the player.
void PlayerTry(GameState& state, Frontend& ui, const TFleet& observer, TFleet& target,
               const Radii& r) {
    if (!DetectChance(state, observer, target, r.S, r.D) || !CanRise(target)) return;
    if (RaiseLevel(state, target)) ui.MessageOk("触接", ContactReport(state, observer, target));
}

// The computer's search: installations add a chance of their own, and the
// player hears that his fleet was seen.
void ComputerTry(GameState& state, Frontend& ui, TFleet& observer, TFleet& target,
                 const Radii& r) {
    bool counts = DetectChance(state, observer, target, r.S, r.D);
    if (!counts && FleetHasInstallation(state, observer)) counts = state.Roll(6) >= 4;
    if (!counts || !CanRise(target)) return;
    RaiseLevel(state, target);
    observer.LastSighting = {target.Position.X, target.Position.Y, state.Turn};
    ui.MessageOk("敵機触接", target.Name.str() + "が" + "敵索敵機に発見されました。");
}

// The first computer marker in play, by the fleet it tracks and then by
// its own index; nullptr when there is none.
TFleet* MarkerToSearch(GameState& state) {
    for (int tracked = 0; tracked < kFleetCount; ++tracked) {
        for (TFleet& marker : state.ContactTable) {
            if (marker.Active != 0 && marker.Side != state.PlayerSide &&
                marker.TrackedFleet == tracked) {
                return &marker;
            }
        }
    }
    return nullptr;
}

bool CanSearchFor(const GameState& state, const TFleet& observer, const TFleet& target) {
    return target.Active != 0 && target.Side != observer.Side &&
           !FleetHasFortress(state, observer) && !FleetHasFortress(state, target);
}

// Installations cannot hide: the first time they are known they get a name.
void RevealInstallations(GameState& state) {
    for (TFleet& fleet : state.FleetTable) {
        if (fleet.DetectLevel != 0 || !FleetHasInstallation(state, fleet)) continue;
        fleet.DetectLevel = 1;
        if (fleet.Designation.str().empty()) fleet.Designation = TakeDesignation(state);
    }
}

}  // namespace

void SetSearchSectors(GameState& state, Frontend&) {
    for (TFleet& fleet : state.FleetTable) {
        if (fleet.Active != 0 && fleet.Side != state.PlayerSide) PlanSectors(state, fleet);
    }
}

void DetectionStep(GameState& state, Frontend& ui) {
    for (int i = 0; i < kFleetCount; ++i) {
        TFleet& observer = state.FleetTable[static_cast<std::size_t>(i)];
        if (observer.Active == 0) continue;
        if (observer.Side == state.PlayerSide) {
            if (TFleet* marker = MarkerToSearch(state)) DetectTarget(state, ui, i, *marker);
        }
        for (int j = 0; j < kFleetCount; ++j) {
            TFleet& target = state.FleetTable[static_cast<std::size_t>(j)];
            if (j != i && CanSearchFor(state, observer, target)) DetectTarget(state, ui, i, target);
        }
    }
    RevealInstallations(state);
}

void DetectTarget(GameState& state, Frontend& ui, int observer_index, TFleet& target) {
    TFleet& observer = state.Fleet(observer_index);
    for (int k = 0; k < kDetectTries; ++k) {
        const Radii r = SearchRadii(state, observer);
        const int s = SectorOf(observer.Position, target.Position, r.R);
        if (s == kNoSector) return;
        if (MapDistance(observer.Position, target.Position) >= r.R ||
            observer.SearchSectors[static_cast<std::size_t>(s)] == 0) {
            continue;
        }
        if (observer.Side == state.PlayerSide) {
            PlayerTry(state, ui, observer, target, r);
        } else {
            ComputerTry(state, ui, observer, target, r);
        }
    }
}

bool DetectChance(GameState& state, const TFleet& observer, const TFleet& target,
                  int search_radius, int radar_radius) {
    const int m = SectorsSet(observer);
    if (m == 0) return false;
    const int n = AircraftAloft(observer.ScoutLaunched, state.Turn);
    if (ShipborneScouts(observer) + n == 0) return false;
    const double d = MapDistance(observer.Position, target.Position);
    int penalty = 0;
    if (d > 200) {
        penalty = 30;
    } else if (d > 100 && d < 200) {
        penalty = 20;
    }
    const double rating = state.AircraftTypeAt(observer.AirTypes[2]).ElectronicWarfare;
    const double base = 100.0 * n * rating / (13.0 * m);
    int cap = 0;
    if (d <= search_radius) {
        cap = kBaseChanceCap;
    } else if (FleetHasInstallation(state, observer) && search_radius < d && d < radar_radius) {
        cap = kRadarChanceCap;
    } else {
        return false;
    }
    int v = static_cast<int>(std::clamp(base, -1e9, 1e9));
    const int storms = StormCount(state, target.Position);
    if (storms == 1) v -= kStormPenalty;
    if (storms >= 2) v = 0;
    v = std::clamp(v, 0, cap);
    return state.Roll(101) < v - penalty;
}

int ShipborneScouts(const TFleet& fleet) {
    int sum = 0;
    for (int i = 0; i < ShipsIn(fleet); ++i) {
        const TShip& ship = fleet.Ships[static_cast<std::size_t>(i)];
        const int recon = ship.ReconAircraft;
        switch (ship.DeckState) {
            case kDeckNormal: sum += recon; break;
            case kDeckNoLanding: sum += recon / 3 * 2; break;
            case kDeckNoTakeOff: sum += recon / 2; break;
            default: break;
        }
        sum &= 0xFF;
    }
    return sum;
}

bool FleetHasFortress(const GameState& state, const TFleet& fleet) {
    for (int i = 0; i < ShipsIn(fleet); ++i) {
        const int type = state.ShipTypeOf(fleet.Ships[static_cast<std::size_t>(i)]);
        if (type == kFortressTypeA || type == kFortressTypeB) return true;
    }
    return false;
}

std::string ContactReport(const GameState& state, const TFleet& observer, const TFleet& target) {
    return state.AircraftTypeAt(observer.AirTypes[2]).Name.str() + "が敵艦隊発見\nこの敵艦隊を" +
           target.Designation.str() + "となずけます X:" + std::to_string(target.Position.X) +
           "Y:" + std::to_string(target.Position.Y);
}

}  // namespace velmora
