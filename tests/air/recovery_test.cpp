#include "air/recovery.h"

#include <gtest/gtest.h>

#include "air/air_units.h"
#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;

// Player fleet 0 with one carrier (capacity 30, standby 30) in turn 10.
class RecoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        state = NewState();
        state->Turn = 10;
        SetClass(*state, 1, kCarrier, 100);
        SetClass(*state, 2, kGroundBase, 100);
        TFleet& f = PlaceFleet(*state, 0, {300, 300}, {1});
        f.Ships[0].AircraftCapacity = 30;
        f.Ships[0].DeckStandby = 30;
        f.CapType = 1;
        f.ScoutType = 3;
        f.AirTypes = {1, 2, 3, 0, 0, 0};
        state->AircraftTypeTable[1].Name = "戦闘機";
    }
    TFleet& F() { return state->FleetTable[0]; }

    std::unique_ptr<GameState> state;
    RecordingFrontend ui;
};

TEST_F(RecoveryTest, PatrolAndSearchTakeOffAndThoseOfTwoTurnsAgoLand) {
    F().CapReady = 5;
    F().ScoutReady = 2;
    F().CapLaunched[8] = 4;
    F().ScoutLaunched[8] = 3;
    F().CapLaunched[9] = 6;  // still aloft
    RecoverAircraft(*state, ui);
    EXPECT_EQ(F().CapLaunched[10], 5);
    EXPECT_EQ(F().ScoutLaunched[10], 2);
    EXPECT_EQ(F().CapReady, 0);
    EXPECT_EQ(F().CapLaunched[8], 0);
    EXPECT_EQ(F().CapLaunched[9], 6);
    EXPECT_EQ(F().HangarCounts[0], 4);
    EXPECT_EQ(F().HangarCounts[2], 3);
}

TEST_F(RecoveryTest, ThirtyPlacesForFortyReturningLandFifteenSevenAndSeven) {
    F().AirUnits[0].Counts = {20, 0, 0, 0, 0, 0};
    F().AirUnits[1].Counts = {0, 10, 0, 0, 0, 0};
    F().AirUnits[2].Counts = {10, 0, 0, 0, 0, 0};
    for (std::size_t u : {0u, 1u, 2u}) F().AirUnits[u].State = kAirReturning;
    F().AirUnits[3].Counts = {4, 0, 0, 0, 0, 0};
    F().AirUnits[3].State = kAirOutbound;  // still out: lands next turn
    RecoverAircraft(*state, ui);
    EXPECT_EQ(F().HangarCounts[0], 15 + 7);
    EXPECT_EQ(F().HangarCounts[1], 7);
    EXPECT_EQ(F().AirUnits[0].Counts[0], 0);
    EXPECT_EQ(F().AirUnits[3].Counts[0], 4);
}

TEST_F(RecoveryTest, NoLandingDeckLosesEverythingReturningButADestroyedUnitsCounts) {
    F().Ships[0].DeckState = kDeckNoLanding;
    F().CapLaunched[8] = 4;
    F().ScoutLaunched[8] = 3;
    F().AirUnits[0].Counts = {5, 5, 0, 0, 0, 0};
    F().AirUnits[0].State = kAirReturning;
    F().AirUnits[1].Counts = {2, 0, 0, 0, 0, 0};
    F().AirUnits[1].State = kAirDestroyed;
    RecoverAircraft(*state, ui);
    EXPECT_EQ(F().HangarCounts[0], 2);  // only the unit in state 7 lands
    EXPECT_EQ(F().HangarCounts[1], 0);
    EXPECT_EQ(F().HangarCounts[2], 0);
    EXPECT_EQ(F().AirUnits[0].Counts[0], 0);
}

TEST_F(RecoveryTest, InTheFirstTurnsNothingLandsFromTheLaunchArrays) {
    state->Turn = 1;
    F().CapLaunched[200] = 9;  // not turn -1
    RecoverAircraft(*state, ui);
    EXPECT_EQ(F().HangarCounts[0], 0);
    EXPECT_EQ(F().CapLaunched[200], 9);
}

