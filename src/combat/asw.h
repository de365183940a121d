// Anti-submarine data and the choice of an ASW target. No turn step reads
// what these orders record; the values are kept, shown and saved.
#pragma once

#include <string>
#include <vector>

#include "model/game_state.h"

namespace velmora {

inline constexpr double kAswPickRadius = 16.0;
// A real fleet closer than this is in reach whatever the aircraft's range;
// a contact marker only closer than kAswMarkerReach.
inline constexpr double kAswFleetReach = 200.0;
inline constexpr double kAswMarkerReach = 10.0;
// The list index of a contact marker: it names no real fleet.
inline constexpr int kAswMarkerTarget = 25;
inline constexpr int kNoAswTarget = -1;

// The positive ASW aircraft (category 5) aboard the fleet's ships.
int AswAircraftAboard(const TFleet& fleet);

// The range of the fleet's ASW aircraft type.
int AswRange(const GameState& state, const TFleet& fleet);

// A computer fleet or marker near a clicked point that the player has found.
struct AswCandidate {
    std::string Name;  // its designation
    int Index = kAswMarkerTarget;
    bool InRange = false;
    friend bool operator==(const AswCandidate&, const AswCandidate&) = default;
};

// Candidates around p for the ASW attack of fleet `from`: the computer's
// detected fleets in index order, then its detected contact markers.
std::vector<AswCandidate> AswCandidates(const GameState& state, const TFleet& from, Point p);

}  // namespace velmora
