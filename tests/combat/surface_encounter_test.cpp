#include "combat/surface_encounter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "combat/battle_stage.h"
#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;

constexpr int kCruiserClass = 1;

class EncounterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state = NewState(3);
        SetClass(*state, kCruiserClass, kCruiser, 100);
        state->ShipClassTable[kCruiserClass].MissileLoad = 0;
        for (TFleet& f : state->FleetTable) f.EngagedFleet = kNotEngaged;
    }
    std::vector<std::string> Designations() const {
        std::vector<std::string> out;
        for (const std::string& line : ui.CallsOf("ShowBattleMessage")) {
            if (line.find("となずけます") != std::string::npos) out.push_back(line);
        }
        return out;
    }
    std::unique_ptr<GameState> state;
    RecordingFrontend ui;
};

TEST_F(EncounterTest, FleetsMeetAtFiftyButNotJustBeyond) {
    struct Case {
        const char* name;
        Point enemy;
        bool meet;
    };
    const Case cases[] = {
        {"50.0 apart", {114, 148}, true},   // 14, 48: exactly 50
        {"50.01 apart", {101, 150}, false},
        // x = 850 counts as 900: 100 beyond x 800 of a fleet at 800.
        {"beyond the map edge", {850, 100}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlaceFleet(*state, 0, {100, 100}, {kCruiserClass});
        PlaceFleet(*state, 13, c.enemy, {kCruiserClass});
        if (c.enemy.X == 850) state->Fleet(0).Position = {800, 100};
        for (TFleet& f : state->FleetTable) f.EngagedFleet = kNotEngaged;
        ui.ClearTranscript();
        ResolveSurfaceEncounters(*state, ui);
        EXPECT_EQ(ui.CallsOf("ChooseTargetShips").size(), c.meet ? 1u : 0u);
        EXPECT_EQ(state->Fleet(13).DetectLevel, c.meet ? 4 : 0);
        EXPECT_EQ(state->Fleet(0).EngagedFleet, kNotEngaged);  // cleared at the end
    }
}

TEST_F(EncounterTest, TwoComputerFleetsGetTheirOwnDesignations) {
    PlaceFleet(*state, 0, {300, 300}, {kCruiserClass});
    PlaceFleet(*state, 13, {320, 300}, {kCruiserClass});
    PlaceFleet(*state, 14, {300, 330}, {kCruiserClass});
    ResolveSurfaceEncounters(*state, ui);
    EXPECT_EQ(Designations(), (std::vector<std::string>{"ShowBattleMessage\tこの敵艦隊をイとなずけます",
                                                        "ShowBattleMessage\tこの敵艦隊をロとなずけます"}));
    EXPECT_EQ(state->Fleet(13).Designation.str(), "イ");
    EXPECT_EQ(state->Fleet(14).Designation.str(), "ロ");
    // The 3D view opens once for the step and closes once.
    EXPECT_EQ(ui.CallsOf("ShowBattleFleetView").size(), 1u);
}

TEST_F(EncounterTest, WhoFoundWhomDecidesTheAttackLineAndGunsAimAtTheFirstShip) {
    state->ShipClassTable[kCruiserClass].MainGun = 4;
    TFleet& own = PlaceFleet(*state, 5, {300, 300}, {kCruiserClass});
    own.Name = "第六艦隊";
    TFleet& enemy = PlaceFleet(*state, 2, {300, 300}, {kCruiserClass});
    enemy.Side = kComputerSideValue;  // found first, as fleet i
    enemy.Ships[0].Name = "標的艦";
    ResolveSurfaceEncounters(*state, ui);
    const auto lines = ui.CallsOf("ShowBattleMessage");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ShowBattleMessage\tイが第六艦隊を攻撃"),
              lines.end());
    EXPECT_EQ(own.Ships[0].MainGunTarget, "標的艦");
    EXPECT_EQ(own.Ships[0].SecondaryGunTarget, "");  // no secondary guns
}

TEST_F(EncounterTest, FleetsWithoutDurabilityMeetNobody) {
    PlaceFleet(*state, 0, {300, 300}, {kCruiserClass});
    PlaceFleet(*state, 13, {300, 300}, {kCruiserClass}).Ships[0].Durability = 0;
    ResolveSurfaceEncounters(*state, ui);
    EXPECT_EQ(ui.Transcript(),
              (std::vector<std::string>{std::string("SetBattleCaption\t") + std::string(kSurfaceBattleCaption)}));
}

TEST_F(EncounterTest, PrepareFleetSalvoSumsMissilesAndTakesTheFirstShipsModels) {
    TFleet& fleet = PlaceFleet(*state, 0, {0, 0}, {kCruiserClass, kCruiserClass});
    fleet.Ships[0].MissileLoad = 8;
    fleet.Ships[1].MissileLoad = 16;
    fleet.Ships[0].ModelName = "m1";
    fleet.Ships[0].ModelName2 = "m2";
    PrepareFleetSalvo(fleet);
    EXPECT_EQ(fleet.MissileSalvo.Counts[1], 24);
    EXPECT_EQ(fleet.MissileSalvo.SalvoModel.str(), "m1");
    EXPECT_EQ(fleet.MissileSalvo.SalvoModel2.str(), "m2");
}

}  // namespace
}  // namespace velmora
