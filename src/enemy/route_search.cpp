#include "enemy/route_search.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "air/air_units.h"
#include "chart/geometry.h"
#include "model/rounding.h"
#include "model/ship_counts.h"

namespace velmora {
namespace {

// The scores are int32 sums that wrap as the rules' arithmetic does.
std::int32_t Wrap(std::int64_t v) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}
std::int32_t Add(std::int32_t s, std::int64_t v) {
    return Wrap(static_cast<std::int64_t>(s) + v);
}
std::int32_t Times(std::int32_t s, std::int64_t k) {
    return Wrap(static_cast<std::int64_t>(static_cast<std::uint32_t>(s)) * k);
}

std::int64_t AbsDiff(std::int32_t a, std::int32_t b) {
    return std::llabs(static_cast<std::int64_t>(a) - b);
}
std::int64_t Manhattan(Point a, Point b) {
    return AbsDiff(a.X, b.X) + AbsDiff(a.Y, b.Y);
}

// The pull toward the aim point, written as the rules have it: the
// vertical distance is added, not subtracted.
std::int64_t AimTerm(Point aim, Point w) {
    return (600 - AbsDiff(aim.X, w.X) + AbsDiff(aim.Y, w.Y)) * 100;
}
std::int64_t NearnessTerm(Point aim, Point w) {
    return 1000 * RoundHalfEven(1500.0 - MapDistance(aim, w));
}
std::int64_t TurnTerm(int digit, int previous) {
    return RouteTurnScore(digit, previous);
}

bool HasCarriers(const GameState& state, const TFleet& fleet) {
    return CountShipsByType(state, fleet).Of(kCarrier) > 0;
}
bool IsLivePlayerFleet(const GameState& state, const TFleet& fleet) {
    return fleet.Active && fleet.Side == state.PlayerSide && fleet.Ships[0].Durability != 0;
}

// What a search reads from the rest of the table, gathered once per search:
// it does not change while the paths are scored.
struct ScoringContext {
    int player_fleets_in_band = 0;  // manhattan strictly between 100 and 200
    int player_fleets_close = 0;    // manhattan below 100
    std::vector<Point> carrier_positions;
    std::int32_t strike_range = 0;
};

ScoringContext OrdinaryContext(const GameState& state, const TFleet& fleet) {
    ScoringContext context;
    for (const TFleet& other : state.FleetTable) {
        if (!IsLivePlayerFleet(state, other)) continue;
        const std::int64_t m = Manhattan(fleet.Position, other.Position);
        if (100 < m && m < 200) ++context.player_fleets_in_band;
        if (m < 100) ++context.player_fleets_close;
    }
    for (int i = 0; i < kFleetCount; ++i) {
        const TFleet& other = state.FleetTable[static_cast<std::size_t>(i)];
        if (!other.Active || other.Side != fleet.Side || i == fleet.Number) continue;
        if (HasCarriers(state, other)) context.carrier_positions.push_back(other.Position);
    }
    return context;
}

ScoringContext DetourContext(const GameState& state) {
    ScoringContext context;
    for (const TFleet& other : state.FleetTable) {
        if (!other.Active || other.Side != state.ComputerSide) continue;
        if (HasCarriers(state, other)) context.carrier_positions.push_back(other.Position);
    }
    context.strike_range = StrikeRange(state, state.FleetTable[13].AirUnits[0]);
    return context;
}

std::int32_t ScoreOrdinary(const RoutePath& path, Point aim, Point start,
                           const ScoringContext& context) {
    std::int32_t s = 0;
    Point w = start;
    int previous = 0;
    for (int k = 0; k < path.Length; ++k) {
        const int d = path[k];
        s = Add(s, TurnTerm(d, previous));
        previous = d;
        w = ReplayStep(w, d);
        s = Add(s, AimTerm(aim, w));
        s = Add(s, NearnessTerm(aim, w));
        const std::int64_t m = Manhattan(aim, w);
        const bool in_band = 100 < m && m < 200;
        if (in_band) s = Add(s, 1000);
        const int sector = SectorOf(aim, w, 400);
        if (sector == 1 || sector == 2) s = Add(s, 1000);
        if (sector >= 3 && sector <= 6 && in_band) s = Times(s, 2);
        if (m < 100) s /= 3;
        for (int i = 0; i < context.player_fleets_in_band; ++i) s = Times(s, 100);
        for (Point carrier : context.carrier_positions) {
            const double distance = MapDistance(w, carrier);
            s = Add(s, RoundHalfEven(800.0 - 100.0 * distance));
            if (distance < 80) s /= 10;
        }
        for (int i = 0; i < context.player_fleets_close; ++i) s /= 3;
        if (!OnMapPicture(w)) s /= 10;
    }
    return Add(s, -10000 * static_cast<std::int64_t>(path.Length));
}

std::int32_t ScoreDetour(const RoutePath& path, Point aim, Point start,
                         const ScoringContext& context) {
    std::int32_t s = 0;
    Point w = start;
    int previous = 0;
    for (int k = 0; k < path.Length; ++k) {
        const int d = path[k];
        s = Add(s, TurnTerm(d, previous));
        previous = d;
        w = ReplayStep(w, d);
        for (Point carrier : context.carrier_positions) {
            const double distance = MapDistance(w, carrier);
            s = Add(s, RoundHalfEven(1500.0 - 100.0 * distance));
            if (distance < 80) s /= 10;
        }
        s = Add(s, NearnessTerm(aim, w) + AimTerm(aim, w));
        const std::int64_t m = Manhattan(aim, w);
        if (m > 100 && m < context.strike_range) s = Add(s, 1000);
        const int sector = SectorOf(aim, w, 400);
        if (sector == 1 || sector == 2) {
            s = Add(s, 1000);
            if (100 < m && m < 200) s = Times(s, 2);
        }
        if (m < 100) s /= 3;
        if (!OnMapPicture(w)) s /= 10;
    }
    return Add(s, -10000 * static_cast<std::int64_t>(path.Length));
}

void CollectCandidates(RouteSearchGrids& grids) {
    for (int y = 0; y < kRouteGridSize; ++y) {
        for (int x = 0; x < kRouteGridSize; ++x) {
            if (grids.RouteVisited(x, y) != 0) continue;
            if (static_cast<int>(grids.Candidates.size()) >= kRouteCandidateSlots) return;
            grids.Candidates.push_back({x, y});
        }
    }
}

}  // namespace

