#include "orders/formation_session.h"

#include <gtest/gtest.h>

#include "air/air_units.h"
#include "orders/orders.h"
#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;

constexpr int kFighterType = 1;
constexpr int kAttackType = 2;
constexpr int kScoutType = 3;

// Player carrier fleet 0 at (200, 200): hangar 20 fighters, 10 attack, 6
// search; deck standby 40. Computer fleet 13 detected as "イ" at (400, 200).
class FormationTest : public ::testing::Test {
protected:
    void SetUp() override {
        state = NewState();
        state->Hour = 10;
        SetClass(*state, 1, kCarrier, 100);
        state->AircraftTypeTable[kFighterType].Range = 190;
        state->AircraftTypeTable[kAttackType].Range = 250;
        state->AircraftTypeTable[kScoutType].Range = 300;
        TFleet& own = PlaceFleet(*state, 0, {200, 200}, {1});
        own.Ships[0].DeckStandby = 40;
        own.Ships[0].AircraftCapacity = 60;
        own.HangarCounts = {20, 10, 6, 0, 0, 0};
        own.AirTypes = {kFighterType, kAttackType, kScoutType, 0, 0, 0};
        own.Name = "第一艦隊";
        TFleet& enemy = PlaceFleet(*state, 13, {400, 200}, {1});
        enemy.DetectLevel = 1;
        enemy.Designation = "イ";
        state->MovieFile = "launch.ogv";
    }
    TFleet& Own() { return state->FleetTable[0]; }
    // Answers the next questions, then edits.
    bool Edit(FormationSession& s, FormationBox box, int g, std::vector<std::string> answers) {
        for (auto& a : answers) ui.Answer(a);
        const bool taken = s.EditCount(ui, box, g);
        ui.ClearAnswers();
        return taken;
    }

    std::unique_ptr<GameState> state;
    RecordingFrontend ui;
};

TEST_F(FormationTest, AnAcceptedEditTakesAircraftFromTheHangarAndDecideWritesBack) {
    FormationSession s(*state, 0);
    EXPECT_EQ(state->MapMode, kMapModeNormal);
    EXPECT_TRUE(Edit(s, FormationBox::kFighters, 0, {"8"}));
    EXPECT_TRUE(Edit(s, FormationBox::kAttackers, 0, {"10"}));
    EXPECT_TRUE(Edit(s, FormationBox::kPatrol, 0, {"6"}));
    EXPECT_TRUE(Edit(s, FormationBox::kSearch, 0, {"4"}));
    EXPECT_TRUE(s.ChangeLoad(ui, 0, 1));
    EXPECT_EQ(s.Hangar(), (std::array<int, 3>{6, 0, 2}));
    EXPECT_EQ(ui.CallsOf("AskNumber")[0],
              "AskNumber\t攻撃隊編成\t攻撃隊１の戦闘機数を入力してください。\t0\t20");
    EXPECT_EQ(ui.CallsOf("AskNumber")[2], "AskNumber\t攻撃隊編成\t直掩機数を入力してください。\t0\t12");
    EXPECT_TRUE(ui.CallsOf("Confirm").empty());  // an idle group asks no regroup question

    ASSERT_TRUE(s.Decide());
    const TAirUnit& unit = Own().AirUnits[0];
    EXPECT_EQ(unit.Counts[0], 8);
    EXPECT_EQ(unit.Counts[1], 10);
    EXPECT_EQ(unit.AircraftTypes[1], kAttackType);
    EXPECT_EQ(unit.AttackKind, 1);
    EXPECT_EQ(unit.State, kAirServicing);
    EXPECT_EQ(Own().HangarCounts[0], 6);
    EXPECT_EQ(Own().CapReady, 6);
    EXPECT_EQ(Own().ScoutReady, 4);
}

TEST_F(FormationTest, GroupsThreeAndFourAreAskedLikeTheFirstTwo) {
    FormationSession s(*state, 0);
    Edit(s, FormationBox::kAttackers, 3, {"cancel"});
    EXPECT_EQ(ui.CallsOf("AskNumber")[0],
              "AskNumber\t攻撃隊編成\t攻撃隊４の爆撃機数を入力してください。\t0\t10");
}

struct RefusedCase {
    const char* what;
    FormationBox box;
    std::string answer;
};

