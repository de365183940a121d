#include "air/air_units.h"

#include <gtest/gtest.h>

#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;

struct AdvanceCase {
    std::uint8_t from;
    int aircraft;
    std::uint8_t to;
};

class AdvanceAirUnitsStep : public ::testing::TestWithParam<AdvanceCase> {};

TEST_P(AdvanceAirUnitsStep, MovesEveryUnitOneState) {
    auto state = NewState();
    // A fleet not in play moves on too, and so does the sixth unit.
    for (int f : {0, 24}) {
        TAirUnit& unit = state->FleetTable[static_cast<std::size_t>(f)].AirUnits[5];
        unit.State = GetParam().from;
        unit.Counts[1] = GetParam().aircraft;
    }
    AdvanceAirUnits(*state);
    EXPECT_EQ(state->FleetTable[0].AirUnits[5].State, GetParam().to);
    EXPECT_EQ(state->FleetTable[24].AirUnits[5].State, GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(
    States, AdvanceAirUnitsStep,
    ::testing::Values(AdvanceCase{kAirServicing, 0, kAirServicing},  // an empty unit waits
                      AdvanceCase{kAirServicing, 3, kAirReady},
                      AdvanceCase{kAirRearming1, 3, kAirRearming2},
                      AdvanceCase{kAirRearming2, 3, kAirReady},
                      AdvanceCase{kAirOutbound, 3, kAirReturning},
                      AdvanceCase{kAirReturning, 3, kAirIdle},
                      AdvanceCase{kAirIdle, 3, kAirIdle}, AdvanceCase{kAirReady, 3, kAirReady},
                      AdvanceCase{kAirDestroyed, 3, kAirDestroyed}));

struct RangeCase {
    std::array<int, 3> counts;
    int expected;
};

class StrikeRangeOf : public ::testing::TestWithParam<RangeCase> {};

TEST_P(StrikeRangeOf, TakesTheShortestNonEmptyCategory) {
    auto state = NewState();
    state->AircraftTypeTable[1].Range = 400;  // fighters
    state->AircraftTypeTable[2].Range = 300;  // attack aircraft
    state->AircraftTypeTable[3].Range = 500;  // search aircraft
    TAirUnit unit;
    unit.AircraftTypes = {1, 2, 3, 0, 0, 0};
    for (std::size_t k = 0; k < 3; ++k) unit.Counts[k] = GetParam().counts[k];
    EXPECT_EQ(StrikeRange(*state, unit), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Units, StrikeRangeOf,
                         ::testing::Values(RangeCase{{0, 0, 0}, 999}, RangeCase{{5, 0, 0}, 400},
                                           RangeCase{{5, 5, 0}, 300}, RangeCase{{0, 0, 2}, 500},
                                           RangeCase{{-3, 0, 2}, 500}));

TEST(StrikeRangeOf, AnUnknownTypeIndexReadsAsAnEmptyType) {
    auto state = NewState();
    TAirUnit unit;
    unit.Counts[0] = 4;
    unit.AircraftTypes[0] = 255;
    EXPECT_EQ(StrikeRange(*state, unit), 0);
}

// Three carriers: capacities 10/20/40, standby 1/2/4, deck states varied.
class DeckCapacities : public ::testing::Test {
protected:
    void SetUp() override {
        state = NewState();
        SetClass(*state, 1, kCarrier, 100);
        TFleet& f = PlaceFleet(*state, 2, {100, 100}, {1, 1, 1});
        f.Number = 2;
        const std::array<int, 3> capacity{10, 20, 40};
        for (std::size_t i = 0; i < 3; ++i) {
            f.Ships[i].AircraftCapacity = capacity[i];
            f.Ships[i].DeckStandby = static_cast<std::uint8_t>(capacity[i] / 10);
        }
        fleet = &f;
    }
    void Decks(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
        fleet->Ships[0].DeckState = a;
        fleet->Ships[1].DeckState = b;
        fleet->Ships[2].DeckState = c;
    }
    std::unique_ptr<GameState> state;
    TFleet* fleet = nullptr;
};

TEST_F(DeckCapacities, DeckStatesGateTakeOffAndLanding) {
    Decks(kDeckNoLanding, kDeckNoTakeOff, kDeckNeither);
    EXPECT_EQ(DeckStandbyCapacity(*fleet), 1);  // take-off only from the first
    EXPECT_EQ(LandingCapacity(*fleet), 20);     // landing only on the second
    EXPECT_EQ(HangarCapacity(*fleet), 70);
    Decks(kDeckNormal, kDeckNormal, kDeckNormal);
    EXPECT_EQ(DeckStandbyCapacity(*fleet), 7);
    EXPECT_EQ(LandingCapacity(*fleet), 70);
}

TEST_F(DeckCapacities, FleetNumberSevenHoldsOneHundredTwentyWhateverItsDecks) {
    Decks(kDeckNeither, kDeckNeither, kDeckNeither);
    fleet->Number = kFixedDeckFleet;
    EXPECT_EQ(DeckStandbyCapacity(*fleet), 120);
    EXPECT_EQ(LandingCapacity(*fleet), 0);
}

TEST_F(DeckCapacities, TotalsCountDeckHangarAndAloft) {
    state->Turn = 10;
    fleet->HangarCounts = {1, 2, 3, 50, 0, 0};
    fleet->CapReady = 4;
    fleet->ScoutReady = 5;
    fleet->CapLaunched[7] = 100;  // landed already: outside the window
    fleet->CapLaunched[8] = 6;
    fleet->CapLaunched[10] = 7;
    fleet->ScoutLaunched[9] = 8;
    fleet->AirUnits[0].Counts = {10, 20, 30, 0, 0, 0};
    fleet->AirUnits[0].State = kAirReady;
    fleet->AirUnits[1].Counts = {1, 1, 1, 0, 0, 0};
    fleet->AirUnits[1].State = kAirOutbound;  // in the air: not on deck
    fleet->AirUnits[5].Counts = {1000, 1000, 1000, 0, 0, 0};
    fleet->AirUnits[5].State = kAirServicing;  // on deck, but no part of the totals

    EXPECT_EQ(AircraftOnDeck(*fleet), 60 + 3000 + 4 + 5);
    EXPECT_EQ(HangarTotal(*fleet), 6);
    EXPECT_EQ(FighterTotal(*state, *fleet), 11 + 1 + 13 + 4);
    EXPECT_EQ(AttackerTotal(*state, *fleet), 21 + 2);
    EXPECT_EQ(ScoutTotal(*state, *fleet), 31 + 3 + 8 + 5);
    EXPECT_EQ(ReadyGroupCount(*fleet), 2);
    // The computer's search aircraft count among its attack aircraft.
    fleet->Side = state->ComputerSide;
    EXPECT_EQ(AttackerTotal(*state, *fleet), 21 + 2 + 8 + 5);
}

TEST(AircraftAloftOf, TheWindowReachesNoFurtherBackThanTurnZeroAndWrapsPastTwoHundred) {
    std::array<std::int32_t, kLaunchTurns> launched{};
    launched[0] = 1;
    launched[1] = 2;
    launched[199] = 10;
    launched[200] = 20;
    EXPECT_EQ(AircraftAloft(launched, 0), 1);
    EXPECT_EQ(AircraftAloft(launched, 1), 3);
    EXPECT_EQ(AircraftAloft(launched, 2), 3);
    EXPECT_EQ(AircraftAloft(launched, 3), 2);
    EXPECT_EQ(AircraftAloft(launched, 201), 10 + 20 + 1);  // turn 201 is entry 0
    EXPECT_EQ(LaunchEntry(launched, -1), nullptr);
    EXPECT_EQ(LaunchEntry(launched, 202), &launched[1]);
}

}  // namespace
}  // namespace velmora
