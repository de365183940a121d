#include "orders/orders_script.h"

#include <gtest/gtest.h>

#include <sstream>

#include "air/air_units.h"
#include "orders/orders.h"
#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;

struct BadLineCase {
    const char* text;
    const char* error;
};

class BadScriptLine : public ::testing::TestWithParam<BadLineCase> {};

TEST_P(BadScriptLine, IsNamedWithFileAndLine) {
    std::string error;
    EXPECT_FALSE(ParseOrdersScript(GetParam().text, "a.orders", error).has_value());
    EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BadScriptLine,
    ::testing::Values(
        BadLineCase{"select 0\n", "a.orders:1: error: 'select' comes before the first turn line"},
        BadLineCase{"turn 1\n\nfly 3\n", "a.orders:3: error: unknown order 'fly'"},
        BadLineCase{"turn 1\nmove 10\n", "a.orders:2: error: usage: move X Y"},
        BadLineCase{"turn 1\nmove 10 y\n", "a.orders:2: error: 'y' is not a whole number"},
        BadLineCase{"turn 1\nfighters 5 3\n", "a.orders:2: error: strike group 5 is not 1..4"},
        BadLineCase{"turn 1\nload 1 torpedo\n",
                    "a.orders:2: error: weapon load 'torpedo' is not ship or ground"},
        BadLineCase{"turn 2\nturn 1\n", "a.orders:2: error: turn 1 comes after turn 2"},
        BadLineCase{"turn x\n", "a.orders:1: error: usage: turn NUMBER (1 or more)"}));

TEST(OrdersScriptReading, GroupsOrdersByTurnAndSkipsCommentsAndBlankLines) {
    std::string error;
    const auto script = ParseOrdersScript(
        "\xEF\xBB\xBF# demo\r\nturn 1\r\nselect 0  # the carriers\r\n\r\nturn 3\nsector 2\n",
        "a.orders", error);
    ASSERT_TRUE(script.has_value()) << error;
    ASSERT_EQ(script->Turns.size(), 2u);
    EXPECT_EQ(script->Turns.at(1).at(0).Verb, "select");
    EXPECT_EQ(script->Turns.at(1).at(0).Line, 3);
    EXPECT_EQ(script->Turns.at(3).at(0).Args, std::vector<std::string>{"2"});
}

// Player carrier fleet 0 at (200, 300), computer fleet 13 known as "イ" at
// (350, 300). Turn 1 at hour 10.
class OrdersScriptPlay : public ::testing::Test {
protected:
    void SetUp() override {
        state = NewState();
        state->Hour = 10;
        state->MapMode = kMapModeNormal;
        SetClass(*state, 1, kCarrier, 100);
        state->AircraftTypeTable[1].Range = 300;
        state->AircraftTypeTable[2].Range = 300;
        state->AircraftTypeTable[3].Range = 300;
        TFleet& own = PlaceFleet(*state, 0, {200, 300}, {1});
        own.Ships[0].DeckStandby = 50;
        own.Ships[0].AircraftCapacity = 60;
        own.HangarCounts = {20, 20, 6, 0, 0, 0};
        own.AirTypes = {1, 2, 3, 0, 0, 0};
        own.ScoutType = 3;
        TFleet& enemy = PlaceFleet(*state, 13, {350, 300}, {1});
        enemy.DetectLevel = 1;
        enemy.Designation = "イ";
    }
    std::string Play(const std::string& text) {
        std::string error;
        auto script = ParseOrdersScript(text, "s.orders", error);
        EXPECT_TRUE(script.has_value()) << error;
        std::ostringstream warnings;
        OrdersPlayer player(*script, *state, ui, ".", warnings);
        player.PlayTurn();
        return warnings.str();
    }
    TFleet& Own() { return state->FleetTable[0]; }

    std::unique_ptr<GameState> state;
    RecordingFrontend ui;
};

TEST_F(OrdersScriptPlay, FormsSearchesAndLaunchesThroughTheWindowsRules) {
    const std::string warnings = Play(
        "turn 1\nselect 0\nsector 2\nformation\nfighters 1 6\nattackers 1 10\nload 1 ground\n"
        "patrol 4\nscouts 3\ndecide\n");
    EXPECT_EQ(warnings, "");
    EXPECT_EQ(Own().SearchSectors[2], 1);
    EXPECT_EQ(Own().AirUnits[0].Counts[1], 10);
    EXPECT_EQ(Own().AirUnits[0].AttackKind, 1);
    EXPECT_EQ(Own().AirUnits[0].State, kAirServicing);
    EXPECT_EQ(Own().CapReady, 4);
    EXPECT_EQ(Own().ScoutReady, 3);
    EXPECT_EQ(Own().HangarCounts[0], 10);

    Own().AirUnits[0].State = kAirReady;
    EXPECT_EQ(Play("turn 1\nlaunch\nattack 1\ntarget 358 308\n"), "");
    EXPECT_EQ(Own().AirUnits[0].State, kAirOutbound);
    EXPECT_EQ(Own().AirUnits[0].StrikeTarget, 13);
    EXPECT_EQ(state->MapMode, kMapModeNormal);
}

TEST_F(OrdersScriptPlay, RefusedOrdersAreWarnedAndSkippedAsTheWindowWould) {
    state->Hour = 20;
    Own().Ships[0].DeckStandby = 40;
    Own().AirUnits[0].Counts[1] = 4;
    Own().AirUnits[0].State = kAirReady;
    const std::string warnings =
        Play("turn 1\nselect 7\nselect 0\nformation\nfighters 1 900\nattackers 1 60\ndecide\n"
             "launch\nattack 1\ndecide\n");
    EXPECT_EQ(warnings,
              "s.orders:2: warning: select: fleet is not in play; skipped\n"
              "s.orders:6: warning: attackers: the window kept the old value; skipped\n"
              "s.orders:9: warning: attack: strike group 1 cannot take off now (not ready, "
              "empty, or not between 5 and 19 o'clock); skipped\n");
    // 900 is held at the maximum the hangar allows, as the input window does;
    // the regroup question was answered OK.
    EXPECT_EQ(Own().AirUnits[0].Counts[0], 20);
    EXPECT_EQ(Own().AirUnits[0].State, kAirRearming1);
}

TEST_F(OrdersScriptPlay, AnAnswerLineAnswersTheNextQuestion) {
    Own().AirUnits[0].Counts[1] = 4;
    Own().AirUnits[0].State = kAirReady;
    const std::string warnings =
        Play("turn 1\nselect 0\nformation\nanswer no\nfighters 1 2\ndecide\n");
    EXPECT_EQ(warnings, "s.orders:5: warning: fighters: the window kept the old value; skipped\n");
    EXPECT_EQ(Own().AirUnits[0].State, kAirReady);
    EXPECT_EQ(Own().AirUnits[0].Counts[0], 0);
}

TEST_F(OrdersScriptPlay, AWindowLeftOpenIsClosedUnchangedAtTheTurnEnd) {
    const std::string warnings = Play("turn 1\nselect 0\nformation\npatrol 4\n");
    EXPECT_EQ(warnings,
              "s.orders:3: warning: the strike-group window was still open at the end of the "
              "turn; closed without changes\n");
    EXPECT_EQ(Own().CapReady, 0);
}

TEST(OrderVerbTable, EveryVerbHasAUsageThatNamesIt) {
    for (const OrderVerb& v : OrderVerbs()) {
        EXPECT_EQ(std::string(v.Usage).rfind(std::string(v.Name), 0), 0u) << v.Name;
        EXPECT_TRUE(v.Run && v.Check) << v.Name;
    }
}

}  // namespace
}  // namespace velmora
