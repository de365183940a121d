#include "chart/geometry.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::FillLand;
using testing::NewState;

TEST(MapDistance, ClampsFarCoordinatesBeforeMeasuring) {
    EXPECT_DOUBLE_EQ(MapDistance({0, 0}, {850, 0}), 900.0);
    EXPECT_DOUBLE_EQ(MapDistance({-40, 0}, {30, 40}), 50.0);
    EXPECT_DOUBLE_EQ(MapDistance({100, 100}, {130, 140}), 50.0);
    EXPECT_DOUBLE_EQ(MapDistance({800, 0}, {801, 0}), 100.0);
}

TEST(PolarOffset, BearingsAreCompassDegrees) {
    EXPECT_EQ(PolarOffset(100, 100, 90, 30), (Point{130, 100}));
    EXPECT_EQ(PolarOffset(100, 100, 0, 30), (Point{100, 70}));
    EXPECT_EQ(PolarOffset(100, 100, 180, 30), (Point{100, 130}));
    EXPECT_EQ(PolarOffset(100, 100, 270, 30), (Point{70, 100}));
    EXPECT_EQ(PolarOffset(100, 100, 120, 30), (Point{126, 115}));
}

TEST(PolarOffset, RoundsHalvesToEven) {
    EXPECT_EQ(PolarOffset(0, 0, 90, 2.5), (Point{2, 0}));
    EXPECT_EQ(PolarOffset(0, 0, 90, 3.5), (Point{4, 0}));
}

TEST(StepToward, TruncatesTowardZero) {
    EXPECT_EQ(StepToward(100, 100, 200, 200, 30), (Point{121, 121}));
    EXPECT_EQ(StepToward(100, 100, 0, 0, 30), (Point{79, 79}));
    EXPECT_EQ(StepToward(5, 5, 5, 5, 10), (Point{5, 5}));
}

struct SectorCase {
    Point to;
    double radius;
    int sector;
};

class SectorOfTest : public ::testing::TestWithParam<SectorCase> {};

TEST_P(SectorOfTest, ClockwiseFromNorth) {
    const SectorCase& c = GetParam();
    EXPECT_EQ(SectorOf({100, 100}, c.to, c.radius), c.sector)
        << "to (" << c.to.X << ", " << c.to.Y << ")";
}

INSTANTIATE_TEST_SUITE_P(
    AroundAFleet, SectorOfTest,
    ::testing::Values(SectorCase{{130, 60}, 100, 0}, SectorCase{{140, 70}, 100, 1},
                      SectorCase{{140, 130}, 100, 2}, SectorCase{{130, 140}, 100, 3},
                      SectorCase{{70, 140}, 100, 4}, SectorCase{{60, 130}, 100, 5},
                      SectorCase{{60, 70}, 100, 6}, SectorCase{{70, 60}, 100, 7},
                      // Due north and due south (ratio 0) lie on no sector.
                      SectorCase{{100, 50}, 100, 8}, SectorCase{{100, 150}, 100, 8},
                      // Due east and west: the later rule wins.
                      SectorCase{{150, 100}, 100, 2}, SectorCase{{50, 100}, 100, 6},
                      SectorCase{{300, 100}, 100, 8},  // beyond the radius
                      SectorCase{{100, 100}, 0, 8}));  // the fleet's own point

struct LandLineCase {
    Point land;
    Point from;
    Point to;
    int result;
};

class LandOnLineTest : public ::testing::TestWithParam<LandLineCase> {};

TEST_P(LandOnLineTest, WalksThePixelLine) {
    const LandLineCase& c = GetParam();
    auto state = NewState();
    state->LandMask.Set(c.land.X, c.land.Y, true);
    EXPECT_EQ(LandOnLine(*state, c.from.X, c.from.Y, c.to.X, c.to.Y), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    SinglePixels, LandOnLineTest,
    ::testing::Values(
        // An odd start row shifts the start 16 pixels right: (10, 11) walks from (26, 11).
        LandLineCase{{10, 11}, {10, 11}, {40, 11}, 0},
        LandLineCase{{25, 11}, {10, 11}, {40, 11}, 0},
        LandLineCase{{26, 11}, {10, 11}, {40, 11}, 200},
        LandLineCase{{10, 10}, {10, 10}, {40, 10}, 200},  // even rows start where they are
        LandLineCase{{40, 10}, {10, 10}, {40, 10}, 200},  // the end point is walked
        LandLineCase{{41, 10}, {10, 10}, {40, 10}, 0},
        // Steep lines walk along y: (0,0)-(2,8) passes (1,4), not (0,4).
        LandLineCase{{1, 4}, {0, 0}, {2, 8}, 200}, LandLineCase{{0, 4}, {0, 0}, {2, 8}, 0},
        // Shallow: (0,0)-(8,2) passes (2,1) and (6,2).
        LandLineCase{{2, 1}, {0, 0}, {8, 2}, 200}, LandLineCase{{2, 0}, {0, 0}, {8, 2}, 0},
        LandLineCase{{6, 2}, {0, 0}, {8, 2}, 200},
        LandLineCase{{20, 20}, {20, 20}, {20, 20}, 200},  // a single pixel
        LandLineCase{{5, 5}, {-50, 5}, {-10, 5}, 0}));    // outside the mask is sea

TEST(LandOnLine, LinesFromBrokenRecordsStayCheapAndCorrect) {
    auto state = NewState();
    // The line crosses y 0 -> 1 at x 0, so it passes (500, 1), not (500, 0).
    state->LandMask.Set(500, 1, true);
    EXPECT_EQ(LandOnLine(*state, INT_MIN, 0, INT_MAX, 1), 200);
    state->LandMask.Set(500, 1, false);
    state->LandMask.Set(500, 0, true);
    EXPECT_EQ(LandOnLine(*state, INT_MIN, 0, INT_MAX, 1), 0);
    EXPECT_EQ(LandOnLine(*state, INT_MAX, INT_MAX, INT_MIN, INT_MIN), 0);
}

TEST(LandOnLine, FindsABlockAcrossTheWay) {
    auto state = NewState();
    FillLand(*state, 110, 80, 150, 120);
    EXPECT_EQ(LandOnLine(*state, 100, 100, 130, 100), 200);
    EXPECT_EQ(LandOnLine(*state, 100, 100, 100, 60), 0);
}

}  // namespace
}  // namespace velmora
