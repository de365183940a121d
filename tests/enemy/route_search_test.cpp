#include "enemy/route_search.h"

#include <gtest/gtest.h>

#include "chart/geometry.h"
#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;

RoutePath PathOf(std::initializer_list<int> digits) {
    RoutePath path;
    for (int d : digits) path.Append(d);
    return path;
}

TEST(WaypointGridTest, AnchorBelongsToTheUpLeftNeighbour) {
    struct Case {
        GridCell anchor_of;
        GridCell expected;
    };
    for (const Case& c : {Case{{4, 2}, {3, 1}}, Case{{4, 3}, {4, 2}}, Case{{0, 1}, {0, 0}}}) {
        const Point anchor = CellPoint(c.anchor_of);
        EXPECT_EQ(CellOfPoint(anchor.X, anchor.Y), c.expected)
            << c.anchor_of.X << "," << c.anchor_of.Y;
        EXPECT_EQ(NeighbourCell(c.anchor_of, 6), c.expected);
    }
}

TEST(WaypointGridTest, TileCentresAndEdgesFallInTheirOwnTile) {
    for (int v = 0; v < 8; ++v) {
        for (int u = 0; u < 8; ++u) {
            const Point anchor = CellPoint({u, v});
            EXPECT_EQ(CellOfPoint(anchor.X + 30, anchor.Y + 30), (GridCell{u, v}));
            // The left edge of the tile's straight band.
            EXPECT_EQ(CellOfPoint(anchor.X, anchor.Y + 20), (GridCell{u, v}));
        }
    }
}

TEST(WaypointGridTest, NeighboursAreMutualOpposites) {
    for (GridCell cell : {GridCell{5, 4}, GridCell{5, 5}}) {
        for (int d = 1; d <= 6; ++d) {
            EXPECT_EQ(NeighbourCell(NeighbourCell(cell, d), OppositeDirection(d)), cell) << d;
        }
        EXPECT_EQ(NeighbourCell(cell, 0), cell);
    }
}

TEST(WaypointGridTest, ReplayingThreeStaysAndSixMovesTwoCellsUpLeft) {
    const GridCell cell{5, 5};
    const Point waypoint = CellPoint(cell);
    EXPECT_EQ(ReplayStep(waypoint, 3), waypoint);
    EXPECT_EQ(ReplayStep(waypoint, 6), CellPoint(NeighbourCell(NeighbourCell(cell, 6), 6)));
}

TEST(RouteTurnScoreTest, ReversalOneSixAndFirstFiveEarnTheBonus) {
    struct Case {
        int digit, previous, expected;
    };
    for (const Case& c : {Case{1, 6, 100000}, Case{6, 1, 100000}, Case{5, 0, 100000},
                          Case{4, 1, 5000}, Case{3, 3, 8000}, Case{1, 0, 7000}}) {
        EXPECT_EQ(RouteTurnScore(c.digit, c.previous), c.expected)
            << c.digit << " after " << c.previous;
    }
}

TEST(ExploreRoutesTest, StaysWithinFourStepsAndThirtyPathsPerCell) {
    auto state = NewState();
    ResetRouteSearch(*state);
    for (int d = 1; d <= 6; ++d) ExploreRoutes(*state, 20, 20, 5, d, PathOf({d}));
    const RouteSearchGrids& grids = state->RouteSearch;
    int visited = 0;
    int most_paths = 0;
    for (int x = 0; x < kRouteGridSize; ++x) {
        for (int y = 0; y < kRouteGridSize; ++y) {
            if (grids.RouteVisited(x, y) == 0) ++visited;
            most_paths = std::max(most_paths, grids.RoutePathCount(x, y));
        }
    }
    EXPECT_EQ(visited, 61);
    EXPECT_LE(most_paths, 30);
    EXPECT_GT(most_paths, 0);
}

TEST(ExploreRoutesTest, StepsOffTheGridAreCutOff) {
    auto state = NewState();
    ResetRouteSearch(*state);
    for (int d = 1; d <= 6; ++d) ExploreRoutes(*state, 0, 0, 5, d, PathOf({d}));
    const RouteSearchGrids& grids = state->RouteSearch;
    int full_paths = 0;
    for (int x = 0; x < kRouteGridSize; ++x) {
        for (int y = 0; y < kRouteGridSize; ++y) full_paths += grids.RoutePathCount(x, y);
    }
    EXPECT_EQ(grids.RouteVisited(0, 0), 0);
    EXPECT_GT(full_paths, 0);
}

