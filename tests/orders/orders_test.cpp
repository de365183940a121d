#include "orders/orders.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "frontend/recording_frontend.h"

namespace velmora {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

constexpr int kScoutType = 3;
constexpr int kScoutRange = 100;

// A game in move mode: player fleet 0 at (200, 200) with search aircraft of
// range 100, computer fleet 13 seen at (400, 300).
class OrdersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.MapMode = kMapModeMove;
        state.SelectedFleet = 0;
        state.AircraftTypeTable[kScoutType].Range = kScoutRange;
        TFleet& own = state.FleetTable[0];
        own.Active = 1;
        own.Side = 0;
        own.Position = {200, 200};
        own.ScoutType = kScoutType;
        TFleet& enemy = state.FleetTable[13];
        enemy.Active = 1;
        enemy.Side = 1;
        enemy.DetectLevel = 2;
        enemy.Position = {400, 300};
        enemy.Designation = "イ";
    }

    // What the sector modes show: the search circle, then the wedges.
    std::vector<MapDrawing> SectorView(std::vector<MapDrawing> wedges) const {
        wedges.insert(wedges.begin(), DistanceCircle(state.FleetTable[0], kScoutRange));
        return wedges;
    }

    MapClickResult Click(MouseButton button, Point p) {
        return MapClick(state, ui, overlay, button, p);
    }

    GameState state;
    RecordingFrontend ui;
    MapOverlay overlay;
};

TEST_F(OrdersTest, WaypointsStackNewestFirstAndAreNumberedFromTheOldest) {
    Click(MouseButton::kLeft, {10, 10});  // A
    Click(MouseButton::kLeft, {20, 20});  // B
    Click(MouseButton::kLeft, {30, 30});  // C
    const TFleet& f = state.FleetTable[0];
    ASSERT_EQ(f.RouteLength, 3);
    EXPECT_EQ(f.Route[0], (Point{30, 30}));
    EXPECT_EQ(f.Route[2], (Point{10, 10}));  // steered for first

    std::vector<MapLabel> waypoint_labels;
    for (const MapDrawing& d : ComposeMap(state)) {
        if (const auto* l = std::get_if<MapLabel>(&d); l && l->Y < 100)
            waypoint_labels.push_back(*l);
    }
    ASSERT_THAT(waypoint_labels, SizeIs(3));
    EXPECT_EQ(waypoint_labels[0], (MapLabel{"3", 26, 22}));  // C
    EXPECT_EQ(waypoint_labels[2], (MapLabel{"1", 6, 2}));    // A
}

TEST_F(OrdersTest, EleventhWaypointIsRefusedSaysWhyAndInspectsNothing) {
    for (int i = 0; i < kMaxPlayerWaypoints; ++i)
        EXPECT_EQ(Click(MouseButton::kLeft, {10 + i, 10}).Refusal, "");
    ui.ClearTranscript();
    // Right on the computer fleet: an accepted click would list it.
    const MapClickResult r = Click(MouseButton::kLeft, {408, 308});
    EXPECT_EQ(r.Refusal, "航路点は 10 個までです");
    EXPECT_EQ(state.FleetTable[0].RouteLength, kMaxPlayerWaypoints);
    EXPECT_EQ(state.FleetTable[0].Route[0], (Point{19, 10}));
    EXPECT_THAT(ui.Transcript(), IsEmpty());
}

TEST_F(OrdersTest, RightClickInMoveModeDropsTheNewestWaypointOnly) {
    Click(MouseButton::kLeft, {10, 10});
    Click(MouseButton::kLeft, {20, 20});
    const MapClickResult r = Click(MouseButton::kRight, {408, 308});
    EXPECT_TRUE(r.OpenPopup);
    EXPECT_EQ(r.PopupAt, (Point{408, 308}));  // where the player clicked
    ASSERT_EQ(state.FleetTable[0].RouteLength, 1);
    EXPECT_EQ(state.FleetTable[0].Route[0], (Point{10, 10}));
    EXPECT_THAT(ui.CallsOf("PickTarget"), IsEmpty());
}

TEST_F(OrdersTest, RightClickWithoutWaypointsOnlyOpensThePopup) {
    const MapClickResult r = Click(MouseButton::kRight, {50, 50});
    EXPECT_TRUE(r.OpenPopup);
    EXPECT_THAT(ui.Transcript(), IsEmpty());
}

TEST_F(OrdersTest, MoveClickAddsWaypointThenInspects) {
    ui.Answer("0");
    Click(MouseButton::kLeft, {405, 310});
    EXPECT_EQ(state.FleetTable[0].RouteLength, 1);
    EXPECT_THAT(ui.CallsOf("PickTarget"), ElementsAre("PickTarget\t目標\tイ"));
    EXPECT_THAT(ui.CallsOf("ShowSearchInfo"), ElementsAre("ShowSearchInfo\tイ\t2"));
}

