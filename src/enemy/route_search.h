// The computer's route search: short direction paths around a fleet are
// enumerated on a step grid, scored, and the best is replayed on the
// hexagonal waypoint grid into the fleet's waypoints.
#pragma once

#include <cstdint>
#include <functional>

#include "model/game_state.h"
#include "model/route_grids.h"

namespace velmora {

// A cell of either grid.
struct GridCell {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const GridCell&, const GridCell&) = default;
};

// Waypoint tiles are 60 x 60 pixels in rows 44 apart, odd rows shifted 29
// to the right.
inline constexpr int kTileWidth = 60;
inline constexpr int kTileRowHeight = 44;
inline constexpr int kOddRowShift = 29;

// Step-grid cell sizes of the ordinary and the detour search.
inline constexpr int kOrdinaryStepCell = 30;
inline constexpr int kDetourStepCell = 50;
inline constexpr int kRouteSearchSteps = 5;

// The neighbour of a cell in direction 1..6 (clockwise from up-right);
// direction 0 (or any other) leaves the cell where it is.
GridCell NeighbourCell(GridCell cell, int direction);
// 1-4, 2-5, 3-6.
int OppositeDirection(int direction);

// True when pixel (px, py) of a 60 x 60 tile lies inside its hexagon.
bool InsideTileMask(int px, int py);

// The waypoint cell holding a map point, and the anchor (top-left corner)
// of a cell's tile. An anchor lies in its own tile's top-left corner, which
// belongs to the up-left neighbour.
GridCell CellOfPoint(int x, int y);
Point CellPoint(GridCell cell);

// One step of path replay: into the neighbour, in direction d, of the cell
// holding `from`; the result is that cell's anchor.
Point ReplayStep(Point from, int direction);

void ResetRouteSearch(GameState& state);
// Enumerates the paths from step-grid cell (x, y) with the given step
// budget, coming in by `incoming` (whose opposite is not explored).
void ExploreRoutes(GameState& state, int x, int y, int budget, int incoming, const RoutePath& path);

// The turn term of one digit after the previous one (0 before the first):
// a reversal between directions 1 and 6, or a first digit 5, earns 100000.
std::int32_t RouteTurnScore(int digit, int previous);

std::int32_t ScoreRoute(const GameState& state, const RoutePath& path, const TFleet& fleet,
                        Point aim, Point start);
std::int32_t ScoreDetourRoute(const GameState& state, const RoutePath& path, Point aim,
                              Point start);

// The first stored path, in candidate order (y outer, x inner) and slot
// order, that scores strictly above every earlier one and above 0; empty
// when none does.
RoutePath BestRoutePath(const RouteSearchGrids& grids,
                        const std::function<std::int32_t(const RoutePath&)>& score);

// Searches and scores the paths around the fleet and writes the best as its
// route; a fleet with no path worth taking stays where it is.
void PlanRoute(GameState& state, TFleet& fleet);

}  // namespace velmora
