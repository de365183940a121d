#include "orders/target_choice.h"

#include <gtest/gtest.h>

#include <memory>

namespace velmora {
namespace {

// ---- attack-target radio mapping ------------------------------------------

struct ItemGroup {
    int item;
    int group;
};

class TargetGroupMapping : public ::testing::TestWithParam<ItemGroup> {};

TEST_P(TargetGroupMapping, ItemAndGroupMapBothWays) {
    EXPECT_EQ(TargetGroupForItem(GetParam().item), GetParam().group);
    EXPECT_EQ(ItemForTargetGroup(GetParam().group), GetParam().item);
}

INSTANTIATE_TEST_SUITE_P(AllItems, TargetGroupMapping,
                         ::testing::Values(ItemGroup{0, 2}, ItemGroup{1, 1}, ItemGroup{2, 3},
                                           ItemGroup{3, 4}, ItemGroup{4, 5}, ItemGroup{5, 9},
                                           ItemGroup{6, 10}, ItemGroup{7, 11}, ItemGroup{8, 6},
                                           ItemGroup{9, 7}),
                         [](const ::testing::TestParamInfo<ItemGroup>& info) {
                             return "Item" + std::to_string(info.param.item);
                         });

TEST(TargetGroupMapping, GroupsWithoutItemAndBadItemsGiveNothing) {
    for (int group : {0, 8, 12, -1, 999}) EXPECT_FALSE(ItemForTargetGroup(group)) << group;
    for (int item : {-1, 10, 255}) EXPECT_FALSE(TargetGroupForItem(item)) << item;
    for (int request : {0, 10, -3}) EXPECT_FALSE(ItemForRequest(request)) << request;
    for (int item : {-1, 9}) EXPECT_FALSE(RequestForItem(item)) << item;
}

TEST(TargetChoiceSession, OpensOnTheRecordsGroupAndRequests) {
    TAirUnit attack;
    attack.TargetGroup = 6;
    attack.TargetRequest = {2, 0, 9, 0, 0, 0, 0, 0, 0};
    TargetChoiceSession session(attack);
    ASSERT_TRUE(session.SelectedTypeItem());
    EXPECT_EQ(kTargetShipTypeItems[static_cast<std::size_t>(*session.SelectedTypeItem())],
              "地上基地");
    EXPECT_EQ(session.SelectedCountItem(0), 1);
    EXPECT_FALSE(session.SelectedCountItem(1));  // request 0 has no item
    EXPECT_EQ(session.SelectedCountItem(2), 8);

    attack.TargetGroup = 5;
    EXPECT_EQ(kTargetShipTypeItems[static_cast<std::size_t>(
                  *TargetChoiceSession(attack).SelectedTypeItem())],
              "輸送船");
}

TEST(TargetChoiceSession, ClicksStoreGroupAndRequestValues) {
    TAirUnit attack;
    attack.TargetGroup = 2;
    attack.TargetRequest = {1, 1, 1, 7, 7, 7, 7, 7, 7};
    TargetChoiceSession session(attack);
    session.ChooseTypeItem(7);      // "第一戦艦、第二巡洋艦、第三駆逐艦"
    session.ChooseCountItem(0, 8);  // "任意"
    session.ChooseCountItem(1, 5);  // "六艦"
    session.ChooseCountItem(2, 0);  // "一艦"
    session.Apply(attack);
    EXPECT_EQ(attack.TargetGroup, 11);
    EXPECT_EQ(attack.TargetRequest[0], 9);
    EXPECT_EQ(attack.TargetRequest[1], 6);
    EXPECT_EQ(attack.TargetRequest[2], 1);
    for (std::size_t i = 3; i < attack.TargetRequest.size(); ++i)
        EXPECT_EQ(attack.TargetRequest[i], 7);
}

TEST(TargetChoiceSession, UnmatchedGroupAndBadClicksLeaveTheRecordAlone) {
    TAirUnit attack;
    attack.TargetGroup = 8;  // no item shows group 8
    attack.TargetRequest = {3, 4, 5, 0, 0, 0, 0, 0, 0};
    TargetChoiceSession session(attack);
    EXPECT_FALSE(session.SelectedTypeItem());
    session.ChooseTypeItem(10);
    session.ChooseTypeItem(-1);
    session.ChooseCountItem(3, 2);
    session.ChooseCountItem(-1, 2);
    session.ChooseCountItem(0, 9);
    const TAirUnit before = attack;
    session.Apply(attack);
    EXPECT_EQ(attack, before);
}

// ---- search information ---------------------------------------------------

class SearchInfoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state = std::make_unique<GameState>();
        for (int type = 1; type <= 7; ++type) {
            state->ShipClassTable[static_cast<std::size_t>(type)].ClassIndex = type;
        }
        state->ShipClassLast = 7;
        fleet.Designation = "ハ";
        fleet.Position = {321, 45};
        fleet.Side = 1;
        fleet.LandingPoints = {17, 40};
    }

