#include "enemy/fleet_planning.h"

#include <gtest/gtest.h>

#include "enemy/enemy_turn.h"
#include "frontend/recording_frontend.h"
#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;

enum Classes { kCarrierClass = 1, kDestroyerClass, kTransportClass, kBaseClass, kBattleshipClass };

class FleetPlanningTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetClass(*state, kCarrierClass, kCarrier, 100);
        SetClass(*state, kDestroyerClass, kDestroyer, 30);
        SetClass(*state, kTransportClass, kTransport, 20);
        SetClass(*state, kBaseClass, kGroundBase, 500);
        SetClass(*state, kBattleshipClass, kBattleship, 100);
        state->Turn = 3;
        state->Hour = 10;
    }
    TFleet& Computer(int index, Point at, const std::vector<int>& classes) {
        TFleet& fleet = PlaceFleet(*state, index, at, classes);
        fleet.Number = static_cast<std::uint8_t>(index);
        fleet.LastSighting = {at.X, at.Y, state->Turn};
        fleet.RouteLength = 2;
        return fleet;
    }
    void Orders() { ComputerFleetOrders(*state, frontend); }

    std::unique_ptr<GameState> state = NewState();
    RecordingFrontend frontend;
};

TEST_F(FleetPlanningTest, ShipsSlowerThanFiveAreScuttledAndScoreForThePlayer) {
    TFleet& fleet = Computer(14, {400, 300}, {kDestroyerClass, kDestroyerClass});
    fleet.Ships[1].Speed = 4;
    Orders();
    EXPECT_EQ(fleet.ShipCount, 1);
    EXPECT_EQ(fleet.Ships[0].Speed, 30);
    EXPECT_EQ(state->ScuttleTally[1], 10);  // a destroyer of class durability 30

    fleet.Ships[0].Speed = 4;
    Orders();
    EXPECT_EQ(fleet.ShipCount, 0);
    EXPECT_EQ(fleet.Active, 0);
    EXPECT_EQ(state->ScuttleTally[1], 20);
}

TEST_F(FleetPlanningTest, AfterHourEighteenCarriersSailForTheSouthEdge) {
    TFleet& fleet = Computer(14, {400, 300}, {kCarrierClass, kDestroyerClass});
    fleet.Route[1] = {100, 100};
    state->Hour = 19;
    Orders();
    EXPECT_EQ(fleet.Destination, (Point{400, kMapHeight}));
    EXPECT_EQ(fleet.Route[0], fleet.Destination);
    EXPECT_EQ(fleet.RouteLength, 1);
}

TEST_F(FleetPlanningTest, TransportsSailForTheBaseWithSuppliesAndSouthOfItWithout) {
    Computer(13, {600, 200}, {kBaseClass});
    TFleet& convoy = Computer(14, {100, 100}, {kTransportClass});
    convoy.Ships[0].Supplies = 10;
    PlanComputerFleet(*state, 14);
    EXPECT_EQ(convoy.Destination, (Point{600, 200}));
    EXPECT_EQ(convoy.RouteLength, 1);

    convoy.Ships[0].Supplies = 0;
    PlanComputerFleet(*state, 14);
    EXPECT_EQ(convoy.Destination, (Point{600, kMapHeight}));
    EXPECT_EQ(convoy.Route[0], convoy.Destination);
}

TEST_F(FleetPlanningTest, LoadedTransportsKeepSailingThroughTheTurnStep) {
    Computer(13, {600, 200}, {kBaseClass});
    TFleet& convoy = Computer(14, {100, 100}, {kTransportClass});
    convoy.Ships[0].Supplies = 10;
    convoy.RouteLength = 0;
    Orders();
    EXPECT_EQ(convoy.Destination, (Point{600, 200}));
    EXPECT_EQ(convoy.RouteLength, 1);
    // Within one turn's reach the waypoint goes, so that the convoy settles
    // on the base instead of stopping short of it.
    convoy.Position = {590, 195};
    Orders();
    EXPECT_EQ(convoy.Destination, (Point{600, 200}));
    EXPECT_EQ(convoy.RouteLength, 0);
}

TEST_F(FleetPlanningTest, FleetsCloserThanTenMergeAndTheEmptiedOneLeavesPlay) {
    Computer(14, {400, 300}, {kDestroyerClass, kDestroyerClass});
    Computer(15, {405, 303}, {kDestroyerClass});
    MergeComputerFleets(*state);
    // Fleet 14 (outer loop) pours its ships into fleet 15.
    EXPECT_EQ(state->FleetTable[14].Active, 0);
    EXPECT_EQ(state->FleetTable[15].Active, 1);
    EXPECT_EQ(state->FleetTable[15].ShipCount, 3);
}

TEST_F(FleetPlanningTest, FleetsWithTransportsOrTenApartDoNotMerge) {
    Computer(14, {400, 300}, {kDestroyerClass});
    Computer(15, {410, 300}, {kDestroyerClass});
    Computer(16, {200, 200}, {kDestroyerClass});
    Computer(17, {201, 200}, {kTransportClass});
    MergeComputerFleets(*state);
    for (int i : {14, 15, 16, 17}) EXPECT_EQ(state->FleetTable[i].ShipCount, 1) << i;
}