GridCell NeighbourCell(GridCell cell, int direction) {
    const int x = cell.X;
    const int y = cell.Y;
    const int e = (y % 2 != 0) ? x + 1 : x;
    switch (direction) {
        case 1:
            return {e, y - 1};
        case 2:
            return {x + 1, y};
        case 3:
            return {e, y + 1};
        case 4:
            return {e - 1, y + 1};
        case 5:
            return {x - 1, y};
        case 6:
            return {e - 1, y - 1};
        default:
            return cell;
    }
}

int OppositeDirection(int direction) {
    if (direction < 1 || direction > 6) return 0;
    return direction <= 3 ? direction + 3 : direction - 3;
}

bool InsideTileMask(int px, int py) {
    if (px < 0 || py < 0 || px >= kTileWidth || py >= kTileWidth) return false;
    if (py < 15) return 29 - 2 * py <= px && px <= 30 + 2 * py;
    if (py > 44) return 29 - 2 * (59 - py) <= px && px <= 30 + 2 * (59 - py);
    return true;
}

GridCell CellOfPoint(int x, int y) {
    const int v = y / kTileRowHeight;
    const int shift = (v % 2 != 0) ? kOddRowShift : 0;
    const int u = (x - shift) / kTileWidth;
    const int px = (x - shift) % kTileWidth;
    const int py = y % kTileRowHeight;
    if (InsideTileMask(px, py)) return {u, v};
    // A top corner of the tile: it belongs to the row above.
    if (v % 2 != 0) {
        return InsideTileMask(px + kOddRowShift, py + kTileRowHeight) ? GridCell{u, v - 1}
                                                                      : GridCell{u + 1, v - 1};
    }
    return (30 <= px && px <= 60) ? GridCell{u, v - 1} : GridCell{u - 1, v - 1};
}

Point CellPoint(GridCell cell) {
    const int shift = (cell.Y % 2 != 0) ? kOddRowShift : 0;
    return {kTileWidth * cell.X + shift, kTileRowHeight * cell.Y};
}

Point ReplayStep(Point from, int direction) {
    return CellPoint(NeighbourCell(CellOfPoint(from.X, from.Y), direction));
}

