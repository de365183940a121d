// Splitting and joining fleets. Every ship that changes fleet carries its
// share of the fleet's hangar; the computer side reorganises with the same
// move.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

// A destination takes ships only up to these limits.
inline constexpr int kMaxShipsAfterMove = 30;
inline constexpr int kMaxCarriersAfterMove = 6;
// A fleet may ask to join only while it has fewer ships than this...
inline constexpr int kJoinAskerShipLimit = 25;
// ...and partners must have fewer than this and lie within kJoinReach.
inline constexpr int kJoinPartnerShipLimit = 30;
inline constexpr double kJoinReach = 16.0;

// The two fleets the reorganisation window works on.
struct ReorganisationPair {
    int Left = 0;
    int Right = 0;
    friend bool operator==(const ReorganisationPair&, const ReorganisationPair&) = default;
};

// "分離": fleet f and the first free fleet slot of the player's side.
// Nothing when f is not a player fleet in play or no slot is free.
std::optional<ReorganisationPair> SplitFleet(const GameState& state, int f);

// The player's fleets that fleet f may join, in index order.
std::vector<int> JoinCandidates(const GameState& state, int f);
// The choice list line of a join candidate: "第" + (q + 1) + "艦隊".
std::string JoinCandidateName(int q);

// "合流": lets the player pick one candidate in the choice list. Nothing when
// f has 25 ships or more, there is no candidate or the player cancels.
std::optional<ReorganisationPair> JoinFleets(const GameState& state, Frontend& ui, int f);

// True when the destination may take one more ship of the source: it keeps
// to 30 ships and 6 carriers, and the slot holds a ship.
bool CanMoveShip(const GameState& state, const TFleet& source, int slot,
                 const TFleet& destination);

// Moves ship `slot` of fleet `source` into fleet `destination` with its
// share of the hangar. False (nothing changed) for a bad index or slot.
bool MoveShipWithAircraft(GameState& state, int slot, int source, int destination);

// A carrier about to leave fleet F takes its share of F's hangar into its
// AircraftAboardAtStart; other ships take nothing.
void ShareCarrierAircraft(GameState& state, TFleet& fleet, int slot);

// The aircraft the ships of F carry in AircraftAboardAtStart go into F's
// hangar.
void StowAircraft(TFleet& fleet);

// True when no air unit of the fleet is ready, converting, out or returning
// (every State below 2).
bool AirUnitsIdle(const TFleet& fleet);

}  // namespace velmora