// Each toggle redraws the map, over which the mode shows exactly the set
// sectors: no XOR wedge can drift out of step with the flags.
TEST_F(OrdersTest, SearchSectorClickTogglesTheFlagAndRedrawsWithTheSetSectors) {
    state.MapMode = kMapModeSearch;
    state.FleetTable[0].SearchSectors[6] = 1;
    const Point in_sector_2{260, 230};  // east-south-east, within range
    Click(MouseButton::kLeft, in_sector_2);
    EXPECT_EQ(state.FleetTable[0].SearchSectors[2], 1);
    EXPECT_THAT(ui.CallsOf("RedrawMap"), SizeIs(1));
    EXPECT_EQ(ModeOverlay(state),
              SectorView(SectorWedges(state.FleetTable[0], kScoutRange, {0, 0, 1, 0, 0, 0, 1, 0})));
    Click(MouseButton::kLeft, in_sector_2);
    EXPECT_EQ(state.FleetTable[0].SearchSectors[2], 0);
    EXPECT_THAT(ui.CallsOf("RedrawMap"), SizeIs(2));
    EXPECT_EQ(ModeOverlay(state), SectorView(SectorWedge(state.FleetTable[0], kScoutRange, 6)));
    EXPECT_EQ(state.MapMode, kMapModeSearch);
    // Outside the sector modes a redraw shows no sectors.
    state.MapMode = kMapModeNormal;
    EXPECT_THAT(ModeOverlay(state), IsEmpty());
}

TEST_F(OrdersTest, SearchClickBeyondRangeChangesNothingAndSaysWhy) {
    state.MapMode = kMapModeSearch;
    const MapClickResult r = Click(MouseButton::kLeft, {200 + kScoutRange + 5, 200});
    EXPECT_EQ(r.Refusal, "索敵範囲（半径 100）の外です");
    EXPECT_EQ(state.FleetTable[0].SearchSectors, (std::array<std::uint8_t, 8>{}));
    EXPECT_THAT(overlay.Drawings, IsEmpty());
    EXPECT_THAT(ui.CallsOf("RedrawMap"), IsEmpty());
    EXPECT_EQ(state.MapMode, kMapModeSearch);
}

TEST_F(OrdersTest, NormalClickOnAnOwnFleetSelectsIt) {
    state.MapMode = kMapModeNormal;
    TFleet& second = state.FleetTable[2];
    second.Active = 1;
    second.Side = 0;
    second.Position = {300, 100};
    Click(MouseButton::kLeft, {306, 95});  // inside its 16 x 16 symbol
    EXPECT_EQ(state.SelectedFleet, 2);
    EXPECT_THAT(ui.CallsOf("RedrawMap"), SizeIs(1));  // the selection frame moves
    Click(MouseButton::kLeft, {320, 100});            // beside it: the selection stays
    EXPECT_EQ(state.SelectedFleet, 2);
    EXPECT_EQ(OwnFleetAt(state, {400, 300}), kNoFleet);  // the computer's fleet
}

TEST_F(OrdersTest, RightClickInSearchModeReturnsToNormalAndInspects) {
    state.MapMode = kMapModeSearch;
    overlay.Add(MapCaptionScreen{"old"});
    ui.Answer("999");
    Click(MouseButton::kRight, {405, 305});
    EXPECT_EQ(state.MapMode, kMapModeNormal);
    EXPECT_THAT(overlay.Drawings, IsEmpty());  // redrawn
    EXPECT_THAT(ui.CallsOf("PickTarget"), SizeIs(1));
    EXPECT_THAT(ui.CallsOf("ShowSearchInfo"), IsEmpty());  // cancelled
}

TEST_F(OrdersTest, SearchButtonDrawsSetSectorsAndSwitchesMode) {
    state.FleetTable[0].SearchSectors = {1, 0, 0, 5, 0, 0, 0, 1};
    ASSERT_TRUE(OrderSearchSectors(state, overlay));
    EXPECT_EQ(state.MapMode, kMapModeSearch);
    std::vector<MapDrawing> expected;
    for (int s : {0, 3, 7}) {
        for (auto& d : SectorWedge(state.FleetTable[0], kScoutRange, s)) expected.push_back(d);
    }
    EXPECT_EQ(overlay.Drawings, SectorView(expected));
    // Pressed again it shows the same sectors, never erases them.
    ASSERT_TRUE(OrderSearchSectors(state, overlay));
    EXPECT_EQ(overlay.Drawings, SectorView(expected));
}

