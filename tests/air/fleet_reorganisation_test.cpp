#include "air/fleet_reorganisation.h"

#include <gtest/gtest.h>

#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;

constexpr int kCarrierClass = 1;
constexpr int kDestroyerClass = 2;

class ReorganisationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state = NewState();
        SetClass(*state, kCarrierClass, kCarrier, 100);
        SetClass(*state, kDestroyerClass, kDestroyer, 50);
    }
    void SetCarrierCapacity(int capacity) {
        state->ShipClassTable[kCarrierClass].AircraftCapacity = capacity;
    }
    std::array<std::int32_t, 3> Hangar(int f) const {
        const auto& h = state->Fleet(f).HangarCounts;
        return {h[0], h[1], h[2]};
    }
    std::unique_ptr<GameState> state;
};

TEST_F(ReorganisationTest, TheOnlyCarrierTakesTheWholeHangarAndOtherShipsTakeNothing) {
    SetCarrierCapacity(40);
    TFleet& source = PlaceFleet(*state, 0, {100, 100}, {kDestroyerClass, kCarrierClass});
    source.HangarCounts = {10, 5, 3, 0, 0, 0};

    ASSERT_TRUE(MoveShipWithAircraft(*state, 0, 0, 1));
    EXPECT_EQ(Hangar(1), (std::array<std::int32_t, 3>{0, 0, 0}));
    EXPECT_EQ(Hangar(0), (std::array<std::int32_t, 3>{10, 5, 3}));

    ASSERT_TRUE(MoveShipWithAircraft(*state, 0, 0, 1));
    EXPECT_EQ(Hangar(1), (std::array<std::int32_t, 3>{10, 5, 3}));
    EXPECT_EQ(Hangar(0), (std::array<std::int32_t, 3>{0, 0, 0}));
    EXPECT_EQ(state->Fleet(1).ShipCount, 2);
    EXPECT_EQ(state->Fleet(1).Number, 1);
    // Nothing stays on the ships: it all went to the hangars.
    for (const TShip& ship : state->Fleet(1).Ships) {
        EXPECT_EQ(ship.AircraftAboardAtStart, (std::array<std::int32_t, kCategories>{}));
    }
}

