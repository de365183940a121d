// One attack on a fleet by weapons from beyond its screen: a ship-launched
// missile salvo or an air strike that has come through the patrol. Both go
// the same way: the ships to engage, the fleet's area defence, the shares
// of each engaged ship, its point defence, the hit rolls and the damage.
#pragma once

#include <cstdint>
#include <string_view>

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

// Index of the aircraft (or missile) type whose key name is `key`; -1 when
// no entry has it.
int FindAircraftType(const GameState& state, std::string_view key);

enum class InterceptMode : int { kMissiles = 0, kAircraft = 1 };

// Defensive fire of `defender` with `shots` shots at `count` incoming
// weapons or aircraft of type `type`: lowers count (never below 0), keeps
// InterceptTally and reports. The player's fire is credited with up to
// half again of what it stopped.
void InterceptIncoming(GameState& state, Frontend& frontend, std::int32_t& count,
                       const TFleet& defender, int type, std::int64_t shots, InterceptMode mode);

// The fleet's missile salvo (already prepared, its TargetGroup and
// TargetRequest chosen) against `target`. The salvo record is written back
// when the group is 6 or 7, its slot-1 count lowered by area defence.
void LaunchFleetMissiles(GameState& state, Frontend& frontend, TAirUnit& salvo, TFleet& target);

// A strike of `attacker` that came through air combat attacks `target`.
// The player chooses the ships in the attack target window; the computer
// by ChooseAttackTargets. A bombing strike's record is written back with
// the aircraft that area defence left.
void DeliverAirStrike(GameState& state, Frontend& frontend, const TFleet& attacker,
                      TAirUnit& strike, TFleet& target);

}  // namespace velmora
