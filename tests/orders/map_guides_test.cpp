#include "orders/map_guides.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "orders/message_log.h"
#include "orders/orders.h"
#include "support/state_fixture.h"

namespace velmora {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using velmora::testing::NewState;
using velmora::testing::PlaceFleet;
using velmora::testing::SetRoute;

TEST(RouteLinesTest, EachOwnFleetLeadsThroughItsWaypointsInSailingOrder) {
    auto state = NewState();
    SetRoute(PlaceFleet(*state, 0, {100, 100}, {}), {{150, 100}, {150, 150}});
    PlaceFleet(*state, 1, {300, 300}, {});                         // no route: no line
    SetRoute(PlaceFleet(*state, 14, {500, 500}, {}), {{10, 10}});  // the computer's: hidden
    EXPECT_THAT(RouteLines(*state),
                ElementsAre(MapDrawing{MapPolyline{
                    PenMode::kCopy, kMapRouteColour, {{100, 100}, {150, 100}, {150, 150}}}}));
}

TEST(SelectionMarkTest, FramesTheSelectedFleetOnly) {
    auto state = NewState();
    PlaceFleet(*state, 3, {200, 120}, {});
    state->SelectedFleet = 3;
    const auto mark = SelectionMark(*state);
    ASSERT_EQ(mark.size(), 1u);
    const auto& frame = std::get<MapPolyline>(mark[0]);
    EXPECT_EQ(frame.Points.front(), (Point{189, 109}));
    EXPECT_EQ(frame.Points[2], (Point{211, 131}));
    state->SelectedFleet = kNoFleet;
    EXPECT_THAT(SelectionMark(*state), IsEmpty());
}

TEST(StatusLineTest, SaysTheTimeTheFleetAndWhatAClickDoes) {
    auto state = NewState();
    EXPECT_THAT(StatusLineText(*state), HasSubstr("新規"));  // the title screen
    PlaceFleet(*state, 0, {100, 100}, {}).Name = "第一艦隊";
    state->MapMode = kMapModeMove;
    state->Turn = 5;
    state->Hour = 5;
    EXPECT_EQ(
        StatusLineText(*state),
        "5ターン 5時 払暁 | 第一艦隊 | 移動: 地図をクリックして航路点を追加、右クリックで取消 "
        "(Esc で通常に戻る)");
}

TEST(MessageLogTest, LinesCarryTurnAndHourAndTheOldestGiveWay) {
    auto state = NewState();
    state->Turn = 3;
    state->Hour = 7;
    AddToMessageLog(*state, "エラー", "一行目\r\n二行目");
    AddToMessageLog(*state, "", "");  // nothing shown, nothing kept
    ASSERT_EQ(state->MessageLog.size(), 1u);
    EXPECT_EQ(MessageLogLine(state->MessageLog[0]), "3ターン 7時  エラー: 一行目  二行目");
    for (std::size_t i = 0; i < kMessageLogLimit + 5; ++i)
        AddToMessageLog(*state, "", std::to_string(i));
    EXPECT_EQ(state->MessageLog.size(), kMessageLogLimit);
    EXPECT_EQ(state->MessageLog.back().Text, std::to_string(kMessageLogLimit + 4));
    EXPECT_EQ(state->MessageLog.front().Text, "5");
}

}  // namespace
}  // namespace velmora