TEST_F(RecoveryTest, AnOverfullDeckStowsInProportionAndLeavesStrikesInTheAirAlone) {
    F().Ships[0].DeckStandby = 10;
    F().AirUnits[0].Counts = {10, 10, 0, 0, 0, 0};
    F().AirUnits[0].State = kAirReady;
    F().AirUnits[1].Counts = {0, 6, 0, 0, 0, 0};
    F().AirUnits[1].State = kAirOutbound;
    StowExcess(F());
    EXPECT_EQ(F().AirUnits[0].Counts[0], 5);
    EXPECT_EQ(F().AirUnits[0].Counts[1], 5);
    EXPECT_EQ(F().HangarCounts[0], 5);
    EXPECT_EQ(F().HangarCounts[1], 5);
    EXPECT_EQ(F().AirUnits[1].Counts[1], 6);
}

TEST_F(RecoveryTest, LostShipsShareOutTheHangarByWhatTheShipsCarried) {
    F().Ships[0].AircraftAboard = {20, 10, 10, 0, 0, 0};
    F().LossTallies = {10, 0, 0, 0, 0, 0};
    RedistributeHangar(F(), 30, 25, 10, 10);
    EXPECT_EQ(F().HangarCounts[0], 15);
    EXPECT_EQ(F().HangarCounts[1], 8);  // 7.5 to the even neighbour
    EXPECT_EQ(F().HangarCounts[2], 8);
    EXPECT_EQ(F().LossTallies[0], 0);
    // Without losses the hangar stays as it is.
    F().HangarCounts = {1, 2, 3, 0, 0, 0};
    RedistributeHangar(F(), 30, 1, 2, 3);
    EXPECT_EQ(F().HangarCounts[2], 3);
}

TEST_F(RecoveryTest, TypesAreRestoredAfterTheStep) {
    F().AirTypes[4] = 17;
    F().CapType = 5;
    RecoverAircraft(*state, ui);
    EXPECT_EQ(F().AirTypes[4], 17);
    EXPECT_EQ(F().CapType, 5);
}

TEST_F(RecoveryTest, AStormOverTheFleetCostsAircraftAndThePlayerHearsOfIt) {
    F().CapLaunched[8] = 20;
    state->StormCells[0] = {F().Position.X + 30, F().Position.Y, 1};
    ASSERT_TRUE(NeedsStormLanding(*state, F()));
    RecoverAircraft(*state, ui);
    EXPECT_LT(F().HangarCounts[0], 20);
    ASSERT_EQ(ui.CallsOf("MessageOk").size(), 1u);
    EXPECT_EQ(ui.CallsOf("MessageOk")[0],
              "MessageOk\t荒天着陸チェック\t戦闘機\\n" + std::to_string(20 - F().HangarCounts[0]) +
                  "機が着陸に失敗しました。");
}

TEST_F(RecoveryTest, StormLandingChancesForCarriersAndBases) {
    // Over many aircraft, a carrier keeps about 35 in 100 and a base 50.
    std::int32_t at_sea = 1000;
    StormLandingCheck(*state, ui, F(), kStormLandingCaption, at_sea, 1);
    TFleet& base = PlaceFleet(*state, 12, {100, 100}, {2});
    std::int32_t ashore = 1000;
    StormLandingCheck(*state, ui, base, kStormLandingCaption, ashore, 1);
    EXPECT_NEAR(at_sea, 350, 60);
    EXPECT_NEAR(ashore, 500, 60);
    state->StormCells[0] = {F().Position.X + 60, F().Position.Y, 1};
    EXPECT_FALSE(NeedsStormLanding(*state, F()));  // 60 pixels away is clear
}

}  // namespace
}  // namespace velmora