class RefusedEdit : public FormationTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedEdit, RestoresSilently) {
    Own().Ships[0].DeckStandby = 12;
    FormationSession s(*state, 0);
    ASSERT_TRUE(Edit(s, FormationBox::kFighters, 1, {"10"}));
    EXPECT_FALSE(Edit(s, GetParam().box, 1, {GetParam().answer})) << GetParam().what;
    EXPECT_EQ(s.Group(1).Counts[0], 10);
    EXPECT_EQ(s.Group(1).Counts[1], 0);
    EXPECT_EQ(s.Patrol(), 0);
    EXPECT_EQ(s.Hangar(), (std::array<int, 3>{10, 10, 6}));
    EXPECT_TRUE(ui.CallsOf("MessageOk").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedEdit,
    ::testing::Values(RefusedCase{"cancelled", FormationBox::kFighters, "cancel"},
                      RefusedCase{"negative", FormationBox::kFighters, "-1"},
                      RefusedCase{"not a number", FormationBox::kAttackers, "x"},
                      RefusedCase{"over the deck", FormationBox::kAttackers, "3"},
                      RefusedCase{"patrol over the deck", FormationBox::kPatrol, "3"}));

TEST_F(FormationTest, ZeroDeckCapacityRefusesAnyFormation) {
    Own().Ships[0].DeckState = kDeckNoTakeOff;
    FormationSession s(*state, 0);
    EXPECT_EQ(s.DeckCapacity(), 0);
    EXPECT_FALSE(Edit(s, FormationBox::kFighters, 0, {"1"}));
    EXPECT_FALSE(Edit(s, FormationBox::kPatrol, 0, {"1"}));
    EXPECT_TRUE(Edit(s, FormationBox::kSearch, 0, {"0"}));
    EXPECT_TRUE(s.Decide());  // an empty formation still closes the window
}

TEST_F(FormationTest, AReadyGroupAsksBeforeRegroupingAndCancelKeepsEverything) {
    TAirUnit& unit = Own().AirUnits[0];
    unit.Counts = {6, 4, 0, 0, 0, 0};
    unit.State = kAirReady;
    Own().HangarCounts = {14, 6, 6, 0, 0, 0};
    {
        FormationSession s(*state, 0);
        EXPECT_FALSE(Edit(s, FormationBox::kFighters, 0, {"no"}));
        EXPECT_EQ(unit.State, kAirReady);
        EXPECT_TRUE(ui.CallsOf("AskNumber").empty());
        EXPECT_TRUE(s.ChangeLoad(ui, 0, 1));  // no answer queued: the recording front end says OK
    }
    EXPECT_EQ(unit.State, kAirRearming1);
    unit.State = kAirReady;
    FormationSession s(*state, 0);
    EXPECT_TRUE(Edit(s, FormationBox::kFighters, 0, {"yes", "2"}));
    EXPECT_EQ(ui.CallsOf("Confirm").back(), "Confirm\t確認\t再編成を行いますか？");
    EXPECT_EQ(unit.State, kAirRearming1);  // at once, in the fleet record
    EXPECT_EQ(s.Hangar()[0], 18);
}

TEST_F(FormationTest, AGroupInTheAirKeepsItsCountsAndTradesNothing) {
    TAirUnit& unit = Own().AirUnits[2];
    unit.Counts = {5, 7, 0, 0, 0, 0};
    unit.State = kAirReturning;
    FormationSession s(*state, 0);
    EXPECT_TRUE(s.InTheAir(2));
    EXPECT_EQ(s.StateText(2), "帰還中");
    EXPECT_EQ(s.Group(2).Counts[0], 0);
    EXPECT_FALSE(Edit(s, FormationBox::kFighters, 2, {"1"}));
    ASSERT_TRUE(Edit(s, FormationBox::kFighters, 0, {"20"}));
    Edit(s, FormationBox::kFighters, 1, {"1"});
    EXPECT_EQ(s.Group(1).Counts[0], 0);  // the hangar has no fighter left to give
    ASSERT_TRUE(s.Decide());
    EXPECT_EQ(unit.Counts[0], 5);
    EXPECT_EQ(unit.Counts[1], 7);
    EXPECT_EQ(unit.State, kAirReturning);
}

struct HourCase {
    int hour;
    bool asks;
};

class LaunchHour : public FormationTest, public ::testing::WithParamInterface<HourCase> {};

TEST_P(LaunchHour, TheAttackButtonAsksOnlyByDay) {
    state->Hour = GetParam().hour;
    Own().AirUnits[0].Counts[1] = 4;
    Own().AirUnits[0].State = kAirReady;
    LaunchSession s(*state, 0);
    EXPECT_EQ(state->MapMode, kMapModeAirRaidTarget);
    EXPECT_EQ(s.SelectGroup(ui, 0), GetParam().asks);
    EXPECT_EQ(ui.CallsOf("MessageAsk").size(), GetParam().asks ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Hours, LaunchHour,
                         ::testing::Values(HourCase{4, false}, HourCase{5, true},
                                           HourCase{19, true}, HourCase{20, false}));

TEST_F(FormationTest, GroupsNotReadyCannotBeSelected) {
    for (std::uint8_t st : {kAirServicing, kAirRearming1, kAirRearming2}) {
        Own().AirUnits[0].Counts[1] = 4;
        Own().AirUnits[0].State = st;
        LaunchSession s(*state, 0);
        EXPECT_FALSE(s.SelectGroup(ui, 0));
    }
    Own().AirUnits[0] = TAirUnit{};
    Own().AirUnits[0].State = kAirReady;  // ready but empty
    LaunchSession s(*state, 0);
    EXPECT_FALSE(s.SelectGroup(ui, 0));
    EXPECT_TRUE(ui.CallsOf("MessageAsk").empty());
}

struct RangeCase {
    int target_x;
    bool listed;
};

class LaunchRange : public FormationTest, public ::testing::WithParamInterface<RangeCase> {};

// Fighters of range 190: the player reaches 200 pixels, not 201.
TEST_P(LaunchRange, ReachesTheRadiusPlusTen) {
    state->FleetTable[13].Position = {GetParam().target_x, 200};
    Own().AirUnits[0].Counts[0] = 4;
    Own().AirUnits[0].AircraftTypes[0] = kFighterType;
    Own().AirUnits[0].State = kAirReady;
    LaunchSession s(*state, 0);
    ASSERT_TRUE(s.SelectGroup(ui, 0));
    const std::vector<StrikeTargetEntry> list = s.TargetsAt(ui, {GetParam().target_x, 200});
    EXPECT_EQ(list.size(), GetParam().listed ? 1u : 0u);
    EXPECT_EQ(ui.CallsOf("MessageOk").size(), GetParam().listed ? 0u : 1u);
    if (!GetParam().listed) {
        EXPECT_EQ(ui.CallsOf("MessageOk")[0], "MessageOk\t航続距離外\t航空機の航続距離外です。");
    }
}

INSTANTIATE_TEST_SUITE_P(Distances, LaunchRange,
                         ::testing::Values(RangeCase{400, true}, RangeCase{401, false}));

TEST_F(FormationTest, ALaunchSendsTheSelectedGroupsWithTheirClipsAndCountsOn) {
    Own().LaunchCounter = 2;
    for (std::size_t g : {0u, 1u}) {
        Own().AirUnits[g].Counts[1] = 4;
        Own().AirUnits[g].AircraftTypes[1] = kAttackType;
        Own().AirUnits[g].State = kAirReady;
    }
    TFleet& marker = state->ContactTable[2];
    marker.Active = 1;
    marker.Side = 1;
    marker.DetectLevel = 1;
    marker.Designation = "ロ";
    marker.Position = {405, 205};
    LaunchSession s(*state, 0);
    ASSERT_TRUE(s.SelectGroup(ui, 0));
    ASSERT_TRUE(s.SelectGroup(ui, 1));
    ui.Answer("999");  // the list cancelled
    EXPECT_FALSE(s.ChooseStrikeTarget(ui, {400, 200}).has_value());
    EXPECT_EQ(ui.CallsOf("PickTarget").back(), "PickTarget\t目標\tイ|ロ");
    ui.Answer("1");
    const std::optional<int> target = s.ChooseStrikeTarget(ui, {400, 200});
    ASSERT_EQ(target, std::optional<int>(kMarkerTarget));
    s.Launch(ui, *target);
    EXPECT_EQ(Own().AirUnits[0].State, kAirOutbound);
    EXPECT_EQ(Own().AirUnits[1].StrikeTarget, kMarkerTarget);
    EXPECT_EQ(ui.CallsOf("PlayMovie"),
              (std::vector<std::string>{"PlayMovie\tlaunch.ogv\t第一艦隊第3攻撃隊発艦します！",
                                        "PlayMovie\tlaunch.ogv\t第一艦隊第4攻撃隊発艦します！"}));
    EXPECT_EQ(Own().LaunchCounter, 4);
    EXPECT_EQ(state->MapMode, kMapModeNormal);
    EXPECT_EQ(ui.CallsOf("RefreshPalette").size(), 1u);
}

TEST_F(FormationTest, AStrikeFliesOutAndReturnsThroughTheStates) {
    Own().AirUnits[0].Counts[1] = 4;
    Own().AirUnits[0].State = kAirReady;
    LaunchSession s(*state, 0);
    ASSERT_TRUE(s.SelectGroup(ui, 0));
    s.Launch(ui, 13);
    EXPECT_EQ(Own().AirUnits[0].State, kAirOutbound);
    AdvanceAirUnits(*state);
    FormationSession f(*state, 0);
    EXPECT_EQ(f.StateText(0), "帰還中");
    AdvanceAirUnits(*state);
    EXPECT_EQ(Own().AirUnits[0].State, kAirIdle);
}

}  // namespace
}  // namespace velmora
