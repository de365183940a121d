// Air units: the state machine every strike group runs through, the deck
// states that gate take-off and landing, and the counts the other air rules
// and the computer side read.
#pragma once

#include <array>
#include <cstdint>

#include "model/game_state.h"
#include "model/records.h"

namespace velmora {

// Air-unit states (AirStateLabels).
enum AirUnitState : std::uint8_t {
    kAirIdle = 0,
    kAirServicing = 1,
    kAirReady = 2,
    kAirRearming1 = 3,
    kAirRearming2 = 4,
    kAirOutbound = 5,
    kAirReturning = 6,
    kAirDestroyed = 7,
};

// Aircraft categories of every count array.
enum AircraftCategory : int { kFighters = 0, kAttackers = 1, kScouts = 2 };

// Deck states of a ship.
enum DeckStateValue : std::uint8_t {
    kDeckNormal = 0,
    kDeckNoLanding = 1,
    kDeckNoTakeOff = 2,
    kDeckNeither = 3,
};

// The strike groups the player sees are the first four air units.
inline constexpr int kStrikeGroups = 4;
inline constexpr int kNoStrikeRange = 999;
// The fleet number whose deck capacity is fixed (the land base's airfield).
inline constexpr int kFixedDeckFleet = 7;
inline constexpr int kFixedDeckCapacity = 120;

// The byte an air unit keeps for an aircraft type index; 255 (no type) for
// an index outside the table, so a wrong index never names another type.
std::uint8_t AircraftTypeByte(int index);

bool CanTakeOff(std::uint8_t deck_state);
bool CanLand(std::uint8_t deck_state);

// Aircraft aloft in turn t from a launch array: the launches of t-2, t-1
// and t. Turns before 0 count as nothing; turns past 200 wrap.
int AircraftAloft(const std::array<std::int32_t, kLaunchTurns>& launched, int turn);
// The launch entry of a turn, or nullptr for a turn before 0.
std::int32_t* LaunchEntry(std::array<std::int32_t, kLaunchTurns>& launched, int turn);

// Each air unit moves one step on: servicing to ready, re-arming on, a strike
// out to returning, returning to idle. Every fleet, in play or not.
void AdvanceAirUnits(GameState& state);

// Counts[0] + Counts[1] + Counts[2] of an air unit.
int UnitAircraft(const TAirUnit& unit);

// The strike radius: the smallest Range of the unit's non-empty categories
// 0..2; 999 for an empty unit.
int StrikeRange(const GameState& state, const TAirUnit& unit);

int DeckStandbyCapacity(const TFleet& fleet);
int LandingCapacity(const TFleet& fleet);
int HangarCapacity(const TFleet& fleet);
int AircraftOnDeck(const TFleet& fleet);
int HangarTotal(const TFleet& fleet);
int FighterTotal(const GameState& state, const TFleet& fleet);
int AttackerTotal(const GameState& state, const TFleet& fleet);
int ScoutTotal(const GameState& state, const TFleet& fleet);
int ReadyGroupCount(const TFleet& fleet);

}  // namespace velmora
