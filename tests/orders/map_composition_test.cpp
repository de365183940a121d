#include "orders/map_composition.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

namespace velmora {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TFleet& PlaceFleet(GameState& state, int index, int side, Point at) {
    TFleet& f = state.FleetTable[static_cast<std::size_t>(index)];
    f.Active = 1;
    f.Side = static_cast<std::uint8_t>(side);
    f.Position = at;
    return f;
}

TEST(ComposeMapTest, PlayerFleetSymbolAndLabelSitAboveLeftOfThePosition) {
    GameState state;
    PlaceFleet(state, 0, 0, {100, 50});
    EXPECT_THAT(ComposeMap(state), ElementsAre(MapDrawing{MapSymbol{kSymbolPlayerFleet, 92, 42}},
                                               MapDrawing{MapLabel{"1", 96, 42}}));
}

TEST(ComposeMapTest, TwoDigitFleetNumbersStartFurtherLeft) {
    GameState state;
    PlaceFleet(state, 8, 0, {200, 200});
    PlaceFleet(state, 9, 0, {300, 300});
    EXPECT_THAT(ComposeMap(state), ElementsAre(MapDrawing{MapSymbol{kSymbolPlayerFleet, 192, 192}},
                                               MapDrawing{MapLabel{"9", 196, 192}},
                                               MapDrawing{MapSymbol{kSymbolPlayerFleet, 292, 292}},
                                               MapDrawing{MapLabel{"10", 292, 292}}));
}

TEST(ComposeMapTest, ComputerFleetsShowOnlyWhenDetectedWithTheirDesignation) {
    GameState state;
    TFleet& seen = PlaceFleet(state, 13, 1, {400, 100});
    seen.DetectLevel = 1;
    seen.Designation = "ハ";
    PlaceFleet(state, 14, 1, {500, 100});  // DetectLevel 0
    TFleet& marker = state.ContactTable[1];
    marker.Active = 1;
    marker.Side = 1;
    marker.DetectLevel = 1;
    marker.Position = {50, 60};
    marker.Designation = "ニ";
    state.ContactTable[2] = marker;
    state.ContactTable[2].DetectLevel = 0;
    EXPECT_THAT(ComposeMap(state), ElementsAre(MapDrawing{MapSymbol{kSymbolComputerFleet, 392, 92}},
                                               MapDrawing{MapLabel{"ハ", 393, 92}},
                                               MapDrawing{MapSymbol{kSymbolComputerFleet, 42, 52}},
                                               MapDrawing{MapLabel{"ニ", 43, 52}}));
}

TEST(ComposeMapTest, InstallationsGetTheirSymbolAndNoLabel) {
    GameState state;
    state.ShipClassTable[5].ClassIndex = kGroundBase;
    state.ShipClassLast = 5;
    TFleet& base = PlaceFleet(state, 12, 0, {300, 400});
    base.ShipCount = 1;
    base.Ships[0].ClassIndex = 5;
    EXPECT_THAT(ComposeMap(state),
                ElementsAre(MapDrawing{MapSymbol{kSymbolPlayerInstallation, 292, 392}}));
}

TEST(ComposeMapTest, WaypointsShowOnlyInMoveModeAfterTheFleets) {
    GameState state;
    TFleet& f = PlaceFleet(state, 0, 0, {100, 100});
    f.RouteLength = 2;
    f.Route[0] = {150, 160};
    f.Route[1] = {120, 130};
    state.MapMode = 1;
    EXPECT_EQ(ComposeMap(state).size(), 2u);
    state.MapMode = 2;
    EXPECT_THAT(ComposeMap(state), ElementsAre(MapDrawing{MapSymbol{kSymbolPlayerFleet, 92, 92}},
                                               MapDrawing{MapLabel{"1", 96, 92}},
                                               MapDrawing{MapSymbol{kSymbolWaypoint, 142, 152}},
                                               MapDrawing{MapLabel{"2", 146, 152}},
                                               MapDrawing{MapSymbol{kSymbolWaypoint, 112, 122}},
                                               MapDrawing{MapLabel{"1", 116, 122}}));
}

TEST(ComposeMapTest, BrokenRouteLengthDrawsNoMoreThanTheTable) {
    GameState state;
    PlaceFleet(state, 0, 0, {100, 100}).RouteLength = 100000;
    state.MapMode = 2;
    EXPECT_EQ(ComposeMap(state).size(), 2u + 2u * kRouteSlots);
}

// Sector s covers the bearings 45s..45s+45, clockwise from straight up.
class SectorWedgeTest : public ::testing::TestWithParam<int> {};

TEST_P(SectorWedgeTest, WedgeCoversItsCompassSector) {
    TFleet fleet;
    fleet.Position = {300, 200};
    const int s = GetParam();
    const auto drawings = SectorWedge(fleet, 80, s);
    ASSERT_EQ(drawings.size(), 1u);
    const MapPie& pie = std::get<MapPie>(drawings[0]);
    EXPECT_EQ(pie.Mode, PenMode::kXor);
    EXPECT_EQ((std::array{pie.Left, pie.Top, pie.Right, pie.Bottom}),
              (std::array{220, 120, 379, 279}));
    const PieAngles a = AnglesOf(pie);
    EXPECT_NEAR(a.Span, 45.0, 1.5);
    // Screen angle (counter-clockwise from east) of the middle bearing.
    const double middle = std::fmod(a.Start + a.Span / 2.0, 360.0);
    const double expected = std::fmod(360.0 + 90.0 - (45.0 * s + 22.5), 360.0);
    EXPECT_NEAR(middle, expected, 1.5);
}

INSTANTIATE_TEST_SUITE_P(AllSectors, SectorWedgeTest, ::testing::Range(0, 8));

TEST(SectorWedgeEdgeTest, NoWedgeForNoSector) {
    EXPECT_THAT(SectorWedge(TFleet{}, 80, 8), IsEmpty());
}

TEST(WeatherDrawingsTest, StormsInXorThenSixWindArrows) {
    GameState state;
    state.StormCells[3] = {100, 200, 1};
    state.WindDirections = {{{90, 0, 0}, {0, 0, 0}}};
    const auto drawings = WeatherDrawings(state);
    ASSERT_EQ(drawings.size(), 1u + 6u * 3u);
    EXPECT_EQ(drawings[0],
              (MapDrawing{MapEllipse{PenMode::kXor, kMapWhite, true, kMapRed, 40, 140, 160, 260}}));
    // Region (0, 0): from its centre 50 pixels to the right, ending in a dot.
    EXPECT_EQ(std::get<MapPolyline>(drawings[1]).Points,
              (std::vector<Point>{{131, 136}, {181, 136}}));
    EXPECT_EQ(std::get<MapEllipse>(drawings[3]),
              (MapEllipse{PenMode::kCopy, kMapBlack, true, kMapBlack, 171, 126, 191, 146}));
}

TEST(CaptionLineTest, CentredByCp932Bytes) {
    // Four bytes of a 20-pixel font take 20 pixels: half of them left of centre.
    EXPECT_EQ(CaptionLinePosition(790, 545, "ABCD", 20), (Point{375, 262}));
    EXPECT_EQ(CaptionLinePosition(790, 545, "あい", -20), (Point{375, 262}));
}

}  // namespace
}  // namespace velmora
