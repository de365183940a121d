#include "model/fleet_ops.h"

#include <algorithm>

#include "model/rounding.h"

namespace velmora {

std::uint8_t OtherSide(const GameState& state, std::uint8_t side) {
    return side == state.PlayerSide ? state.ComputerSide : state.PlayerSide;
}

bool FleetHasInstallation(const GameState& state, const TFleet& fleet) {
    int count = std::clamp(fleet.ShipCount, 0, kShipSlots);
    for (int i = 0; i < count; ++i) {
        if (IsInstallationType(state.ShipTypeOf(fleet.Ships[static_cast<std::size_t>(i)]))) {
            return true;
        }
    }
    return false;
}

int ClassIndexByName(const GameState& state, std::string_view name) {
    int last = std::min(state.ShipClassLast, kTableSize - 1);
    for (int i = 0; i <= last; ++i) {
        if (state.ShipClassTable[static_cast<std::size_t>(i)].Name.str() == name) return i;
    }
    return 0;
}

bool AddShip(const GameState& state, TFleet& fleet, int class_index, std::string_view name,
             const SideFileValues& values) {
    if (fleet.ShipCount < 0 || fleet.ShipCount >= kShipSlots) return false;
    const TShip& cls = state.ShipClassTable[static_cast<std::size_t>(
        std::clamp(class_index, 0, kTableSize - 1))];
    if (cls.Speed < fleet.Speed) fleet.Speed = cls.Speed;

    // A slot that held a removed ship keeps much of it (deck state, damage,
    // gun targets): the new ship starts from a clean record instead.
    TShip& ship = fleet.Ships[static_cast<std::size_t>(fleet.ShipCount)];
    ship = TShip{};
    ship.CaptureTurn = -1;
    ship.ClassIndex = class_index;
    ship.Name = name;
    ship.ClassValue16 = cls.ClassValue16;
    ship.MissileLoad = cls.MissileLoad;
    ship.AircraftCapacity = cls.AircraftCapacity;
    ship.DeckStandby = cls.DeckStandby;
    ship.AreaDefence = cls.AreaDefence;
    ship.PointDefence = cls.PointDefence;
    ship.Durability = cls.Durability;
    ship.Speed = cls.Speed;
    ship.ReconAircraft = cls.ReconAircraft;
    ship.ClassCode = cls.ClassCode;
    ship.ElectronicWarfare = cls.ElectronicWarfare;
    ship.ElectronicWarfareNow = cls.ElectronicWarfare;
    ship.AswSensor = cls.AswSensor;
    ship.AswAttackPatrol = cls.AswAttackPatrol;
    ship.AswAttackMoving = cls.AswAttackMoving;
    ship.MainGun = cls.MainGun;
    ship.SecondaryGun = cls.SecondaryGun;
    // Damage control reads the ship's own deck armour.
    ship.SideArmour = cls.SideArmour;
    ship.DeckArmour = cls.DeckArmour;
    ship.Loaded = 1;
    ship.SuppressionResistance = values.SuppressionResistance;
    ship.FireControl = values.FireControl;
    for (std::size_t j = 0; j < 3; ++j) {
        ship.AircraftAboardAtStart[j] = values.Aircraft[j];
        ship.AircraftTypesAboard[j] = values.AircraftType[j];
    }
    ship.Supplies = values.Supplies;
    ++fleet.ShipCount;
    return true;
}

namespace {

void ClearSlot(TShip& ship) {
    ship.ClassIndex = -1;
    ship.Name = "";
    ship.Durability = 0;
    ship.AircraftCapacity = 0;
    ship.DeckStandby = 0;
    for (std::size_t j = 0; j < 3; ++j) ship.AircraftAboardAtStart[j] = 0;
    ship.AreaDefence = 0;
    ship.Speed = 0;
    ship.ReconAircraft = 0;
    ship.Supplies = 0;
    ship.AircraftAboard.fill(0);
}

}  // namespace

std::uint8_t RemoveShip(int slot, TFleet& fleet) {
    int count = std::clamp(fleet.ShipCount, 0, kShipSlots);
    if (slot < 0 || slot >= count) return fleet.Speed;
    for (int i = slot; i < count; ++i) {
        auto& here = fleet.Ships[static_cast<std::size_t>(i)];
        if (i < count - 1) {
            here = fleet.Ships[static_cast<std::size_t>(i + 1)];
        } else {
            ClearSlot(here);
        }
    }
    fleet.ShipCount = count - 1;
    int lowest = 999;
    for (int i = 0; i < fleet.ShipCount; ++i) {
        lowest = std::min<int>(lowest, fleet.Ships[static_cast<std::size_t>(i)].Speed);
    }
    fleet.Speed = static_cast<std::uint8_t>(lowest & 0xFF);
    return fleet.Speed;
}

void ClearFleets(GameState& state) {
    for (TFleet& fleet : state.FleetTable) {
        fleet.ShipCount = std::clamp(fleet.ShipCount, 0, kShipSlots);
        while (fleet.ShipCount > 0) RemoveShip(0, fleet);
    }
}

int LaunchIndex(int turn) {
    if (turn < 0) return -1;
    return turn % kLaunchTurns;
}

namespace {

std::int32_t Share(std::int32_t part, std::int64_t whole, std::int32_t amount) {
    return static_cast<std::int32_t>(
        RoundHalfEven(static_cast<double>(part) / static_cast<double>(whole) * amount));
}

void ShareLaunches(const GameState& state, std::int32_t aboard, std::int64_t carrier_total,
                   const std::array<std::int32_t, kLaunchTurns>& from,
                   std::array<std::int32_t, kLaunchTurns>& into) {
    if (carrier_total <= 0) return;
    for (int t = state.Turn - 2; t <= state.Turn; ++t) {
        int k = LaunchIndex(t);
        if (k < 0) continue;
        auto idx = static_cast<std::size_t>(k);
        into[idx] += Share(aboard, carrier_total, from[idx]);
    }
}

}  // namespace

bool TransferShip(GameState& state, int slot, int number, TFleet& source, TFleet& destination) {
    int count = std::clamp(source.ShipCount, 0, kShipSlots);
    if (slot < 0 || slot >= count) return false;
    if (destination.ShipCount < 0 || destination.ShipCount >= kShipSlots) return false;
    const TShip& ship = source.Ships[static_cast<std::size_t>(slot)];

    destination.Active = 1;
    destination.Number = static_cast<std::uint8_t>(number);
    destination.LastSighting = source.LastSighting;

    std::array<std::int64_t, kCategories> totals{};
    std::array<std::int64_t, kCategories> carrier_totals{};
    for (int i = 0; i < count; ++i) {
        const TShip& s = source.Ships[static_cast<std::size_t>(i)];
        bool carrier = state.ShipTypeOf(s) == kCarrier;
        for (std::size_t j = 0; j < kCategories; ++j) {
            totals[j] += s.AircraftAboard[j];
            if (carrier) carrier_totals[j] += s.AircraftAboardAtStart[j];
        }
    }

    for (std::size_t j = 0; j < kCategories; ++j) {
        if (totals[j] <= 0) continue;
        std::int32_t share = Share(ship.AircraftAboard[j], totals[j], source.HangarCounts[j]);
        share = std::min(share, source.HangarCounts[j]);
        destination.HangarCounts[j] += share;
        source.HangarCounts[j] -= share;
    }

    for (std::size_t k = 0; k < kAirUnitSlots; ++k) {
        for (std::size_t j = 0; j < kCategories; ++j) {
            if (carrier_totals[j] <= 0) continue;
            destination.AirUnits[k].Counts[j] +=
                Share(ship.AircraftAboard[j], carrier_totals[j], source.AirUnits[k].Counts[j]);
        }
    }

    ShareLaunches(state, ship.AircraftAboard[0], carrier_totals[0], source.CapLaunched,
                  destination.CapLaunched);
    std::size_t scout = source.Side == 1 ? 1 : 2;
    ShareLaunches(state, ship.AircraftAboard[scout], carrier_totals[scout], source.ScoutLaunched,
                  destination.ScoutLaunched);

    destination.Ships[static_cast<std::size_t>(destination.ShipCount)] = ship;
    if (ship.Speed < destination.Speed) destination.Speed = ship.Speed;
    ++destination.ShipCount;
    destination.Side = source.Side;

    RemoveShip(slot, source);
    return true;
}

}  // namespace velmora
