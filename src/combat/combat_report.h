// What every combat rule shares when it tells the player: the sound cues,
// the way a ship of the target fleet is named, and whose fleet it is.
#pragma once

#include <string>
#include <string_view>

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

// The sound cues of combat, by their slot in the scenario's effect list.
enum class Cue : int {
    kAttackRun = 1,
    kExplosion = 2,
    kImpact = 5,
    kDefensiveFire = 6,
};

// Starts the cue's sound; a cue the scenario left empty is silent.
void PlayCue(const GameState& state, Frontend& frontend, Cue cue);

bool IsPlayersFleet(const GameState& state, const TFleet& fleet);

// How a report names a ship: the player's ships and installations by name,
// the computer's ships only by class and type ("<class>型<type>").
std::string ShipLabel(const GameState& state, const TFleet& fleet, const TShip& ship);

// 0 for "非ステルス" (and any unknown text), 1 "ステルス", 2 "ビジュアルステルス".
int StealthValue(const AircraftType& type);

// Decimal text of a count, for the report lines.
std::string Num(long long value);

}  // namespace velmora
