#include "enemy/air_operations.h"

#include <gtest/gtest.h>

#include "air/air_units.h"
#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;

enum Classes { kCarrierClass = 1, kDestroyerClass, kFortressClass };
constexpr int kComputer = 14;
constexpr int kTarget = 2;

class AirOperationsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetClass(*state, kCarrierClass, kCarrier, 100);
        SetClass(*state, kDestroyerClass, kDestroyer, 30);
        SetClass(*state, kFortressClass, 12, 900);
        for (int t = 1; t <= 3; ++t) {
            state->AircraftTypeTable[static_cast<std::size_t>(t)].Range = 400;
            state->AircraftTypeTable[static_cast<std::size_t>(t)].MissilesPerAircraft = 2;
        }
        TFleet& fleet = PlaceFleet(*state, kComputer, {400, 300}, {kCarrierClass, kDestroyerClass});
        fleet.Number = kComputer;
        fleet.AirTypes = {1, 2, 3, 0, 0, 0};
        fleet.Ships[0].DeckStandby = 60;
        fleet.HangarCounts = {40, 30, 10, 0, 0, 0};
        for (TAirUnit& unit : fleet.AirUnits) unit.AircraftTypes = {1, 2, 3, 0, 0, 0};
        TFleet& target = PlaceFleet(*state, kTarget, {300, 300}, {kCarrierClass});
        target.DetectLevel = 1;
        fleet.TargetFleet = kTarget;
        state->Hour = 12;
    }
    TFleet& Fleet() { return state->FleetTable[kComputer]; }
    TAirUnit& ReadyGroup() {
        TAirUnit& unit = Fleet().AirUnits[0];
        unit.State = kAirReady;
        unit.Counts = {10, 10, 0, 0, 0, 0};
        return unit;
    }

    std::unique_ptr<GameState> state = NewState();
};

TEST_F(AirOperationsTest, BarelySeenTargetDrawsStrikesAtThreeOrSevenInTen) {
    struct Case {
        int own_detect_level;
        double odds;
    };
    for (const Case& c : {Case{0, 0.30}, Case{2, 0.79}}) {
        int launched = 0;
        constexpr int kTrials = 4000;
        for (int seed = 1; seed <= kTrials; ++seed) {
            state->Random.Seed(static_cast<std::uint64_t>(seed));
            Fleet().DetectLevel = c.own_detect_level;
            TAirUnit& unit = ReadyGroup();
            LaunchComputerStrikes(*state, kComputer);
            launched += unit.State == kAirOutbound;
        }
        EXPECT_NEAR(static_cast<double>(launched) / kTrials, c.odds, 0.03) << c.own_detect_level;
    }
}

TEST_F(AirOperationsTest, EarlyStrikesAtBarelySeenTargetsGoAstray) {
    state->Hour = 1;  // Random(100) > 10 sends it astray nine times in ten
    int astray = 0;
    int launched = 0;
    for (int seed = 1; seed <= 500; ++seed) {
        state->Random.Seed(static_cast<std::uint64_t>(seed));
        TAirUnit& unit = ReadyGroup();
        LaunchComputerStrikes(*state, kComputer);
        if (unit.State != kAirOutbound) continue;
        ++launched;
        astray += unit.StrikeTarget == kAstrayStrike;
    }
    EXPECT_GT(astray, launched * 8 / 10);
}

TEST_F(AirOperationsTest, WellSeenTargetInRangeIsStruckOutOfRangeIsNot) {
    state->FleetTable[kTarget].DetectLevel = 2;
    TAirUnit& unit = ReadyGroup();
    LaunchComputerStrikes(*state, kComputer);
    EXPECT_EQ(unit.State, kAirOutbound);
    EXPECT_EQ(unit.StrikeTarget, kTarget);

    state->FleetTable[kTarget].Position = {400, 750};  // 450 away, range 400
    TAirUnit& waiting = ReadyGroup();
    LaunchComputerStrikes(*state, kComputer);
    EXPECT_EQ(waiting.State, kAirReady);
}

TEST_F(AirOperationsTest, FortressesAreNeverAttackedFromTheAir) {
    TFleet& target = state->FleetTable[kTarget];
    target = PlaceFleet(*state, kTarget, {300, 300}, {kFortressClass});
    target.DetectLevel = 4;
    TAirUnit& unit = ReadyGroup();
    LaunchComputerStrikes(*state, kComputer);
    EXPECT_EQ(unit.State, kAirReady);
}

TEST_F(AirOperationsTest, AssaultStanceKeepsNoPatrolAndSendsEightyPercentOfFighters) {
    Fleet().Stance = 3;
    AssignComputerPatrol(*state, kComputer);
    EXPECT_EQ(Fleet().CapReady, 0);
    FormComputerGroups(*state, kComputer);
    EXPECT_EQ(Fleet().AirUnits[0].Counts[0], 32);  // 80 percent of 40
    EXPECT_EQ(Fleet().AirUnits[0].State, 1);

    state->FleetTable[kComputer].Stance = 0;
    Fleet().AirUnits[0] = {};
    Fleet().HangarCounts = {40, 30, 10, 0, 0, 0};
    AssignComputerPatrol(*state, kComputer);
    EXPECT_EQ(Fleet().CapReady, 10);  // a quarter of the fighters
}

TEST_F(AirOperationsTest, NoGroupFormsWithFewerThanSixFreeDeckPlaces) {
    Fleet().Ships[0].DeckStandby = 5;
    FormComputerGroups(*state, kComputer);
    for (const TAirUnit& unit : Fleet().AirUnits) EXPECT_EQ(unit.State, kAirIdle);
    EXPECT_EQ(Fleet().HangarCounts[0], 40);

    Fleet().Ships[0].DeckStandby = 20;
    FormComputerGroups(*state, kComputer);
    EXPECT_EQ(Fleet().AirUnits[0].State, 1);
    EXPECT_EQ(Fleet().AirUnits[0].Counts[0], 20);
}

TEST_F(AirOperationsTest, SearchAircraftComeOutOfTheHangarByCarrier) {
    AssignComputerSearch(*state, kComputer);
    EXPECT_EQ(Fleet().ScoutReady, 5);  // one carrier, five a carrier
    EXPECT_EQ(Fleet().HangarCounts[2], 5);
}

}  // namespace
}  // namespace velmora
