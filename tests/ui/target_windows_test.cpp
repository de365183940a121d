#include "ui/target_windows.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <functional>
#include <memory>

#include "ui/flat_button.h"
#include "ui_test_input.h"

namespace velmora::ui {
namespace {

using testing::clickAt;
using testing::doubleClickAt;

// ---- 目標 -----------------------------------------------------------------

QPoint rowCentre(QListWidget* list, int row) {
    return list->visualItemRect(list->item(row)).center();
}

struct PickCase {
    const char* name;
    std::function<void(TargetListWindow&)> person;
    int expected;
};

class TargetListPick : public ::testing::TestWithParam<PickCase> {};

TEST_P(TargetListPick, ReturnsWhatThePersonChose) {
    testing::HangGuard guard;
    TargetListWindow window;
    QTimer::singleShot(0, &window, [&] { GetParam().person(window); });
    const int picked = window.pick(QStringLiteral("目標"), {"イ", "ロ", "ハ", "ニ"});
    EXPECT_EQ(picked, GetParam().expected);
    EXPECT_EQ(window.list()->count(), 0);  // the list is cleared afterwards
    EXPECT_FALSE(window.isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Choices, TargetListPick,
    ::testing::Values(
        PickCase{"CancelGives999", [](TargetListWindow& w) { w.cancelButton()->click(); }, 999},
        PickCase{"CancelAfterAClickGives999",
                 [](TargetListWindow& w) {
                     clickAt(w.list()->viewport(), rowCentre(w.list(), 2));
                     w.cancelButton()->click();
                 },
                 999},
        PickCase{"ClickThenCloseGivesTheClickedLine",
                 [](TargetListWindow& w) {
                     clickAt(w.list()->viewport(), rowCentre(w.list(), 2));
                     w.close();
                 },
                 2},
        PickCase{"CloseWithoutClickGives999", [](TargetListWindow& w) { w.close(); }, 999},
        PickCase{"OkTakesTheFirstLineSelectedAtOpening",
                 [](TargetListWindow& w) { w.okButton()->click(); }, 0},
        PickCase{"OkAfterAClick",
                 [](TargetListWindow& w) {
                     clickAt(w.list()->viewport(), rowCentre(w.list(), 3));
                     w.okButton()->click();
                 },
                 3},
        PickCase{"DoubleClickCloses",
                 [](TargetListWindow& w) {
                     doubleClickAt(w.list()->viewport(), rowCentre(w.list(), 1));
                 },
                 1}),
    [](const ::testing::TestParamInfo<PickCase>& info) { return info.param.name; });

TEST(TargetListWindow, OkOnAnEmptyListGives999) {
    TargetListWindow window;
    QTimer::singleShot(0, &window, [&] { window.okButton()->click(); });
    EXPECT_EQ(window.pick(QStringLiteral("目標"), {}), 999);
}

// ---- 攻撃目標選択 -----------------------------------------------------------

QString checkedText(QButtonGroup* group) {
    QAbstractButton* button = group->checkedButton();
    return button ? button->text() : QString();
}

struct OpeningCase {
    int group;
    const char* selected;
};

class AttackTargetOpening : public ::testing::TestWithParam<OpeningCase> {};

TEST_P(AttackTargetOpening, SelectsTheRecordsGroup) {
    AttackTargetWindow window;
    TAirUnit attack;
    attack.TargetGroup = GetParam().group;
    attack.TargetRequest = {6, 9, 0, 0, 0, 0, 0, 0, 0};
    QString seen;
    std::array<QString, 3> counts;
    QTimer::singleShot(0, &window, [&] {
        seen = checkedText(window.typeGroup());
        for (int g = 0; g < 3; ++g)
            counts[static_cast<std::size_t>(g)] = checkedText(window.countGroup(g));
        window.decideButton()->click();
    });
    window.choose(attack, QStringLiteral("第一艦隊"));
    EXPECT_EQ(seen, QString::fromUtf8(GetParam().selected));
    EXPECT_EQ(counts[0], QStringLiteral("六艦"));
    EXPECT_EQ(counts[1], QStringLiteral("任意"));
    EXPECT_EQ(counts[2], QString());                  // request 0: nothing selected
    EXPECT_EQ(attack.TargetGroup, GetParam().group);  // decided unchanged
}

INSTANTIATE_TEST_SUITE_P(Groups, AttackTargetOpening,
                         ::testing::Values(OpeningCase{6, "地上基地"}, OpeningCase{5, "輸送船"},
                                           OpeningCase{11, "第一戦艦、第二巡洋艦、第三駆逐艦"},
                                           OpeningCase{8, ""}),
                         [](const ::testing::TestParamInfo<OpeningCase>& info) {
                             return "Group" + std::to_string(info.param.group);
                         });

TEST(AttackTargetWindow, ClicksReachTheRecordOnDecide) {
    AttackTargetWindow window;
    TAirUnit attack;
    attack.TargetGroup = 2;
    attack.TargetRequest = {1, 1, 1, 4, 4, 4, 4, 4, 4};
    QString caption;
    QTimer::singleShot(0, &window, [&] {
        caption = window.captionLabel()->text();
        window.typeGroup()->button(9)->click();    // "対空陣地"
        window.countGroup(0)->button(8)->click();  // "任意"
        window.countGroup(1)->button(5)->click();  // "六艦"
        window.stateGroup()->button(2)->click();   // "損傷艦" stays in the window
        window.decideButton()->click();
    });
    window.choose(attack, QStringLiteral("ミサイル攻撃"));
    EXPECT_EQ(caption, QStringLiteral("ミサイル攻撃"));
    EXPECT_EQ(attack.TargetGroup, 7);
    EXPECT_EQ(attack.TargetRequest[0], 9);
    EXPECT_EQ(attack.TargetRequest[1], 6);
    EXPECT_EQ(attack.TargetRequest[2], 1);
    EXPECT_EQ(attack.TargetRequest[3], 4);
}

// ---- 索敵情報 -----------------------------------------------------------------

class SearchInfoWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state = std::make_unique<GameState>();
        for (int type = 1; type <= 7; ++type)
            state->ShipClassTable[static_cast<std::size_t>(type)].ClassIndex = type;
        fleet.Designation = "ホ";
        fleet.Position = {10, 20};
        fleet.Side = 1;
        fleet.ShipCount = 3;
        fleet.Ships[0].ClassIndex = kCarrier;
        fleet.Ships[1].ClassIndex = kDestroyer;
        fleet.Ships[2].ClassIndex = kDestroyer;
    }
    std::unique_ptr<GameState> state;
    TFleet fleet;
};

TEST_F(SearchInfoWindowTest, LevelOneShowsUnknownCountsAndNoDetail) {
    SearchInfoWindow window;
    window.setDetailHandler([](const TFleet&) {});
    fleet.DetectLevel = 1;
    window.show(fleet, *state);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.valueOf("秘匿名"), QStringLiteral("ホ"));
    EXPECT_EQ(window.valueOf("位置"), QStringLiteral("X:10Y:20"));
    for (const char* label : {"総隻数", "戦艦", "空母"}) {
        EXPECT_EQ(window.valueOf(QString::fromUtf8(label)), QStringLiteral("不明")) << label;
    }
    EXPECT_FALSE(window.detailButton()->isVisible());
    window.cancelButton()->click();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(SearchInfoWindowTest, ShowingAnotherFleetReplacesEveryValue) {
    SearchInfoWindow window;
    fleet.DetectLevel = 3;
    window.show(fleet, *state);
    EXPECT_EQ(window.valueOf("駆逐艦"), QStringLiteral("2"));
    fleet.DetectLevel = 2;
    window.show(fleet, *state);
    EXPECT_EQ(window.valueOf("空母"), QStringLiteral("伴う"));
    EXPECT_EQ(window.valueOf("駆逐艦"), QStringLiteral("不明"));
    window.close();
}

TEST_F(SearchInfoWindowTest, DetailAtLevelFourOpensTheFleetsView) {
    SearchInfoWindow window;
    fleet.DetectLevel = 4;
    window.show(fleet, *state);
    EXPECT_FALSE(window.detailButton()->isVisible());  // nothing to open yet

    std::string opened;
    window.setDetailHandler([&](const TFleet& f) { opened = f.Designation.str(); });
    window.show(fleet, *state);
    ASSERT_TRUE(window.detailButton()->isVisible());
    window.detailButton()->click();
    EXPECT_EQ(opened, "ホ");
    EXPECT_EQ(window.valueOf("防衛側揚陸ポイント"), QStringLiteral("0"));
    window.close();
}

}  // namespace
}  // namespace velmora::ui
