#include "view3d/pure/viewer_logic.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/state_fixture.h"

namespace velmora::view3d {
namespace {

using ::testing::ElementsAre;
using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;

TEST(FleetView, RingStepsRoundHalvesToEven) {
    EXPECT_EQ(RingStep(7), 51);
    EXPECT_EQ(RingStep(16), 22);  // 22.5
    EXPECT_EQ(RingStep(11), 33);  // 32.7
    EXPECT_EQ(RingStep(1), 360);
    EXPECT_EQ(RingStep(0), 0);
}

TEST(FleetView, SpinDrawsThreeSixtyOnceAndWrapsToZero) {
    EXPECT_EQ(AdvanceViewSpin(350), 355);
    EXPECT_EQ(AdvanceViewSpin(355), 360);
    EXPECT_EQ(AdvanceViewSpin(360), 0);
    EXPECT_EQ(AdvanceViewSpin(0), 5);
}

TEST(FleetView, PolarPointsStartScreenUpAndTurnClockwise) {
    struct Case {
        int angle, spin;
        int x, y;
    };
    const Case cases[] = {{0, 0, 100, 40},
                          {90, 0, 160, 100},
                          {0, 90, 160, 100},
                          {180, 0, 100, 160},
                          {45, 0, 142, 58}};
    for (const Case& c : cases) {
        const ScreenPoint p = RotatedPolarPoint(100, 100, c.angle, 60, c.spin);
        EXPECT_EQ(p.x, c.x) << c.angle << " " << c.spin;
        EXPECT_EQ(p.y, c.y) << c.angle << " " << c.spin;
    }
}

TEST(FleetView, ShipsStandOnRingsByTypeAndBasesAtTheCentre) {
    auto state = NewState();
    SetClass(*state, 1, 4, 10);   // destroyer
    SetClass(*state, 2, 6, 100);  // base
    SetClass(*state, 3, 9, 10);   // no ring for this type
    TFleet& fleet = PlaceFleet(*state, 0, {10, 10}, {1, 2, 1, 2, 3});
    const auto rings = FleetRingPlacements(*state, fleet, 0, 850, 600);
    ASSERT_EQ(rings.size(), 4u);
    // cx = (850 - 50) / 2 = 400, cy = 300: world x = screen x - 400, z = y + 500.
    EXPECT_EQ(rings[0].slot, 0);
    EXPECT_FLOAT_EQ(rings[0].position.x, 0);
    EXPECT_FLOAT_EQ(rings[0].position.z, 300 - 240 + 500);  // radius 60 x 4, screen-up
    EXPECT_FLOAT_EQ(rings[0].position.y, -100);
    EXPECT_EQ(rings[1].slot, 2);
    EXPECT_FLOAT_EQ(rings[1].position.z, 300 + 240 + 500);  // 180 degrees on
    for (int i : {2, 3}) {
        EXPECT_FLOAT_EQ(rings[static_cast<std::size_t>(i)].position.x, 0);
        EXPECT_FLOAT_EQ(rings[static_cast<std::size_t>(i)].position.z, 800);
    }
}

TEST(ModelView, OneTurnInNineSecondsInSteps) {
    EXPECT_FLOAT_EQ(ModelTurnRadians(0), 0);
    EXPECT_NEAR(ModelTurnRadians(2250), 3.14159265f / 2, 1e-6f);
    EXPECT_FLOAT_EQ(ModelTurnRadians(9000), 0);
    EXPECT_NEAR(ModelTurnRadians(8999), 0, 1e-6f);  // rounds to step 4096 = step 0
}

TEST(DataStrips, DamageAndEquipmentWords) {
    TShip cls, ship;
    cls.Durability = 30;
    struct Case {
        int durability;
        const char* word;
    };
    for (const Case& c : {Case{21, "通常"}, Case{20, "中破"}, Case{11, "中破"}, Case{10, "大破"},
                          Case{0, "大破"}}) {
        ship.Durability = c.durability;
        EXPECT_EQ(DamageWord(ship, cls), c.word) << c.durability;
    }
    EXPECT_EQ(EquipmentWord(5, 5), "損害なし");
    EXPECT_EQ(EquipmentWord(5, 2), "一部破壊");
    EXPECT_EQ(EquipmentWord(5, 0), "完全破壊");
    EXPECT_EQ(EquipmentWord(5, -1), "");
}

TEST(FleetTreeNodes, PositionsResolveFleetsAndShips) {
    auto state = NewState();
    SetClass(*state, 1, 4, 10);
    PlaceFleet(*state, 0, {10, 10}, {1, 1});
    PlaceFleet(*state, 3, {10, 10}, {1, 1, 1}).Name = "第二";
    PlaceFleet(*state, 14, {10, 10}, {1});  // the computer's: not in the own tree
    const FleetTree tree = OwnFleetTree(*state);
    ASSERT_EQ(tree.fleets.size(), 2u);
    EXPECT_EQ(tree.fleets[1].position, 3);
    EXPECT_EQ(tree.fleets[1].text, "第二 指揮 速力30");
    EXPECT_EQ(FleetAtNode(tree, 3), 3);
    EXPECT_EQ(FleetAtNode(tree, 1), std::nullopt);
    const auto ship = ShipAtNode(tree, 6);
    ASSERT_TRUE(ship);
    EXPECT_EQ(ship->fleet, 3);
    EXPECT_EQ(ship->slot, 2);
    EXPECT_FALSE(ShipAtNode(tree, 0));
    EXPECT_FALSE(ShipAtNode(tree, 7));
}

TEST(DataStrips, OwnAndLimitedStripsSwapLandingSidesAndHideWhatIsUnknown) {
    auto state = NewState();
    SetClass(*state, 1, 9, 30);
    TFleet& fleet = PlaceFleet(*state, 0, {10, 10}, {1});
    fleet.LandingPoints = {7, 3};
    fleet.Ships[0].Durability = 12;
    fleet.Ships[0].ElectronicWarfare = 4;
    fleet.AirTypes[0] = 2;
    fleet.AirTypes[1] = 255;
    state->AircraftTypeTable[2].Name = "F-9";
    auto value = [](const std::vector<StripLine>& lines, const std::string& caption) {
        for (const auto& l : lines) {
            if (l.caption == caption) return l.value;
        }
        return std::string("(none)");
    };
    const auto own = ShipStripLines(*state, 0, 0, true);
    EXPECT_EQ(own.size(), 27u);
    EXPECT_EQ(value(own, "艦型"), "class1型");  // type 9 has no word
    EXPECT_EQ(value(own, "自軍側揚陸ポイント"), "7");
    EXPECT_EQ(value(own, "電子戦力"), "4/0");
    const auto limited = ShipStripLines(*state, 0, 0, false);
    EXPECT_EQ(value(limited, "艦名"), "不明");
    EXPECT_EQ(value(limited, "耐久力"), "中破");
    EXPECT_EQ(value(limited, "自軍側揚陸ポイント"), "3");
    EXPECT_EQ(value(limited, "電子戦力"), "");
    EXPECT_THAT(StripAircraftTypes(*state, 0, 0, true), ElementsAre(2, 255, 0));
    EXPECT_EQ(AircraftButtonCaption(*state, 2), "F-9");
    EXPECT_EQ(AircraftButtonCaption(*state, 255), "");
    EXPECT_TRUE(ShipStripLines(*state, 0, 5, true).empty());
    EXPECT_EQ(AircraftStripLines(*state, 2).size(), 13u);
}

}  // namespace
}  // namespace velmora::view3d
