#include "chart/movement.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "chart/geometry.h"
#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::FillLand;
using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;
using testing::SetRoute;

struct RouteCase {
    const char* name;
    std::vector<Point> oldest_first;
    Point expected;
    int expected_length;
};

class FleetRoute : public ::testing::TestWithParam<RouteCase> {};

TEST_P(FleetRoute, SpeedThirtyFromHundredHundred) {
    const RouteCase& c = GetParam();
    auto state = NewState();
    TFleet& fleet = PlaceFleet(*state, 0, {100, 100}, {}, 30);
    SetRoute(fleet, c.oldest_first);
    MoveFleets(*state);
    EXPECT_EQ(fleet.Position, c.expected);
    EXPECT_EQ(fleet.RouteLength, c.expected_length);
}

INSTANTIATE_TEST_SUITE_P(
    Waypoints, FleetRoute,
    ::testing::Values(
        RouteCase{"FarWaypoint", {{200, 100}}, {130, 100}, 1},
        RouteCase{"Diagonal", {{200, 200}}, {121, 121}, 1},
        // The last waypoint within reach: the fleet stops short of it.
        RouteCase{"LastWaypointInReach", {{120, 105}}, {100, 100}, 1},
        RouteCase{"OnTheWaypoint", {{100, 100}}, {100, 100}, 1},
        // The oldest is in reach; the scan stops at the next one beyond reach,
        // consumes it too, and steps toward it.
        RouteCase{"ScanToFarWaypoint", {{110, 100}, {300, 100}}, {130, 100}, 0},
        RouteCase{"ScanStopsInTheMiddle", {{110, 100}, {100, 300}, {500, 500}}, {100, 130}, 1},
        // All waypoints in reach: the scan ends on the newest, which is the point.
        RouteCase{"AllInReachEndsOnPoint", {{110, 100}, {100, 100}}, {100, 100}, 0},
        RouteCase{"NoWaypoint", {}, {100, 100}, 0}),
    [](const auto& info) { return info.param.name; });

TEST(MoveFleets, FleetWithoutWaypointsTakesItsDestinationWhenInReach) {
    struct Case {
        Point destination;
        Point expected;
    };
    for (const Case& c : {Case{{120, 100}, {120, 100}}, Case{{200, 100}, {100, 100}},
                          Case{{0, 110}, {100, 100}}, Case{{110, 0}, {100, 100}}}) {
        auto state = NewState();
        TFleet& fleet = PlaceFleet(*state, 14, {100, 100}, {}, 30);
        fleet.Destination = c.destination;
        MoveFleets(*state);
        EXPECT_EQ(fleet.Position, c.expected) << c.destination.X << "," << c.destination.Y;
    }
}

TEST(MoveFleets, RouteLengthFromABrokenRecordStaysInsideTheRoute) {
    auto state = NewState();
    TFleet& fleet = PlaceFleet(*state, 0, {100, 100}, {}, 30);
    fleet.Route[kRouteSlots - 1] = {100, 300};
    fleet.RouteLength = 9999;
    MoveFleets(*state);
    EXPECT_EQ(fleet.Position, (Point{100, 130}));

    fleet.RouteLength = -5;
    MoveFleets(*state);
    EXPECT_EQ(fleet.Position, (Point{100, 130}));
}

TEST(MoveFleets, BasesAndInactiveFleetsStay) {
    auto state = NewState();
    SetClass(*state, 1, kGroundBase, 100);
    TFleet& base = PlaceFleet(*state, 12, {100, 100}, {1}, 30);
    SetRoute(base, {{300, 100}});
    TFleet& idle = PlaceFleet(*state, 1, {100, 100}, {}, 30);
    SetRoute(idle, {{300, 100}});
    idle.Active = 0;
    MoveFleets(*state);
    EXPECT_EQ(base.Position, (Point{100, 100}));
    EXPECT_EQ(idle.Position, (Point{100, 100}));
}

TEST(MoveFleets, MarkerOfSpeedTwentyMovesTwentyNinePixelsAndJumpsBelowForty) {
    struct Case {
        Point goal;
        Point expected;
    };
    for (const Case& c : {Case{{200, 100}, {129, 100}}, Case{{140, 100}, {129, 100}},
                          Case{{139, 100}, {139, 100}}, Case{{100, 100}, {100, 100}}}) {
        auto state = NewState();
        TFleet& marker = state->ContactTable[3];
        marker.Active = 1;
        marker.Speed = 20;
        marker.Position = {100, 100};
        marker.Destination = c.goal;
        MoveFleets(*state);
        EXPECT_EQ(marker.Position, c.expected) << "goal x " << c.goal.X;
    }
}

TEST(MoveFleets, StepAcrossLandBecomesADetour) {
    auto state = NewState();
    FillLand(*state, 110, 80, 150, 120);
    TFleet& fleet = PlaceFleet(*state, 0, {100, 100}, {}, 30);
    SetRoute(fleet, {{200, 100}});
    MoveFleets(*state);
    EXPECT_NE(fleet.Position, (Point{100, 100}));
    EXPECT_FALSE(state->LandMask.IsLand(fleet.Position.X, fleet.Position.Y));
    EXPECT_EQ(LandOnLine(*state, 100, 100, fleet.Position.X, fleet.Position.Y), 0);
    EXPECT_EQ(fleet.RouteLength, 1);
}