TEST(BestRoutePathTest, FirstOfEqualScoresInCandidateOrderWins) {
    auto state = NewState();
    ResetRouteSearch(*state);
    RouteSearchGrids& grids = state->RouteSearch;
    // Cell (1, 0) comes before (0, 1): y is the outer loop.
    grids.Candidates = {{1, 0}, {0, 1}};
    grids.RoutePathCount(1, 0) = 1;
    grids.RoutePaths(1, 0, 0) = PathOf({4});
    grids.RoutePaths(1, 0, 1) = PathOf({2, 2});
    grids.RoutePaths(0, 1, 0) = PathOf({3, 3});
    auto best = BestRoutePath(grids, [](const RoutePath& p) { return p.Length == 2 ? 9 : 1; });
    EXPECT_EQ(best, PathOf({2, 2}));
    best = BestRoutePath(grids, [](const RoutePath&) { return 0; });
    EXPECT_EQ(best.Length, 0);
}

class PlanRouteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetClass(*state, 1, kCarrier, 100);
        SetClass(*state, 2, kDestroyer, 100);
    }
    TFleet& ComputerFleet(Point position, Point aim) {
        TFleet& fleet = PlaceFleet(*state, 14, position, {2, 2});
        fleet.Number = 14;
        fleet.LastSighting = {aim.X, aim.Y, 5};
        return fleet;
    }
    std::unique_ptr<GameState> state = NewState();
};

TEST_F(PlanRouteTest, HeadsForTheAimPointAlongReplayedAnchors) {
    TFleet& fleet = ComputerFleet({300, 300}, {700, 300});
    PlanRoute(*state, fleet);
    ASSERT_EQ(fleet.RouteLength, 4);
    EXPECT_EQ(fleet.Destination, fleet.Route[0]);
    EXPECT_GT(fleet.Route[0].X, 400);
    // Written newest first: each waypoint is one replayed step from the one
    // steered for before it.
    for (int k = 0; k < fleet.RouteLength; ++k) {
        const Point later = fleet.Route[static_cast<std::size_t>(k)];
        const Point earlier = fleet.Route[static_cast<std::size_t>(k + 1)];
        bool one_step = false;
        for (int d = 0; d <= 6; ++d) one_step = one_step || ReplayStep(earlier, d) == later;
        EXPECT_TRUE(one_step) << k;
    }
}

TEST_F(PlanRouteTest, FleetAtTheTopLeftCornerStillGetsARoute) {
    TFleet& fleet = ComputerFleet({5, 5}, {400, 300});
    PlanRoute(*state, fleet);
    EXPECT_FALSE(state->RouteSearch.Candidates.empty());
    EXPECT_EQ(fleet.RouteLength, 4);
}

TEST_F(PlanRouteTest, NoPathAboveZeroKeepsTheFleetWhereItIs) {
    // An aim point so far to the side that every step scores below zero.
    TFleet& fleet = ComputerFleet({300, 300}, {100000, 300});
    fleet.RouteLength = 3;
    PlanRoute(*state, fleet);
    EXPECT_EQ(fleet.RouteLength, 0);
    EXPECT_EQ(fleet.Destination, fleet.Position);
    EXPECT_EQ(fleet.Route[0], fleet.Position);
}

TEST_F(PlanRouteTest, DetourAndOrdinarySearchesStartInDifferentCells) {
    TFleet& fleet = ComputerFleet({100, 100}, {400, 300});
    PlanRoute(*state, fleet);
    EXPECT_EQ(state->RouteSearch.RouteBudget(3, 3), 4);  // 100 div 30
    fleet.Detour = 1;
    PlanRoute(*state, fleet);
    EXPECT_EQ(state->RouteSearch.RouteBudget(2, 2), 4);  // 100 div 50
    EXPECT_NE(state->RouteSearch.RouteBudget(3, 3), 4);
}

TEST_F(PlanRouteTest, SumsBeyondInt32WrapInsteadOfTrapping) {
    TFleet& fleet = ComputerFleet({400, 300}, {450, 320});
    // Two player fleets between 100 and 200 away multiply every step's sum
    // by 100 twice; the sum wraps instead of trapping.
    PlaceFleet(*state, 0, {550, 300}, {2});
    PlaceFleet(*state, 1, {400, 450}, {2});
    const std::int32_t once = ScoreRoute(*state, PathOf({2}), fleet, {450, 320}, fleet.Position);
    EXPECT_NE(once % 10000, 0);  // multiplied by 10000, less the step cost
    PlanRoute(*state, fleet);
    EXPECT_LE(fleet.RouteLength, 4);
}

}  // namespace
}  // namespace velmora
