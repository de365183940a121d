#include "air/air_units.h"

#include <algorithm>
#include <climits>

#include "model/fleet_ops.h"

namespace velmora {
namespace {

// Counts come from files and saves: sums are kept inside int32.
int Saturated(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

int ShipsIn(const TFleet& fleet) { return std::clamp(fleet.ShipCount, 0, kShipSlots); }

template <class Take>
int SumOverShips(const TFleet& fleet, Take take) {
    std::int64_t sum = 0;
    for (int i = 0; i < ShipsIn(fleet); ++i) sum += take(fleet.Ships[static_cast<std::size_t>(i)]);
    return Saturated(sum);
}

// Counts[k] of air units 0..4: the sixth unit is not part of the totals.
std::int64_t FirstFiveUnits(const TFleet& fleet, int k) {
    std::int64_t sum = 0;
    for (int u = 0; u < kAirUnitSlots - 1; ++u) {
        sum += fleet.AirUnits[static_cast<std::size_t>(u)].Counts[static_cast<std::size_t>(k)];
    }
    return sum;
}

void AdvanceUnit(TAirUnit& unit) {
    switch (unit.State) {
        case kAirServicing:
            // An empty unit waits: there is nothing to make ready.
            if (UnitAircraft(unit) > 0) unit.State = kAirReady;
            break;
        case kAirRearming1: unit.State = kAirRearming2; break;
        case kAirRearming2: unit.State = kAirReady; break;
        case kAirOutbound: unit.State = kAirReturning; break;
        case kAirReturning: unit.State = kAirIdle; break;
        default: break;
    }
}

}  // namespace

std::uint8_t AircraftTypeByte(int index) {
    if (index < 0 || index >= kTableSize) return 255;
    return static_cast<std::uint8_t>(index);
}

bool CanTakeOff(std::uint8_t deck_state) {
    return deck_state == kDeckNormal || deck_state == kDeckNoLanding;
}

bool CanLand(std::uint8_t deck_state) {
    return deck_state == kDeckNormal || deck_state == kDeckNoTakeOff;
}

std::int32_t* LaunchEntry(std::array<std::int32_t, kLaunchTurns>& launched, int turn) {
    const int k = LaunchIndex(turn);
    if (k < 0) return nullptr;
    return &launched[static_cast<std::size_t>(k)];
}

int AircraftAloft(const std::array<std::int32_t, kLaunchTurns>& launched, int turn) {
    std::int64_t sum = 0;
    for (int t = turn - 2; t <= turn; ++t) {
        const int k = LaunchIndex(t);
        if (k >= 0) sum += launched[static_cast<std::size_t>(k)];
    }
    return Saturated(sum);
}

void AdvanceAirUnits(GameState& state) {
    for (TFleet& fleet : state.FleetTable) {
        for (TAirUnit& unit : fleet.AirUnits) AdvanceUnit(unit);
    }
}

int UnitAircraft(const TAirUnit& unit) {
    return Saturated(std::int64_t{unit.Counts[0]} + unit.Counts[1] + unit.Counts[2]);
}

int StrikeRange(const GameState& state, const TAirUnit& unit) {
    int radius = kNoStrikeRange;
    for (std::size_t k = 0; k < 3; ++k) {
        if (unit.Counts[k] <= 0) continue;
        radius = std::min(radius, state.AircraftTypeAt(unit.AircraftTypes[k]).Range);
    }
    return radius;
}

int DeckStandbyCapacity(const TFleet& fleet) {
    if (fleet.Number == kFixedDeckFleet) return kFixedDeckCapacity;
    return SumOverShips(fleet, [](const TShip& s) {
        return CanTakeOff(s.DeckState) ? std::int64_t{s.DeckStandby} : 0;
    });
}

int LandingCapacity(const TFleet& fleet) {
    return SumOverShips(fleet, [](const TShip& s) {
        return CanLand(s.DeckState) ? std::int64_t{s.AircraftCapacity} : 0;
    });
}

int HangarCapacity(const TFleet& fleet) {
    return SumOverShips(fleet, [](const TShip& s) { return std::int64_t{s.AircraftCapacity}; });
}

int AircraftOnDeck(const TFleet& fleet) {
    std::int64_t sum = std::int64_t{fleet.CapReady} + fleet.ScoutReady;
    for (const TAirUnit& unit : fleet.AirUnits) {
        if (unit.State < kAirOutbound) sum += UnitAircraft(unit);
    }
    return Saturated(sum);
}

int HangarTotal(const TFleet& fleet) {
    return Saturated(std::int64_t{fleet.HangarCounts[0]} + fleet.HangarCounts[1] +
                     fleet.HangarCounts[2]);
}

int FighterTotal(const GameState& state, const TFleet& fleet) {
    return Saturated(FirstFiveUnits(fleet, kFighters) + fleet.HangarCounts[0] +
                     AircraftAloft(fleet.CapLaunched, state.Turn) + fleet.CapReady);
}

int AttackerTotal(const GameState& state, const TFleet& fleet) {
    std::int64_t sum = FirstFiveUnits(fleet, kAttackers) + fleet.HangarCounts[1];
    // The computer's search aircraft are attack aircraft on search duty.
    if (fleet.Side == state.ComputerSide) {
        sum += std::int64_t{AircraftAloft(fleet.ScoutLaunched, state.Turn)} + fleet.ScoutReady;
    }
    return Saturated(sum);
}

int ScoutTotal(const GameState& state, const TFleet& fleet) {
    return Saturated(FirstFiveUnits(fleet, kScouts) + fleet.HangarCounts[2] +
                     AircraftAloft(fleet.ScoutLaunched, state.Turn) + fleet.ScoutReady);
}

int ReadyGroupCount(const TFleet& fleet) {
    return static_cast<int>(std::count_if(
        fleet.AirUnits.begin(), fleet.AirUnits.end(),
        [](const TAirUnit& u) { return u.State == kAirServicing || u.State == kAirReady; }));
}

}  // namespace velmora