void ResetRouteSearch(GameState& state) {
    RouteSearchGrids& grids = state.RouteSearch;
    for (int x = 0; x < kRouteGridSize; ++x) {
        for (int y = 0; y < kRouteGridSize; ++y) {
            for (int slot = 0; slot < kRoutePathSlots; ++slot) grids.RoutePaths(x, y, slot) = {};
            grids.RoutePathCount(x, y) = 0;
            grids.RouteVisited(x, y) = -1;
            grids.RouteBudget(x, y) = 0;
        }
    }
    grids.Candidates.clear();
}

void ExploreRoutes(GameState& state, int x, int y, int budget, int incoming,
                   const RoutePath& path) {
    constexpr int kLastStepCell = 49;
    if (x < 0 || y < 0 || x > kLastStepCell || y > kLastStepCell) return;
    RouteSearchGrids& grids = state.RouteSearch;
    if (grids.RouteBudget(x, y) >= budget) return;
    std::int32_t& count = grids.RoutePathCount(x, y);
    if (budget == 1) ++count;
    grids.RouteBudget(x, y) = budget - 1;
    grids.RouteVisited(x, y) = 0;
    if (count >= 0 && count < kRoutePathSlots) grids.RoutePaths(x, y, count) = path;
    if (path.Length >= kRoutePathDigits) return;
    const int back = OppositeDirection(incoming);
    for (int d = 1; d <= 6; ++d) {
        if (d == back) continue;
        RoutePath longer = path;
        longer.Append(d);
        const GridCell next = NeighbourCell({x, y}, d);
        ExploreRoutes(state, next.X, next.Y, budget - 1, d, longer);
    }
}

std::int32_t RouteTurnScore(int digit, int previous) {
    const int t = std::abs(digit - previous);
    return t == 5 ? 100000 : (8 - t) * 1000;
}

RoutePath BestRoutePath(const RouteSearchGrids& grids,
                        const std::function<std::int32_t(const RoutePath&)>& score) {
    RoutePath best;
    std::int32_t best_score = 0;
    for (const RouteCell& cell : grids.Candidates) {
        const int last_slot = std::min(grids.RoutePathCount(cell.X, cell.Y), kRoutePathSlots - 1);
        for (int slot = 0; slot <= last_slot; ++slot) {
            const RoutePath& path = grids.RoutePaths(cell.X, cell.Y, slot);
            const std::int32_t value = score(path);
            if (value > best_score) {
                best_score = value;
                best = path;
            }
        }
    }
    return best;
}

std::int32_t ScoreRoute(const GameState& state, const RoutePath& path, const TFleet& fleet,
                        Point aim, Point start) {
    return ScoreOrdinary(path, aim, start, OrdinaryContext(state, fleet));
}

std::int32_t ScoreDetourRoute(const GameState& state, const RoutePath& path, Point aim,
                              Point start) {
    return ScoreDetour(path, aim, start, DetourContext(state));
}

void PlanRoute(GameState& state, TFleet& fleet) {
    ResetRouteSearch(state);
    const int cell = fleet.Detour == 0 ? kOrdinaryStepCell : kDetourStepCell;
    const int x = fleet.Position.X / cell;
    const int y = fleet.Position.Y / cell;
    for (int d = 1; d <= 6; ++d) {
        RoutePath label;
        label.Append(d);
        ExploreRoutes(state, x, y, kRouteSearchSteps, d, label);
    }
    CollectCandidates(state.RouteSearch);
    const Point aim{fleet.LastSighting[0], fleet.LastSighting[1]};
    RoutePath best;
    if (fleet.Detour == 0) {
        const ScoringContext context = OrdinaryContext(state, fleet);
        best = BestRoutePath(state.RouteSearch, [&](const RoutePath& path) {
            return ScoreOrdinary(path, aim, fleet.Position, context);
        });
    } else {
        const ScoringContext context = DetourContext(state);
        best = BestRoutePath(state.RouteSearch, [&](const RoutePath& path) {
            return ScoreDetour(path, aim, fleet.Position, context);
        });
    }

    if (best.Length == 0) {
        fleet.Destination = fleet.Position;
        fleet.Route[0] = fleet.Position;
        fleet.RouteLength = 0;
        return;
    }
    const int n = best.Length;
    Point w = fleet.Position;
    for (int k = 1; k <= n; ++k) {
        w = ReplayStep(w, best[k - 1]);
        fleet.Route[static_cast<std::size_t>(n - k)] = w;
    }
    fleet.RouteLength = n - 1;
    fleet.Destination = fleet.Route[0];
}

}  // namespace velmora