TEST_F(ReorganisationTest, CarrierSharesOfTwoCarriers) {
    struct Case {
        const char* name;
        int capacity;
        std::array<std::int32_t, 3> hangar;
        std::array<std::int32_t, 3> moved;
    };
    const Case cases[] = {
        // Landing capacity 80 against 60 aboard: min(60 div 2, 40) = 30 in proportion.
        {"hangar below landing capacity", 40, {30, 20, 10}, {15, 10, 5}},
        // Landing capacity 60 = hangar: Trunc(share + 1) = 16/11/6, the excess of 3
        // over the capacity of 30 comes off the fighters.
        {"hangar at landing capacity", 30, {30, 20, 10}, {13, 11, 6}},
        // Trunc(share + 1) = 2/15/16: the excess of 3 is more than the two
        // fighters, so it comes off the attack aircraft.
        {"excess taken from the first category that covers it", 30, {2, 28, 30}, {2, 12, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetCarrierCapacity(c.capacity);
        TFleet& source = PlaceFleet(*state, 0, {100, 100}, {kCarrierClass, kCarrierClass});
        state->Fleet(1) = TFleet{};
        source.HangarCounts = {c.hangar[0], c.hangar[1], c.hangar[2], 0, 0, 0};

        ASSERT_TRUE(MoveShipWithAircraft(*state, 1, 0, 1));
        EXPECT_EQ(Hangar(1), c.moved);
        for (std::size_t j = 0; j < 3; ++j) EXPECT_EQ(Hangar(0)[j], c.hangar[j] - c.moved[j]);
    }
}

TEST_F(ReorganisationTest, AnEmptyHangarMovesNoAircraft) {
    SetCarrierCapacity(40);
    PlaceFleet(*state, 0, {100, 100}, {kCarrierClass, kCarrierClass});
    ASSERT_TRUE(MoveShipWithAircraft(*state, 0, 0, 1));
    EXPECT_EQ(Hangar(1), (std::array<std::int32_t, 3>{0, 0, 0}));
}

TEST_F(ReorganisationTest, BadMovesChangeNothing) {
    PlaceFleet(*state, 0, {100, 100}, {kDestroyerClass});
    const auto before = state->FleetTable;
    EXPECT_FALSE(MoveShipWithAircraft(*state, 1, 0, 1));
    EXPECT_FALSE(MoveShipWithAircraft(*state, -1, 0, 1));
    EXPECT_FALSE(MoveShipWithAircraft(*state, 0, 0, 0));
    EXPECT_FALSE(MoveShipWithAircraft(*state, 0, 0, 25));
    EXPECT_EQ(state->FleetTable, before);
}

TEST_F(ReorganisationTest, DestinationLimitsOfThirtyShipsAndSixCarriers) {
    TFleet& source = PlaceFleet(*state, 0, {100, 100}, {kDestroyerClass});
    std::vector<int> thirty(30, kDestroyerClass);
    std::vector<int> thirty_one(31, kDestroyerClass);
    std::vector<int> six_carriers(6, kCarrierClass);
    std::vector<int> seven_carriers(7, kCarrierClass);
    EXPECT_TRUE(CanMoveShip(*state, source, 0, PlaceFleet(*state, 1, {0, 0}, thirty)));
    EXPECT_FALSE(CanMoveShip(*state, source, 0, PlaceFleet(*state, 1, {0, 0}, thirty_one)));
    EXPECT_TRUE(CanMoveShip(*state, source, 0, PlaceFleet(*state, 1, {0, 0}, six_carriers)));
    EXPECT_FALSE(CanMoveShip(*state, source, 0, PlaceFleet(*state, 1, {0, 0}, seven_carriers)));
    EXPECT_FALSE(CanMoveShip(*state, source, 1, PlaceFleet(*state, 1, {0, 0}, {})));
}

TEST_F(ReorganisationTest, AirUnitsIdleOnlyWhileEveryUnitIsBelowReady) {
    TFleet fleet;
    EXPECT_TRUE(AirUnitsIdle(fleet));
    fleet.AirUnits[5].State = 1;
    EXPECT_TRUE(AirUnitsIdle(fleet));
    for (std::uint8_t s = 2; s <= 7; ++s) {
        fleet.AirUnits[5].State = s;
        EXPECT_FALSE(AirUnitsIdle(fleet)) << int(s);
    }
}

TEST_F(ReorganisationTest, SplitTakesTheFirstFreePlayerSlot) {
    for (int i = 0; i <= kPlayerFleetLast; ++i) PlaceFleet(*state, i, {10, 10}, {kDestroyerClass});
    for (int i = kPlayerFleetLast + 1; i < kFleetCount; ++i) {
        state->Fleet(i).Side = kComputerSideValue;  // the computer's free slots never count
    }
    EXPECT_FALSE(SplitFleet(*state, 2));
    state->Fleet(7).Active = 0;
    state->Fleet(9).Active = 0;
    EXPECT_EQ(SplitFleet(*state, 2), (ReorganisationPair{2, 7}));
    EXPECT_FALSE(SplitFleet(*state, 7));   // not in play
    EXPECT_FALSE(SplitFleet(*state, 25));  // nothing selected
}

TEST_F(ReorganisationTest, JoinOffersNearFleetsWithRoomAndAsksTheChoiceList) {
    PlaceFleet(*state, 0, {100, 100}, {kDestroyerClass});
    PlaceFleet(*state, 1, {116, 100}, {kDestroyerClass});                      // 16 away
    PlaceFleet(*state, 2, {117, 100}, {kDestroyerClass});                      // 17 away
    PlaceFleet(*state, 3, {100, 110}, std::vector<int>(30, kDestroyerClass));  // full
    PlaceFleet(*state, 4, {100, 101}, std::vector<int>(29, kDestroyerClass));
    PlaceFleet(*state, 14, {100, 100}, {kDestroyerClass});  // the computer's
    EXPECT_EQ(JoinCandidates(*state, 0), (std::vector<int>{1, 4}));

    RecordingFrontend ui;
    ui.Answer("1");
    EXPECT_EQ(JoinFleets(*state, ui, 0), (ReorganisationPair{0, 4}));
    EXPECT_EQ(ui.Transcript(), (std::vector<std::string>{"PickTarget\t目標\t第2艦隊|第5艦隊"}));

    ui.Answer("999");
    EXPECT_FALSE(JoinFleets(*state, ui, 0));

    // A fleet of 25 ships asks nothing.
    PlaceFleet(*state, 0, {100, 100}, std::vector<int>(25, kDestroyerClass));
    EXPECT_TRUE(JoinCandidates(*state, 0).empty());
}

}  // namespace
}  // namespace velmora
