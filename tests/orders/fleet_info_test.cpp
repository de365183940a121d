#include "orders/fleet_info.h"

#include <gtest/gtest.h>

#include <memory>

namespace velmora {
namespace {

class FleetInfoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state = std::make_unique<GameState>();
        // Class c has ShipType c for c = 1..7.
        for (int type = 1; type <= 7; ++type) {
            TShip& c = state->ShipClassTable[static_cast<std::size_t>(type)];
            c.ClassIndex = type;
            c.Durability = 60;
        }
        state->ShipClassTable[1].Name = "翔鶴";
        state->ShipClassLast = 7;
    }

    TFleet& MakeFleet(int index, std::uint8_t side, std::string_view name) {
        TFleet& f = state->FleetTable[static_cast<std::size_t>(index)];
        f.Active = 1;
        f.Side = side;
        f.Name = name;
        f.Commander = "山口";
        f.Speed = 28;
        return f;
    }

    static void AddShip(TFleet& f, int ship_type, std::string_view name) {
        TShip& s = f.Ships[static_cast<std::size_t>(f.ShipCount++)];
        s.ClassIndex = ship_type;
        s.Name = name;
        s.Speed = 30;
    }

    std::unique_ptr<GameState> state;
};

// ---- own fleet tree and selection ----------------------------------------

TEST_F(FleetInfoTest, TreeListsActivePlayerFleetsWithTheirShips) {
    TFleet& first = MakeFleet(1, 0, "第一艦隊");
    AddShip(first, kCarrier, "赤城");
    AddShip(first, kDestroyer, "雪風");
    MakeFleet(2, 0, "第二艦隊").Active = 0;
    AddShip(MakeFleet(14, 1, "敵艦隊"), kCruiser, "敵");
    TFleet& base = MakeFleet(12, 0, "基地");
    AddShip(base, kGroundBase, "硫黄島");

    const auto nodes = BuildOwnFleetTree(*state);
    ASSERT_EQ(nodes.size(), 5u);
    EXPECT_EQ(nodes[0].Text, "第一艦隊 山口指揮 速力28");
    EXPECT_FALSE(nodes[0].IsShip());
    EXPECT_EQ(nodes[1].Text, "赤城");
    EXPECT_EQ(nodes[2].Slot, 1);
    EXPECT_EQ(nodes[3].Fleet, 12);
    EXPECT_EQ(nodes[4].Text, "硫黄島");
}

TEST_F(FleetInfoTest, SelectionRedrawsOnlyWhenTheFleetChangesAndOpensOnlyShips) {
    AddShip(MakeFleet(0, 0, "A"), kCarrier, "a0");
    TFleet& b = MakeFleet(3, 0, "B");
    AddShip(b, kCruiser, "b0");
    AddShip(b, kCruiser, "b1");
    const auto nodes = BuildOwnFleetTree(*state);  // A a0 B b0 b1
    FleetTreeSelection sel;
    sel.Reset(nodes);
    EXPECT_EQ(sel.DrawnFleet(), 0);

    EXPECT_FALSE(sel.Select(nodes, 1));  // a0: fleet 0 is already drawn
    ASSERT_TRUE(sel.ShipToOpen());
    EXPECT_EQ(sel.ShipToOpen()->Fleet, 0);
    EXPECT_EQ(sel.ShipToOpen()->Slot, 0);

    EXPECT_EQ(sel.Select(nodes, 4), 3);  // b1 draws fleet 3
    EXPECT_EQ(sel.ShipToOpen()->Slot, 1);
    EXPECT_FALSE(sel.Select(nodes, 3));  // b0, same fleet

    EXPECT_FALSE(sel.Select(nodes, 2));  // fleet node: no ship to open
    EXPECT_FALSE(sel.ShipToOpen());
    EXPECT_FALSE(sel.Select(nodes, 99));
    EXPECT_FALSE(sel.ShipToOpen());
}

// ---- formation sketch -------------------------------------------------------

TEST(PolarPoint, ZeroIsUpAndAnglesGrowClockwise) {
    EXPECT_EQ(PolarPoint(100, 100, 0, 65), (PixelPoint{100, 35}));
    EXPECT_EQ(PolarPoint(100, 100, 90, 65), (PixelPoint{165, 100}));
    EXPECT_EQ(PolarPoint(100, 100, 180, 65), (PixelPoint{100, 165}));
}

