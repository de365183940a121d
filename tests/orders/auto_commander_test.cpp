#include "orders/auto_commander.h"

#include <gtest/gtest.h>

#include "chart/geometry.h"
#include "frontend/recording_frontend.h"
#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;

enum Classes { kCarrierClass = 1, kDestroyerClass, kBaseClass };

class AutoCommanderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetClass(*state, kCarrierClass, kCarrier, 100);
        SetClass(*state, kDestroyerClass, kDestroyer, 40);
        SetClass(*state, kBaseClass, kGroundBase, 500);
        state->AircraftTypeTable[3].Range = 300;  // search aircraft
        state->AircraftTypeTable[2].Range = 200;  // attack aircraft
        PlaceFleet(*state, 12, {400, 500}, {kBaseClass});
    }
    TFleet& Player(int index, Point at, const std::vector<int>& classes) {
        TFleet& fleet = PlaceFleet(*state, index, at, classes);
        fleet.ScoutType = 3;
        fleet.AirTypes = {1, 2, 3, 0, 0, 0};
        return fleet;
    }
    TFleet& Enemy(Point at) {
        TFleet& fleet = PlaceFleet(*state, 14, at, {kDestroyerClass});
        fleet.DetectLevel = 2;
        return fleet;
    }
    Point Goal(const TFleet& fleet) {
        return fleet.RouteLength > 0 ? fleet.Route[0] : fleet.Position;
    }

    std::unique_ptr<GameState> state = NewState();
    RecordingFrontend ui;
};

TEST_F(AutoCommanderTest, SurfaceGroupClosesWithAFoundEnemy) {
    TFleet& fleet = Player(1, {400, 400}, {kDestroyerClass});
    Enemy({400, 100});
    CommandPlayerFleets(*state, ui);
    EXPECT_EQ(Goal(fleet), (Point{400, 100}));
}

TEST_F(AutoCommanderTest, CarrierGroupHoldsOffWithinStrikeRange) {
    TFleet& fleet = Player(0, {400, 400}, {kCarrierClass});
    Enemy({400, 100});
    CommandPlayerFleets(*state, ui);
    EXPECT_NEAR(MapDistance(Goal(fleet), {400, 100}), 200 * kAutoStandOffShare, 1.0);
}

TEST_F(AutoCommanderTest, DamagedFleetSailsHome) {
    TFleet& fleet = Player(1, {400, 200}, {kDestroyerClass});
    fleet.Ships[0].Durability = 10;
    Enemy({400, 100});
    CommandPlayerFleets(*state, ui);
    EXPECT_EQ(Goal(fleet), (Point{400, 500}));
}

TEST_F(AutoCommanderTest, SearchesTheThreeSectorsFacingTheEnemy) {
    TFleet& fleet = Player(1, {400, 400}, {kDestroyerClass});
    fleet.SearchSectors = {0, 0, 0, 0, 1, 1, 0, 0};
    Enemy({500, 300});  // up and to the right: sector 0 or 1
    CommandPlayerFleets(*state, ui);
    int on = 0;
    for (auto flag : fleet.SearchSectors) on += flag;
    EXPECT_EQ(on, 3);
    EXPECT_EQ(fleet.SearchSectors[4], 0);
    const int facing = SectorOf(fleet.Position, {500, 300}, 1e9);
    EXPECT_EQ(fleet.SearchSectors[static_cast<std::size_t>(facing)], 1);
}

TEST_F(AutoCommanderTest, KeepsThePlayersSelection) {
    Player(1, {400, 400}, {kDestroyerClass});
    state->SelectedFleet = 12;
    CommandPlayerFleets(*state, ui);
    EXPECT_EQ(state->SelectedFleet, 12);
}

}  // namespace
}  // namespace velmora
