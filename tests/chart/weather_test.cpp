#include "chart/weather.h"

#include <gtest/gtest.h>

#include <vector>

#include "chart/geometry.h"
#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;

std::vector<int> ActiveCells(const GameState& state) {
    std::vector<int> out;
    for (int i = 0; i < kStormCells; ++i) {
        if (state.StormCells[static_cast<std::size_t>(i)].Active) out.push_back(i);
    }
    return out;
}

struct CloudCase {
    int n;
    std::vector<int> active;
};

class SetCloudsTest : public ::testing::TestWithParam<CloudCase> {};

TEST_P(SetCloudsTest, SpreadsCellsByStep) {
    auto state = NewState();
    state->StormCells[23].Active = 1;  // an old layout is cleared first
    SetClouds(*state, GetParam().n);
    EXPECT_EQ(ActiveCells(*state), GetParam().active);
}

std::vector<int> Range(int first, int last) {
    std::vector<int> out;
    for (int i = first; i <= last; ++i) out.push_back(i);
    return out;
}

INSTANTIATE_TEST_SUITE_P(Counts, SetCloudsTest,
                         ::testing::Values(CloudCase{1, {0}}, CloudCase{2, {0, 11, 22}},
                                           CloudCase{30, Range(0, 22)}, CloudCase{23, Range(0, 22)},
                                           CloudCase{0, {}}, CloudCase{-3, Range(0, 22)}));

TEST(SetClouds, DrawsDistanceBeforeBearing) {
    auto state = NewState(7);
    Rng reference = state->Random;
    SetClouds(*state, 1);
    const int distance = (reference.Random(6) + 1) * 30;
    const int bearing = reference.Random(360);
    const Point expected = PolarOffset(132, 136, bearing, distance);
    EXPECT_EQ(state->StormCells[0].X, expected.X);
    EXPECT_EQ(state->StormCells[0].Y, expected.Y);
    EXPECT_EQ(state->Random.State(), reference.State());
}

TEST(SetClouds, LaysCellsOutOnTheRegionGrid) {
    auto state = NewState(3);
    SetClouds(*state, 30);
    // Cell 20 starts at x (5 * 264 + 132) mod 790 = 662, y 136 + 273.
    const StormCell& cell = state->StormCells[20];
    EXPECT_LE(MapDistance({cell.X, cell.Y}, {662, 409}), 180.5);
}

TEST(VeerWinds, KeepsBearingsWithinACircle) {
    auto state = NewState(11);
    for (int i = 0; i < 500; ++i) VeerWinds(*state);
    for (const auto& row : state->WindDirections) {
        for (int bearing : row) {
            EXPECT_GE(bearing, 0);
            EXPECT_LE(bearing, 360);
        }
    }
    EXPECT_NE(state->WindDirections, kInitialWinds);
}

struct DriftCase {
    StormCell cell;
    Point expected;
};

class DriftStormsTest : public ::testing::TestWithParam<DriftCase> {};

TEST_P(DriftStormsTest, CellsMoveWithTheirRegionsWind) {
    auto state = NewState();
    state->StormCells[5] = GetParam().cell;
    DriftStorms(*state);
    EXPECT_EQ(state->StormCells[5].X, GetParam().expected.X);
    EXPECT_EQ(state->StormCells[5].Y, GetParam().expected.Y);
}

INSTANTIATE_TEST_SUITE_P(
    InitialWinds, DriftStormsTest,
    ::testing::Values(DriftCase{{100, 100, 1}, {126, 115}},  // row 0: 120 degrees
                      DriftCase{{789, 544, 1}, {759, 544}},  // row 1, column 2: 270
                      DriftCase{{300, 300, 1}, {270, 300}},  // row 1, column 1: 270
                      DriftCase{{100, 300, 1}, {85, 274}},   // row 1, column 0: 330
                      DriftCase{{0, 100, 1}, {0, 100}},      // on the edge: stays
                      DriftCase{{100, 545, 1}, {100, 545}},
                      DriftCase{{100, 100, 0}, {100, 100}}));  // inactive

TEST(StormCount, CountsActiveCellsCloserThanSixty) {
    auto state = NewState();
    state->StormCells[0] = {100, 100, 1};
    state->StormCells[1] = {159, 100, 1};
    state->StormCells[2] = {160, 100, 1};
    state->StormCells[3] = {100, 100, 0};
    EXPECT_EQ(StormCount(*state, {100, 100}), 2);
    EXPECT_EQ(StormCount(*state, {500, 500}), 0);
}

}  // namespace
}  // namespace velmora