TEST_F(FleetInfoTest, ThreeCarriersSitAtThirdsOfTheInnerRing) {
    TFleet& f = MakeFleet(0, 0, "A");
    AddShip(f, kDestroyer, "d");
    for (int i = 0; i < 3; ++i) AddShip(f, kCarrier, "cv");
    AddShip(f, kTransport, "t");
    const auto marks = FormationLayout(*state, f);
    ASSERT_EQ(marks.size(), 4u);
    const int cx = (kFormationWidth - 150) / 2;
    const int cy = kFormationHeight / 2;
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(marks[static_cast<std::size_t>(j)].Slot, j + 1);
        const PixelPoint p = PolarPoint(cx, cy, 120.0 * j, 65);
        EXPECT_EQ(marks[static_cast<std::size_t>(j)].X, p.X);
        EXPECT_EQ(marks[static_cast<std::size_t>(j)].Y, p.Y);
    }
    EXPECT_EQ(marks[3].Slot, 0);  // the destroyer, on the 260 ring straight up
    EXPECT_EQ(marks[3].Y, cy - 260);
}

TEST_F(FleetInfoTest, SevenDestroyersStepBy51Degrees) {
    TFleet& f = MakeFleet(0, 0, "A");
    for (int i = 0; i < 7; ++i) AddShip(f, kDestroyer, "dd");
    const auto marks = FormationLayout(*state, f, 577, 561);
    ASSERT_EQ(marks.size(), 7u);
    const PixelPoint last = PolarPoint((577 - 150) / 2, 561 / 2, 51.0 * 6, 260);
    EXPECT_EQ(marks[6].X, last.X);
    EXPECT_EQ(marks[6].Y, last.Y);
}

TEST_F(FleetInfoTest, TransportsAndInstallationsAreNotDrawn) {
    TFleet& f = MakeFleet(0, 0, "A");
    AddShip(f, kTransport, "t");
    AddShip(f, kGroundBase, "g");
    AddShip(f, kAntiAircraftSite, "aa");
    EXPECT_TRUE(FormationLayout(*state, f).empty());
}

// ---- unit data --------------------------------------------------------------

TEST_F(FleetInfoTest, ShipDataMixesShipAndClassFigures) {
    TFleet& f = MakeFleet(0, 0, "A");
    AddShip(f, kCarrier, "赤城");
    f.LandingPoints = {5, 9};
    TShip& s = f.Ships[0];
    s.Durability = 44;
    s.DeckState = 2;
    TShip& c = state->ShipClassTable[1];
    c.SideArmour = 7;
    c.AswAttackMoving = 3;
    const auto lines = ShipDataLines(*state, 0, 0);
    auto value = [&](std::string_view label) {
        for (const DataLine& l : lines) {
            if (l.Label == label) return l.Value;
        }
        return std::string("<missing>");
    };
    EXPECT_EQ(value("艦名"), "赤城");
    EXPECT_EQ(value("艦型"), "翔鶴型");
    EXPECT_EQ(value("耐久力"), "44");
    EXPECT_EQ(value("舷側防御力"), "7");
    EXPECT_EQ(value("状態"), "発艦不能");
    EXPECT_EQ(value("自軍側揚陸ポイント"), "5");
    EXPECT_EQ(value("敵軍側揚陸ポイント"), "9");
    EXPECT_EQ(value("対潜攻撃力(移動)"), "3");
    EXPECT_EQ(value("戦闘状態"), "対空警戒");
}

TEST_F(FleetInfoTest, BadFleetSlotOrTypeGiveNoFigures) {
    AddShip(MakeFleet(0, 0, "A"), kCarrier, "赤城");
    EXPECT_TRUE(ShipDataLines(*state, 0, 1).empty());
    EXPECT_TRUE(ShipDataLines(*state, 25, 0).empty());
    EXPECT_TRUE(ShipDataLines(*state, -1, 0).empty());
    EXPECT_TRUE(AircraftDataLines(*state, 201).empty());
    EXPECT_TRUE(AircraftDataLines(*state, -1).empty());
}

TEST_F(FleetInfoTest, AircraftFiguresShowEvasionAsDefence) {
    AircraftType& a = state->AircraftTypeTable[4];
    a.Name = "零戦";
    a.Evasion = 12;
    a.AttackPower = 30;
    const auto lines = AircraftDataLines(*state, 4);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0].Value, "零戦");
    EXPECT_EQ(lines[1].Label, "攻撃力");
    EXPECT_EQ(lines[1].Value, "30");
    EXPECT_EQ(lines[2].Label, "防御力");
    EXPECT_EQ(lines[2].Value, "12");
}

TEST_F(FleetInfoTest, AircraftButtonsTakeShipTypesThenFleetTypesFourThreeFive) {
    TFleet& f = MakeFleet(0, 0, "A");
    AddShip(f, kCarrier, "赤城");
    f.Ships[0].AircraftTypesAboard = {3, 255, 7000};
    f.AirTypes = {0, 0, 0, 11, 12, 255};
    const auto types = AircraftButtonTypes(*state, 0, 0);
    EXPECT_EQ(types[0], 3);
    EXPECT_FALSE(types[1]);  // none
    EXPECT_FALSE(types[2]);  // outside the table: inert too
    EXPECT_EQ(types[3], 12);
    EXPECT_EQ(types[4], 11);
    EXPECT_FALSE(types[5]);
}