TEST_F(FleetPlanningTest, TargetIsKeptWhenNothingIsDetected) {
    TFleet& fleet = Computer(14, {400, 300}, {kDestroyerClass});
    PlaceFleet(*state, 2, {100, 100}, {kDestroyerClass});
    fleet.TargetFleet = 2;
    fleet.RouteLength = 0;
    Orders();
    EXPECT_EQ(fleet.TargetFleet, 2);
}

TEST_F(FleetPlanningTest, DetectedPlayerFleetBecomesTheTargetAndTheAim) {
    TFleet& fleet = Computer(14, {400, 300}, {kDestroyerClass});
    TFleet& player = PlaceFleet(*state, 2, {200, 250}, {kCarrierClass});
    player.DetectLevel = 3;
    fleet.TargetFleet = kNoFleet;
    Orders();
    EXPECT_EQ(fleet.TargetFleet, 2);
    // No base to predict a course toward: the aim is the fleet itself,
    // blurred by its speed (3 x 30 / 2 = 45 pixels).
    EXPECT_NEAR(fleet.LastSighting[0], 200, 45);
    EXPECT_NEAR(fleet.LastSighting[1], 250, 45);
}

TEST_F(FleetPlanningTest, UnseenAimPointDriftsOnTheMapAndDuskSendsItSouth) {
    TFleet& fleet = Computer(14, {400, 300}, {kCarrierClass});
    PlaceFleet(*state, 2, {100, 100}, {kDestroyerClass});
    fleet.TargetFleet = 2;
    state->Turn = 20;
    fleet.LastSighting = {780, 300, 5};  // set fifteen turns ago
    ChooseComputerTarget(*state, 14);
    EXPECT_EQ(fleet.LastSighting[2], 20);
    EXPECT_GE(fleet.LastSighting[0], 0);
    EXPECT_LE(fleet.LastSighting[0], kComputerPointMaxX);
    EXPECT_GE(fleet.LastSighting[1], 0);
    EXPECT_LE(fleet.LastSighting[1], kComputerPointMaxY);

    state->Hour = 19;
    ChooseComputerTarget(*state, 14);
    EXPECT_EQ(fleet.LastSighting[1], 800);
    EXPECT_EQ(fleet.LastSighting[2], 26);
    // Stamped in the future: it does not drift.
    const auto aim = fleet.LastSighting;
    state->Hour = 20;
    state->Turn = 21;
    ChooseComputerTarget(*state, 14);
    EXPECT_EQ(fleet.LastSighting, aim);
}

TEST_F(FleetPlanningTest, SlowShipsSailOnInAFleetOfTheirOwn) {
    TFleet& fleet = Computer(14, {400, 300}, {kDestroyerClass, kDestroyerClass});
    fleet.Ships[1].Speed = 8;
    Orders();
    EXPECT_EQ(fleet.ShipCount, 1);
    const TFleet& slow = state->FleetTable[13];
    EXPECT_EQ(slow.Active, 1);
    EXPECT_EQ(slow.ShipCount, 1);
    EXPECT_EQ(slow.Speed, 8);
    EXPECT_EQ(slow.Position, fleet.Position);
}

TEST_F(FleetPlanningTest, AdvanceTowardsStopsWithinStrikeRange) {
    TFleet& a = Computer(14, {0, 0}, {kDestroyerClass});
    a.Speed = 10;  // 14 pixels a step
    const TFleet& b = Computer(15, {0, 200}, {kDestroyerClass});
    // A fleet without aircraft has range 999: it is within range already.
    EXPECT_EQ(AdvanceTowards(*state, a, b, 5), (Point{0, 0}));
    a.AirUnits[0].Counts[1] = 4;
    a.AirUnits[0].AircraftTypes[1] = 1;
    state->AircraftTypeTable[1].Range = 150;
    EXPECT_EQ(AdvanceTowards(*state, a, b, 5), (Point{0, 56}));  // 144 left: within 150
    state->AircraftTypeTable[1].Range = 50;
    EXPECT_EQ(AdvanceTowards(*state, a, b, 5), (Point{0, 70}));  // five steps
}

TEST_F(FleetPlanningTest, MarkersScatterAroundTheDestinationAndStayOffTheEdges) {
    TFleet& fleet = Computer(14, {400, 300}, {kDestroyerClass});
    fleet.Destination = {400, 900};  // far below the map
    TFleet& marker = state->ContactTable[1];
    marker.Active = 1;
    marker.TrackedFleet = 14;
    ScatterMarkers(*state, 14);
    EXPECT_NEAR(marker.Destination.X, 400, 29);
    EXPECT_EQ(marker.Destination.Y, kComputerPointMaxY);

    fleet.Destination = {5, 300};
    for (int i = 0; i < 20; ++i) {
        ScatterMarkers(*state, 14);
        EXPECT_GT(marker.Destination.X, 0);
    }
}

}  // namespace
}  // namespace velmora
