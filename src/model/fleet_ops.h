// Elementary operations on fleets shared by many rules.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "model/game_state.h"

namespace velmora {

// Side-file columns 3 to 11 of one ship.
struct SideFileValues {
    std::int32_t Supplies = 0;
    std::int32_t SuppressionResistance = 0;
    std::int32_t FireControl = 0;
    std::array<std::int32_t, 3> Aircraft{};      // columns 6, 8, 10
    std::array<std::int32_t, 3> AircraftType{};  // columns 7, 9, 11
};

std::uint8_t OtherSide(const GameState& state, std::uint8_t side);

// True when any ship of the fleet is of an installation class (base, AA site).
bool FleetHasInstallation(const GameState& state, const TFleet& fleet);

// First class 0..ShipClassLast with exactly this name; 0 when none matches.
int ClassIndexByName(const GameState& state, std::string_view name);

// Appends a ship of class c; false (nothing changed) when all 41 slots are used.
bool AddShip(const GameState& state, TFleet& fleet, int class_index, std::string_view name,
             const SideFileValues& values);

// Closes the gap left by the ship in slot s; returns the new fleet speed
// (231 for a fleet left empty, 999 kept in a byte).
std::uint8_t RemoveShip(int slot, TFleet& fleet);

void ClearFleets(GameState& state);

// Moves ship s of source into destination with its share of the air arm.
// False (nothing changed) when the slot is empty or the destination is full.
bool TransferShip(GameState& state, int slot, int number, TFleet& source, TFleet& destination);

// Index into the 201-entry launch arrays for a turn number; -1 for a
// negative turn. Turns past 200 wrap.
int LaunchIndex(int turn);

}  // namespace velmora
