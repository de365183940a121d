#include "air/recovery.h"

#include <algorithm>
#include <array>
#include <string>

#include "air/air_units.h"
#include "chart/weather.h"
#include "model/fleet_ops.h"
#include "model/rounding.h"

namespace velmora {
namespace {

constexpr int kBaseLandingChance = 50;
constexpr int kCarrierLandingChance = 35;

bool Returning(const TAirUnit& unit) { return unit.State >= kAirReturning; }

std::int32_t Truncated(double v) {
    return static_cast<std::int32_t>(std::clamp(v, -2147483648.0, 2147483647.0));
}

void TakeOff(GameState& state, TFleet& fleet) {
    if (std::int32_t* cap = LaunchEntry(fleet.CapLaunched, state.Turn)) *cap = fleet.CapReady;
    if (std::int32_t* scout = LaunchEntry(fleet.ScoutLaunched, state.Turn))
        *scout = fleet.ScoutReady;
    fleet.CapReady = 0;
    fleet.ScoutReady = 0;
}

void StormLandings(GameState& state, Frontend& ui, TFleet& fleet, std::int32_t* cap,
                   std::int32_t* scout) {
    if (!NeedsStormLanding(state, fleet)) return;
    // Launches of turn 0 never happened: only turn 1 and later land here.
    if (state.Turn - 2 >= 1) {
        if (cap != nullptr)
            StormLandingCheck(state, ui, fleet, kStormLandingCaption, *cap, fleet.CapType);
        if (scout != nullptr)
            StormLandingCheck(state, ui, fleet, kStormLandingCaption, *scout, fleet.ScoutType);
    }
    for (TAirUnit& unit : fleet.AirUnits) {
        if (!Returning(unit)) continue;
        for (std::size_t k = 0; k < 3; ++k) {
            StormLandingCheck(state, ui, fleet, kStormLandingCaption, unit.Counts[k],
                              unit.AircraftTypes[k]);
        }
    }
}

// What does not fit into the landing capacity is lost.
void LimitToLandingCapacity(TFleet& fleet, std::int32_t* cap, std::int32_t* scout) {
    std::int64_t returning = std::int64_t{cap ? *cap : 0} + (scout ? *scout : 0);
    for (const TAirUnit& unit : fleet.AirUnits) {
        if (Returning(unit)) returning += UnitAircraft(unit);
    }
    const int capacity = LandingCapacity(fleet);
    if (capacity >= returning) return;
    if (capacity > 0) {
        const double share = static_cast<double>(capacity);
        auto scale = [&](std::int32_t& q) {
            q = Truncated(share * (static_cast<double>(q) / static_cast<double>(returning)));
        };
        if (cap) scale(*cap);
        if (scout) scale(*scout);
        for (TAirUnit& unit : fleet.AirUnits) {
            if (!Returning(unit)) continue;
            for (std::size_t k = 0; k < 3; ++k) scale(unit.Counts[k]);
        }
        return;
    }
    if (cap) *cap = 0;
    if (scout) *scout = 0;
    for (TAirUnit& unit : fleet.AirUnits) {
        if (unit.State == kAirReturning) {
            for (std::size_t k = 0; k < 3; ++k) unit.Counts[k] = 0;
        }
    }
}

void Land(TFleet& fleet, std::int32_t* cap, std::int32_t* scout) {
    if (cap) {
        fleet.HangarCounts[0] += *cap;
        *cap = 0;
    }
    if (scout) {
        fleet.HangarCounts[2] += *scout;
        *scout = 0;
    }
    for (TAirUnit& unit : fleet.AirUnits) {
        if (!Returning(unit)) continue;
        for (std::size_t k = 0; k < 3; ++k) {
            fleet.HangarCounts[k] += unit.Counts[k];
            unit.Counts[k] = 0;
        }
    }
}

void RecoverFleet(GameState& state, Frontend& ui, TFleet& fleet) {
    TakeOff(state, fleet);
    const std::int32_t cap_type = fleet.CapType;
    const std::int32_t scout_type = fleet.ScoutType;
    const std::array<std::int32_t, kCategories> air_types = fleet.AirTypes;

    std::int32_t* cap = LaunchEntry(fleet.CapLaunched, state.Turn - 2);
    std::int32_t* scout = LaunchEntry(fleet.ScoutLaunched, state.Turn - 2);
    StormLandings(state, ui, fleet, cap, scout);
    LimitToLandingCapacity(fleet, cap, scout);
    Land(fleet, cap, scout);

    if (DeckStandbyCapacity(fleet) < AircraftOnDeck(fleet)) StowExcess(fleet);
    const std::int64_t held = std::int64_t{HangarTotal(fleet)} + AircraftOnDeck(fleet);
    const int landing = LandingCapacity(fleet);
    if (landing < held || HangarCapacity(fleet) < held) {
        RedistributeHangar(fleet, landing, fleet.HangarCounts[0], fleet.HangarCounts[1],
                           fleet.HangarCounts[2]);
    }

    fleet.CapType = cap_type;
    fleet.ScoutType = scout_type;
    fleet.AirTypes = air_types;
}

}  // namespace

void RecoverAircraft(GameState& state, Frontend& ui) {
    for (TFleet& fleet : state.FleetTable) RecoverFleet(state, ui, fleet);
}

void StowExcess(TFleet& fleet) {
    // Strikes still out (state 5) are in the air, not on deck: they stay.
    std::int64_t on_deck = 0;
    for (const TAirUnit& unit : fleet.AirUnits) {
        if (unit.State >= kAirOutbound) continue;
        for (std::int32_t n : unit.Counts) on_deck += n;
    }
    if (on_deck == 0) return;
    const double capacity = DeckStandbyCapacity(fleet);
    for (TAirUnit& unit : fleet.AirUnits) {
        if (unit.State >= kAirOutbound) continue;
        for (std::size_t k = 0; k < kCategories; ++k) {
            const std::int32_t n = unit.Counts[k];
            if (n <= 0) continue;
            const std::int32_t keep = Truncated(capacity * n / static_cast<double>(on_deck));
            fleet.HangarCounts[k] += n - keep;
            unit.Counts[k] = keep;
        }
    }
}

void RedistributeHangar(TFleet& fleet, int capacity, int h0, int h1, int h2) {
    if (std::int64_t{h0} + h1 + h2 == 0) return;
    std::array<std::int64_t, kCategories> aboard{};
    const int ships = std::clamp(fleet.ShipCount, 0, kShipSlots);
    for (int i = 0; i < ships; ++i) {
        const TShip& ship = fleet.Ships[static_cast<std::size_t>(i)];
        for (std::size_t k = 0; k < kCategories; ++k) aboard[k] += ship.AircraftAboard[k];
    }
    std::int64_t total = 0;
    for (std::int64_t a : aboard) total += a;
    if (fleet.LossTallies[0] == 0 && fleet.LossTallies[1] == 0 && fleet.LossTallies[2] == 0) return;
    double losses = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        if (aboard[k] != 0) losses += static_cast<double>(fleet.LossTallies[k]) / aboard[k];
    }
    for (std::size_t k = 0; k < kCategories; ++k) {
        fleet.HangarCounts[k] =
            total <= 0 ? 0
                       : Truncated(RoundHalfEven(static_cast<double>(aboard[k]) / total * capacity));
    }
    if (capacity <= 0 || losses <= 0) {
        for (std::size_t k = 0; k < 3; ++k) fleet.HangarCounts[k] = 0;
    }
    for (std::size_t k = 0; k < 3; ++k) fleet.LossTallies[k] = 0;
}

bool NeedsStormLanding(const GameState& state, const TFleet& fleet) {
    return StormCount(state, fleet.Position) >= 1;
}

void StormLandingCheck(GameState& state, Frontend& ui, const TFleet& fleet,
                       std::string_view caption, std::int32_t& count, int aircraft_type) {
    if (count <= 0) return;
    const int chance =
        FleetHasInstallation(state, fleet) ? kBaseLandingChance : kCarrierLandingChance;
    std::int32_t landed = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        if (state.Roll(100) < chance) ++landed;
    }
    const std::int32_t lost = count - landed;
    count = landed;
    if (lost > 0 && fleet.Side == state.PlayerSide) {
        ui.MessageOk(caption, state.AircraftTypeAt(aircraft_type).Name.str() + "\n" +
                                  std::to_string(lost) + "機が着陸に失敗しました。");
    }
}

}  // namespace velmora