// ASW sectors are found with the search radius but drawn with the range of
// the ASW aircraft aboard, or 20 without any.
struct AswCase {
    int asw_aboard;
    int wedge_radius;
};

class AswSectorTest : public OrdersTest, public ::testing::WithParamInterface<AswCase> {};

TEST_P(AswSectorTest, ClickTogglesTheAswFlagAndDrawsTheWedge) {
    TFleet& f = state.FleetTable[0];
    f.AirTypes[5] = 7;
    state.AircraftTypeTable[7].Range = 60;
    f.ShipCount = 2;
    f.Ships[0].AircraftAboard[5] = -4;  // broken counts do not count
    f.Ships[1].AircraftAboard[5] = GetParam().asw_aboard;
    state.MapMode = kMapModeAswSearch;
    Click(MouseButton::kLeft, {260, 230});
    EXPECT_EQ(f.AswSectors[2], 1);
    EXPECT_EQ(f.SearchSectors[2], 0);
    EXPECT_EQ(ModeOverlay(state), SectorView(SectorWedge(f, GetParam().wedge_radius, 2)));
    ASSERT_TRUE(OrderAswSearchSectors(state, overlay));
    EXPECT_EQ(overlay.Drawings, SectorView(SectorWedge(f, GetParam().wedge_radius, 2)));
    Click(MouseButton::kRight, {0, 0});
    EXPECT_EQ(state.MapMode, kMapModeNormal);
}

INSTANTIATE_TEST_SUITE_P(Orders, AswSectorTest,
                         ::testing::Values(AswCase{0, kAswFallbackRadius}, AswCase{3, 60}));

TEST_F(OrdersTest, TargetModesHandTheShiftedPointToTheWaitingWindow) {
    state.MapMode = kMapModeAirRaidTarget;
    const MapClickResult r = Click(MouseButton::kLeft, {100, 120});
    ASSERT_TRUE(r.TargetPoint.has_value());
    EXPECT_EQ(*r.TargetPoint, (Point{92, 112}));
    EXPECT_THAT(ui.Transcript(), IsEmpty());
}

// Every order on the selected fleet, given with none selected.
struct NoFleetCase {
    const char* name;
    std::function<void(GameState&, Frontend&, MapOverlay&)> order;
};

class NoSelectedFleetTest : public OrdersTest, public ::testing::WithParamInterface<NoFleetCase> {};