class Detour : public ::testing::Test {
  protected:
    void SetUp() override {
        state = NewState();
        fleet = &PlaceFleet(*state, 0, {100, 100}, {}, 30);
    }
    std::unique_ptr<GameState> state;
    TFleet* fleet = nullptr;
};

TEST_F(Detour, ProbesAroundABlockTowardTheGoal) {
    FillLand(*state, 110, 60, 150, 140);
    DetourStep(*state, *fleet, {30, 0}, {200, 100});
    const Point p = fleet->Position;
    EXPECT_FALSE(state->LandMask.IsLand(p.X, p.Y));
    EXPECT_EQ(LandOnLine(*state, 100, 100, p.X, p.Y), 0);
    const double moved = MapDistance({100, 100}, p);
    EXPECT_GT(moved, 8.0);
    EXPECT_LE(moved, 10.0);
    // The best probe points lie past the block's corners, so the step leans
    // east-north-east or east-south-east rather than away from the goal.
    EXPECT_GT(p.X, 100);
}

TEST_F(Detour, TakesAStepThatEndsAtSeaEvenAcrossAThinWall) {
    FillLand(*state, 115, 0, 115, 200);
    DetourStep(*state, *fleet, {30, 0}, {200, 100});
    EXPECT_EQ(fleet->Position, (Point{130, 100}));
}

TEST_F(Detour, StaysWhenTheStepLeavesTheMap) {
    fleet->Position = {780, 100};
    DetourStep(*state, *fleet, {30, 0}, {900, 100});
    EXPECT_EQ(fleet->Position, (Point{780, 100}));
}

TEST_F(Detour, StaysWhenLandIsAllAround) {
    FillLand(*state, 0, 0, 300, 300);
    state->LandMask.Set(100, 100, false);
    DetourStep(*state, *fleet, {30, 0}, {200, 100});
    EXPECT_EQ(fleet->Position, (Point{100, 100}));
}

TEST_F(Detour, NeverMovesOntoTheOrigin) {
    fleet->Position = {10, 0};
    DetourStep(*state, *fleet, {-10, 0}, {0, 0});
    EXPECT_EQ(fleet->Position, (Point{10, 0}));
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

// The probe search written out plainly, to hold the fast one to it.
Point PlainDetour(const GameState& state, Point here, Point step, Point goal) {
    Point p{here.X + step.X, here.Y + step.Y};
    if (!OnMapPicture(p)) p = here;
    if (state.LandMask.IsLand(p.X, p.Y)) {
        bool found = false;
        long best = 0;
        Point winner = here;
        for (int a = 1; a <= 359; ++a) {
            for (int r = 5; r <= 100; ++r) {
                Point c = PolarOffset(here.X, here.Y, a, r);
                Point s = StepToward(here.X, here.Y, c.X, c.Y, 10);
                if (LandOnLine(state, here.X, here.Y, s.X, s.Y) != 0) continue;
                long score = std::labs(goal.X - c.X) + std::labs(goal.Y - c.Y);
                if (!found || score < best) {
                    found = true;
                    best = score;
                    winner = s;
                }
            }
        }
        p = OnMapPicture(winner) ? winner : here;
    }
    return (p.X == 0 && p.Y == 0) ? here : p;
}

TEST(DetourSearch, AgreesWithThePlainProbeSearchOnARaggedCoast) {
    auto state = NewState();
    // A ragged coast with inlets and islands.
    for (int x = 0; x <= kMapWidth; ++x) {
        for (int y = 0; y <= kMapHeight; ++y) {
            bool land = ((x * 7 + y * 3) % 23 < 9 && (x / 17 + y / 13) % 3 == 0) ||
                        (x > 300 && x < 330 && y % 40 > 5);
            state->LandMask.Set(x, y, land);
        }
    }
    const Point goals[] = {{700, 300}, {20, 20}, {315, 540}};
    int probed = 0;
    for (int x = 250; x <= 380; x += 13) {
        for (int y = 21; y <= 500; y += 37) {
            if (state->LandMask.IsLand(x, y)) continue;
            for (Point goal : goals) {
                TFleet fleet;
                fleet.Position = {x, y};
                Point step = StepToward(x, y, goal.X, goal.Y, 30);
                step = {step.X - x, step.Y - y};
                if (state->LandMask.IsLand(x + step.X, y + step.Y)) ++probed;
                DetourStep(*state, fleet, step, goal);
                ASSERT_EQ(fleet.Position, PlainDetour(*state, {x, y}, step, goal))
                    << "from " << x << "," << y << " to " << goal.X << "," << goal.Y;
            }
        }
    }
    EXPECT_GT(probed, 20);  // enough of the cases go through the probe search
}

}  // namespace
}  // namespace velmora