    void AddShips(int ship_type, int n) {
        for (int i = 0; i < n; ++i) {
            fleet.Ships[static_cast<std::size_t>(fleet.ShipCount++)].ClassIndex = ship_type;
        }
    }

    std::string Value(std::string_view label) const {
        for (const SearchInfoLine& line : SearchInfoLines(*state, fleet)) {
            if (line.Label == label) return line.Value;
        }
        ADD_FAILURE() << "no line " << label;
        return {};
    }

    std::unique_ptr<GameState> state;
    TFleet fleet;
};

struct LevelCase {
    int level;
    // 秘匿名, 位置, 索敵レベル, 総隻数, 戦艦, 空母, 巡洋艦, 駆逐艦, 輸送船, 防衛側, 侵攻側
    std::array<const char*, 11> values;
};

class SearchInfoByLevel : public SearchInfoTest, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(SearchInfoByLevel, ShowsWhatTheLevelReveals) {
    AddShips(kBattleship, 2);
    AddShips(kCarrier, 1);
    AddShips(kCruiser, 3);
    AddShips(kDestroyer, 4);
    AddShips(kTransport, 1);
    AddShips(kGroundBase, 1);
    fleet.DetectLevel = GetParam().level;
    const auto lines = SearchInfoLines(*state, fleet);
    const std::array<const char*, 11> labels{"秘匿名",
                                             "位置",
                                             "索敵レベル",
                                             "総隻数",
                                             "戦艦",
                                             "空母",
                                             "巡洋艦",
                                             "駆逐艦",
                                             "輸送船",
                                             "防衛側揚陸ポイント",
                                             "侵攻側揚陸ポイント"};
    ASSERT_EQ(lines.size(), labels.size());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(lines[i].Label, labels[i]);
        EXPECT_EQ(lines[i].Value, GetParam().values[i]) << labels[i];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Levels, SearchInfoByLevel,
    ::testing::Values(
        LevelCase{
            0,
            {"不明", "不明", "0", "不明", "不明", "不明", "不明", "不明", "不明", "不明", "不明"}},
        LevelCase{1,
                  {"ハ", "X:321Y:45", "1", "不明", "不明", "不明", "不明", "不明", "不明", "不明",
                   "不明"}},
        LevelCase{
            2,
            {"ハ", "X:321Y:45", "2", "12", "不明", "伴う", "不明", "不明", "不明", "不明", "不明"}},
        LevelCase{3, {"ハ", "X:321Y:45", "3", "12", "2", "1", "3", "4", "1", "不明", "不明"}},
        // The base's own side (1) defends, the other side invades.
        LevelCase{4, {"ハ", "X:321Y:45", "4", "12", "2", "1", "3", "4", "1", "40", "17"}},
        // A broken record's level above 4 reveals no more than 4.
        LevelCase{9, {"ハ", "X:321Y:45", "4", "12", "2", "1", "3", "4", "1", "40", "17"}}),
    [](const ::testing::TestParamInfo<LevelCase>& info) {
        return "Level" + std::to_string(info.param.level);
    });

TEST_F(SearchInfoTest, LevelTwoWithoutCarriers) {
    AddShips(kDestroyer, 3);
    fleet.DetectLevel = 2;
    EXPECT_EQ(Value("空母"), "伴わない");
    EXPECT_EQ(Value("総隻数"), "3");
}

TEST_F(SearchInfoTest, LevelFourFleetWithoutInstallationDefendsNothing) {
    AddShips(kCruiser, 2);
    fleet.DetectLevel = 4;
    EXPECT_EQ(Value("防衛側揚陸ポイント"), "0");
    EXPECT_EQ(Value("侵攻側揚陸ポイント"), "17");
    EXPECT_TRUE(SearchInfoOffersDetail(fleet));
    fleet.DetectLevel = 3;
    EXPECT_FALSE(SearchInfoOffersDetail(fleet));
}

TEST_F(SearchInfoTest, BrokenRecordIsCountedWithinBounds) {
    fleet.ShipCount = 500;  // more than the 41 slots
    fleet.Ships[0].ClassIndex = 9999;
    fleet.Ships[1].ClassIndex = -7;
    fleet.Ships[2].ClassIndex = kGroundBase;
    fleet.Side = 200;  // no such side
    fleet.DetectLevel = 4;
    const ShipTypeCounts counts = CountShipsByType(*state, fleet);
    EXPECT_EQ(counts.Ships, kShipSlots);
    EXPECT_EQ(counts.Of(kCarrier), 0);
    EXPECT_EQ(Value("総隻数"), "41");
    EXPECT_EQ(Value("防衛側揚陸ポイント"), "0");
}

TEST_F(SearchInfoTest, CountsTheHiddenFortressType) {
    state->ShipClassTable[12].ClassIndex = 12;
    fleet.Ships[0].ClassIndex = 12;
    fleet.ShipCount = 1;
    EXPECT_EQ(CountShipsByType(*state, fleet).Of(12), 1);
    EXPECT_EQ(CountShipsByType(*state, fleet).Of(13), 0);
}

}  // namespace
}  // namespace velmora