TEST_P(NoSelectedFleetTest, OrderDoesNothing) {
    state.SelectedFleet = kNoFleet;
    state.MapMode = kMapModeNormal;
    const auto fleets = state.FleetTable;
    const RngState generator = state.Random.State();
    GetParam().order(state, ui, overlay);
    EXPECT_TRUE(state.FleetTable == fleets);
    EXPECT_EQ(state.MapMode, kMapModeNormal);
    EXPECT_EQ(state.Random.State(), generator);
    EXPECT_THAT(overlay.Drawings, IsEmpty());
    EXPECT_THAT(ui.CallsOf("AskNumber"), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Orders, NoSelectedFleetTest,
    ::testing::Values(
        NoFleetCase{"Move", [](GameState& s, Frontend& u, MapOverlay& o) { OrderMove(s, u, o); }},
        NoFleetCase{"Search",
                    [](GameState& s, Frontend&, MapOverlay& o) { OrderSearchSectors(s, o); }},
        NoFleetCase{"AswSearch",
                    [](GameState& s, Frontend&, MapOverlay& o) { OrderAswSearchSectors(s, o); }},
        NoFleetCase{"Distance",
                    [](GameState& s, Frontend& u, MapOverlay& o) { OrderDistance(s, u, o); }},
        NoFleetCase{"WaypointClick",
                    [](GameState& s, Frontend& u, MapOverlay& o) {
                        s.MapMode = kMapModeMove;
                        MapClick(s, u, o, MouseButton::kLeft, {10, 10});
                        s.MapMode = kMapModeNormal;
                    }},
        NoFleetCase{"SectorClick",
                    [](GameState& s, Frontend& u, MapOverlay& o) {
                        s.MapMode = kMapModeSearch;
                        MapClick(s, u, o, MouseButton::kLeft, {210, 210});
                        s.MapMode = kMapModeNormal;
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OrdersTest, SelectFleetTakesOnlyFleetsInPlay) {
    state.FleetTable[3].Active = 1;
    EXPECT_TRUE(SelectFleet(state, ui, 3));
    EXPECT_EQ(state.SelectedFleet, 3);
    EXPECT_FALSE(SelectFleet(state, ui, 4));
    EXPECT_FALSE(SelectFleet(state, ui, 40));
    EXPECT_EQ(state.SelectedFleet, 3);
    EXPECT_THAT(ui.CallsOf("RefreshPalette"), SizeIs(1));
}

struct DistanceCase {
    const char* answer;
    std::optional<int> radius;
};

class DistanceTest : public OrdersTest, public ::testing::WithParamInterface<DistanceCase> {};

TEST_P(DistanceTest, DrawsTheCircleOfTheEnteredRadius) {
    ui.Answer(GetParam().answer);
    EXPECT_EQ(OrderDistance(state, ui, overlay), GetParam().radius);
    EXPECT_THAT(ui.CallsOf("AskNumber"),
                ElementsAre("AskNumber\t距離表示\t距離を入力してください。\t0\t545"));
    if (GetParam().radius) {
        EXPECT_THAT(overlay.Drawings,
                    ElementsAre(DistanceCircle(state.FleetTable[0], *GetParam().radius)));
    } else {
        EXPECT_THAT(overlay.Drawings, IsEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Orders, DistanceTest,
                         ::testing::Values(DistanceCase{"120", 120},
                                           // Cancel leaves "0": a circle of radius 0.
                                           DistanceCase{"cancel", 0}, DistanceCase{"9999", 545},
                                           DistanceCase{"-3", std::nullopt}));

TEST_F(OrdersTest, PopupCancelClosesOnlyAnOpenFleetView) {
    EXPECT_FALSE(PopupCancel(state, ui, overlay));
    EXPECT_THAT(ui.Transcript(), IsEmpty());
    state.FleetViewOpen = 1;
    EXPECT_TRUE(PopupCancel(state, ui, overlay));
    EXPECT_EQ(state.FleetViewOpen, 0);
    EXPECT_THAT(ui.CallsOf("RedrawMap"), SizeIs(1));
}

TEST_F(OrdersTest, EndTurnIsRefusedWhileOneRuns) {
    state.TurnEndRunning = true;
    EXPECT_FALSE(OrderEndTurn(state, ui));
    EXPECT_EQ(state.Turn, 1);
    state.TurnEndRunning = false;
    EXPECT_TRUE(OrderEndTurn(state, ui));
    EXPECT_EQ(state.Turn, 2);
}

TEST_F(OrdersTest, LoadKeepsTheSelectionOnlyOnAFleetInPlay) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("velmora-orders-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(OrderSave(state, ui, dir, 2));
    state.SelectedFleet = 7;  // not in play in the saved game
    ASSERT_TRUE(OrderLoad(state, ui, dir, 2));
    EXPECT_EQ(state.SelectedFleet, 0);
    EXPECT_THAT(ui.CallsOf("RefreshPalette"), SizeIs(1));
    EXPECT_FALSE(OrderLoad(state, ui, dir, 3));  // never saved
    std::filesystem::remove_all(dir);
}

// A marker tracking computer fleet 13 right beside it.
class InspectionTest : public OrdersTest {
  protected:
    void SetUp() override {
        OrdersTest::SetUp();
        TFleet& marker = state.ContactTable[4];
        marker.Active = 1;
        marker.Side = 1;
        marker.DetectLevel = 1;
        marker.TrackedFleet = 13;
        marker.Position = {402, 301};
        marker.Designation = "ロ";
    }
};

TEST_F(InspectionTest, ListsEachNearMarkerOnceOnEitherSideOfItsFleet) {
    bool marker_first = false;
    bool marker_last = false;
    for (std::uint64_t seed = 0; seed < 40; ++seed) {
        state.Random.Seed(seed);
        const auto list = InspectionList(state, {400, 300});
        ASSERT_THAT(list, SizeIs(2)) << "seed " << seed;
        const InspectEntry marker{"ロ", kMarkerIndexBase + 4};
        const InspectEntry fleet{"イ", 13};
        if (list[0] == marker && list[1] == fleet) marker_first = true;
        if (list[0] == fleet && list[1] == marker) marker_last = true;
    }
    EXPECT_TRUE(marker_first);
    EXPECT_TRUE(marker_last);
}

TEST_F(InspectionTest, UnseenFleetsAndMarkersAreNotListed) {
    state.FleetTable[13].DetectLevel = 0;
    state.ContactTable[4].DetectLevel = 0;
    EXPECT_THAT(InspectionList(state, {400, 300}), IsEmpty());
}

TEST_F(InspectionTest, PickedMarkerShowsTheMarkerRecord) {
    state.FleetTable[13].DetectLevel = 0;
    ui.Answer("0");
    InspectFleets(state, ui, {400, 300});
    EXPECT_THAT(ui.CallsOf("ShowSearchInfo"), ElementsAre("ShowSearchInfo\tロ\t1"));
}

}  // namespace
}  // namespace velmora
