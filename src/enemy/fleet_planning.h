// The computer side's fleet planning: target and aim point, where each fleet
// sails, scuttling, splitting and merging, and the contact markers that stand
// for its fleets on the player's map.
#pragma once

#include <array>

#include "model/game_state.h"

namespace velmora {

// The bounds of the points the computer draws at random.
inline constexpr int kComputerPointMaxX = 790;
inline constexpr int kComputerPointMaxY = 545;
// A ship slower than this is scuttled; one slower than kSlowShipSpeed sails
// in a fleet of its own.
inline constexpr int kScuttleSpeed = 5;
inline constexpr int kSlowShipSpeed = 10;
// Fleets closer than this merge.
inline constexpr double kMergeDistance = 10.0;
inline constexpr int kMarkerScatterRange = 30;

// The point on the bottom edge of the map below x.
Point SouthEdgePoint(int x);

// Where fleet a would be after `steps` turns sailing toward fleet b: it
// stops once b lies within the strike range of its first air unit.
Point AdvanceTowards(const GameState& state, const TFleet& a, const TFleet& b, int steps);

// Chooses fleet F's target among the player's detected fleets and its aim
// point (LastSighting), ageing the aim point while nothing is in sight.
void ChooseComputerTarget(GameState& state, int fleet_index);

// The turn step's re-plan after a new target was chosen.
void PlanAttack(GameState& state, int fleet_index);

// Places the contact markers that track the fleet around its destination.
void ScatterMarkers(GameState& state, int fleet_index);

using FleetFlags = std::array<bool, kFleetCount>;

// Joins computer fleets that meet. A fleet split off in this turn step
// (flagged) does not merge back at once, which would undo the split.
void MergeComputerFleets(GameState& state, const FleetFlags& split_now = {});

}  // namespace velmora