TEST_F(FleetInfoTest, StanceButtonsSetTheStanceAndTheLabel) {
    AddShip(MakeFleet(0, 0, "A"), kDestroyer, "雪風");
    EXPECT_EQ(SetShipStance(*state, 0, 0, ShipStance::kAntiSubmarinePatrol), "対潜哨戒");
    EXPECT_EQ(state->FleetTable[0].Ships[0].CombatStance, 1);
    EXPECT_EQ(StanceLabel(1), "対潜哨戒");

    EXPECT_EQ(SetShipStance(*state, 0, 0, ShipStance::kAntiAirAlert), "対空哨戒");
    EXPECT_EQ(state->FleetTable[0].Ships[0].CombatStance, 0);
    EXPECT_EQ(StanceLabel(0), "対空警戒");  // what the window shows when opened again
    EXPECT_EQ(StanceLabel(7), "対空警戒");

    EXPECT_FALSE(SetShipStance(*state, 0, 1, ShipStance::kAntiSubmarinePatrol));
}

// ---- scuttling ----------------------------------------------------------------

struct ScuttleCase {
    int ship_type;
    int durability;
    int points;
};

class ScuttlePointsTable : public ::testing::TestWithParam<ScuttleCase> {};

TEST_P(ScuttlePointsTable, ByTypeAndClassDurability) {
    TShip cls;
    cls.ClassIndex = GetParam().ship_type;
    cls.Durability = GetParam().durability;
    EXPECT_EQ(ScuttlePoints(cls), GetParam().points);
}

INSTANTIATE_TEST_SUITE_P(Thresholds, ScuttlePointsTable,
                         ::testing::Values(ScuttleCase{1, 50, 50}, ScuttleCase{1, 51, 70},
                                           ScuttleCase{2, 65, 30}, ScuttleCase{2, 66, 60},
                                           ScuttleCase{3, 40, 25}, ScuttleCase{3, 41, 40},
                                           ScuttleCase{4, 15, 5}, ScuttleCase{4, 16, 10},
                                           ScuttleCase{5, 1, 40}, ScuttleCase{5, 200, 40},
                                           ScuttleCase{6, 100, 0}, ScuttleCase{7, 100, 0},
                                           ScuttleCase{0, 100, 0}, ScuttleCase{12, 100, 0}),
                         [](const ::testing::TestParamInfo<ScuttleCase>& info) {
                             return "Type" + std::to_string(info.param.ship_type) + "Durability" +
                                    std::to_string(info.param.durability);
                         });

TEST_F(FleetInfoTest, ScuttleUsesTheClassDurabilityAndRemovesTheShip) {
    TFleet& f = MakeFleet(0, 0, "A");
    AddShip(f, kBattleship, "大和");
    AddShip(f, kDestroyer, "雪風");
    state->ShipClassTable[kBattleship].Durability = 66;
    f.Ships[0].Durability = 10;  // the ship's own damage does not matter
    state->ScuttleTally = {3, 5};

    EXPECT_EQ(ScuttleShip(*state, 0, 0), 60);
    EXPECT_EQ(state->ScuttleTally[0], 3);
    EXPECT_EQ(state->ScuttleTally[1], 65);
    ASSERT_EQ(f.ShipCount, 1);
    EXPECT_EQ(f.Ships[0].Name.str(), "雪風");
}

TEST_F(FleetInfoTest, ScuttlingTheLastShipLeavesTheFleetListedEmpty) {
    TFleet& f = MakeFleet(0, 0, "A");
    AddShip(f, kTransport, "丸");
    EXPECT_EQ(ScuttleShip(*state, 0, 0), 40);
    const auto nodes = BuildOwnFleetTree(*state);
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_FALSE(nodes[0].IsShip());
}

TEST_F(FleetInfoTest, ScuttleOfAMissingShipChangesNothing) {
    AddShip(MakeFleet(0, 0, "A"), kCarrier, "赤城");
    const TFleet before = state->FleetTable[0];
    EXPECT_FALSE(ScuttleShip(*state, 0, 1));
    EXPECT_FALSE(ScuttleShip(*state, 25, 0));
    EXPECT_FALSE(ScuttleShip(*state, 0, -1));
    EXPECT_TRUE(state->FleetTable[0] == before);
    EXPECT_EQ(state->ScuttleTally[1], 0);
}

}  // namespace
}  // namespace velmora
