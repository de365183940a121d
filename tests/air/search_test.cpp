#include "air/search.h"

#include <gtest/gtest.h>

#include "air/air_units.h"
#include "model/labels.h"
#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;

constexpr int kScoutType = 4;
constexpr int kCarrierClass = 1;
constexpr int kBaseClass = 2;
constexpr int kFortressClass = 3;

// Player fleet 0 at (400, 300) with search aircraft aloft; computer fleet 13.
class SearchFixture : public ::testing::Test {
protected:
    void SetUp() override {
        state = NewState(7);
        state->Turn = 5;
        SetClass(*state, kCarrierClass, kCarrier, 100);
        SetClass(*state, kBaseClass, kGroundBase, 100);
        SetClass(*state, kFortressClass, 12, 100);
        AircraftType& scout = state->AircraftTypeTable[kScoutType];
        scout.Name = "偵察機";
        scout.Range = 300;
        scout.ElectronicWarfare = 1;
        TFleet& o = PlaceFleet(*state, 0, {400, 300}, {kCarrierClass});
        o.Number = 0;
        o.AirTypes[2] = kScoutType;
        o.ScoutType = kScoutType;
        o.ScoutLaunched[5] = 13;  // base chance 100 x 13 x 1 / 13 = 100 over one sector
        o.SearchSectors[1] = 1;   // east-north-east
        TFleet& t = PlaceFleet(*state, 13, {480, 260}, {kCarrierClass});
        t.Number = 13;
        t.Name = "敵艦隊";
    }
    TFleet& Observer() { return state->FleetTable[0]; }
    TFleet& Target() { return state->FleetTable[13]; }
    // The next draw of 0..100, without taking it.
    int PeekRoll() const {
        Rng copy = state->Random;
        return copy.Random(101);
    }

    std::unique_ptr<GameState> state;
    RecordingFrontend ui;
};

struct ChanceCase {
    const char* what;
    int scouts_aloft;
    int sectors;
    Point target;  // seen from (400, 300)
    int storms;
    int threshold;  // success exactly for draws below this
};

class DetectChanceOf : public SearchFixture, public ::testing::WithParamInterface<ChanceCase> {};

TEST_P(DetectChanceOf, SucceedsExactlyBelowTheThreshold) {
    const ChanceCase& c = GetParam();
    Observer().ScoutLaunched[5] = c.scouts_aloft;
    Observer().SearchSectors.fill(0);
    for (int s = 0; s < c.sectors; ++s) Observer().SearchSectors[static_cast<std::size_t>(s)] = 1;
    Target().Position = c.target;
    for (int i = 0; i < c.storms; ++i) {
        state->StormCells[static_cast<std::size_t>(i)] = {c.target.X + 10, c.target.Y, 1};
    }
    bool saw_edge = c.threshold <= 0;
    for (std::uint64_t seed = 0; seed < 400; ++seed) {
        state->Random.Seed(seed);
        const int roll = PeekRoll();
        saw_edge = saw_edge || roll == c.threshold - 1;
        EXPECT_EQ(DetectChance(*state, Observer(), Target(), 300, 0), roll < c.threshold)
            << c.what << " roll " << roll;
    }
    EXPECT_TRUE(saw_edge) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DetectChanceOf,
    ::testing::Values(
        // 90 at 150 pixels: the range penalty of 20 leaves draws 0..69.
        ChanceCase{"cap 90, 150 px", 13, 1, {550, 300}, 0, 70},
        ChanceCase{"cap 90, 100 px", 13, 1, {500, 300}, 0, 90},
        ChanceCase{"200 px costs nothing", 13, 1, {600, 300}, 0, 90},
        ChanceCase{"beyond 200 px costs 30", 13, 1, {610, 300}, 0, 60},
        // 100 x 8 / 13 = 61; over eight sectors 100 x 8 / 104 = 7.
        ChanceCase{"one sector", 8, 1, {450, 300}, 0, 61},
        ChanceCase{"eight sectors", 8, 8, {450, 300}, 0, 7},
        ChanceCase{"one storm costs 20", 8, 1, {450, 300}, 1, 41},
        ChanceCase{"two storms forbid", 13, 1, {450, 300}, 2, 0}));

TEST_F(SearchFixture, NoSectorsOrNothingAloftMeansNoChanceAndNoDraw) {
    Observer().SearchSectors.fill(0);
    const RngState before = state->Random.State();
    EXPECT_FALSE(DetectChance(*state, Observer(), Target(), 300, 0));
    Observer().SearchSectors[1] = 1;
    Observer().ScoutLaunched[5] = 0;
    EXPECT_FALSE(DetectChance(*state, Observer(), Target(), 300, 0));
    EXPECT_EQ(state->Random.State(), before);
    // Scouts carried aboard let the test be made, but the base chance is 0.
    Observer().Ships[0].ReconAircraft = 3;
    for (std::uint64_t seed = 0; seed < 50; ++seed) {
        state->Random.Seed(seed);
        EXPECT_FALSE(DetectChance(*state, Observer(), Target(), 300, 0));
    }
}

TEST_F(SearchFixture, FirstDetectionNamesTheFleetAndTellsThePlayer) {
    DetectTarget(*state, ui, 0, Target());
    EXPECT_EQ(Target().DetectLevel, 1);
    EXPECT_EQ(Target().SeenThisTurn, 1);
    EXPECT_EQ(Target().Designation.str(), "イ");
    EXPECT_EQ(state->DesignationCounter, 1);
    ASSERT_EQ(ui.CallsOf("MessageOk").size(), 1u);
    EXPECT_EQ(ui.CallsOf("MessageOk")[0],
              "MessageOk\t触接\t偵察機が敵艦隊発見\\nこの敵艦隊をイとなずけます X:480Y:260");
    // Seen this turn: later tries cannot raise it again.
    DetectTarget(*state, ui, 0, Target());
    EXPECT_EQ(Target().DetectLevel, 1);
}

TEST_F(SearchFixture, TheFortyEighthDesignationWrapsToTheFirstLetter) {
    state->DesignationCounter = 47;
    DetectTarget(*state, ui, 0, Target());
    EXPECT_EQ(Target().Designation.str(), IrohaTable[0]);
    EXPECT_EQ(state->DesignationCounter, 1);
}

TEST_F(SearchFixture, ATargetDueNorthLiesInNoSectorAndIsNeverTried) {
    Observer().SearchSectors.fill(1);
    Target().Position = {400, 200};
    const RngState before = state->Random.State();
    DetectTarget(*state, ui, 0, Target());
    EXPECT_EQ(Target().DetectLevel, 0);
    EXPECT_EQ(state->Random.State(), before);
}

TEST_F(SearchFixture, AMarkerLeavesPlayAtItsSecondDetection) {
    TFleet& marker = state->ContactTable[3];
    marker.Active = 1;
    marker.Side = state->ComputerSide;
    marker.Number = 29;
    marker.TrackedFleet = 13;
    marker.Position = {470, 270};
    state->FleetTable[13].Active = 0;  // only the marker is there to find
    DetectionStep(*state, ui);
    EXPECT_EQ(marker.DetectLevel, 1);
    EXPECT_EQ(marker.Active, 1);
    marker.SeenThisTurn = 0;
    DetectionStep(*state, ui);
    EXPECT_EQ(marker.DetectLevel, 2);
    EXPECT_EQ(marker.Active, 0);
}

TEST_F(SearchFixture, TheComputerRemembersWhereItSawThePlayer) {
    // The computer's fleet 13 searches toward the player's fleet 0 (west-south-west).
    Observer().ScoutLaunched.fill(0);
    Target().AirTypes[2] = kScoutType;
    Target().ScoutType = kScoutType;
    Target().ScoutLaunched[4] = 13;
    Target().SearchSectors[5] = 1;
    Observer().Name = "第一艦隊";
    DetectionStep(*state, ui);
    EXPECT_EQ(Observer().DetectLevel, 1);
    EXPECT_EQ(Observer().Designation.str(), "イ");
    EXPECT_EQ(Target().LastSighting, (std::array<std::int32_t, 3>{400, 300, 5}));
    EXPECT_EQ(ui.CallsOf("MessageOk"),
              std::vector<std::string>{"MessageOk\t敵機触接\t第一艦隊が敵索敵機に発見されました。"});
}

TEST_F(SearchFixture, FortressesAreNotSearchedAndInstallationsAreAlwaysKnown) {
    AddShip(*state, Target(), kFortressClass, "要塞", {});
    DetectionStep(*state, ui);
    EXPECT_EQ(Target().DetectLevel, 0);

    TFleet& base = PlaceFleet(*state, 20, {100, 100}, {kBaseClass});
    base.Number = 20;
    DetectionStep(*state, ui);
    EXPECT_EQ(base.DetectLevel, 1);
    EXPECT_FALSE(base.Designation.str().empty());
}

struct SectorPlanCase {
    const char* what;
    bool installation;
    int target_fleet;
    std::array<std::uint8_t, 8> expected;
};

class SetSearchSectorsFor : public SearchFixture,
                            public ::testing::WithParamInterface<SectorPlanCase> {};

TEST_P(SetSearchSectorsFor, PointsTheComputersSearch) {
    const SectorPlanCase& c = GetParam();
    TFleet& f = Target();
    f.SearchSectors = {1, 1, 1, 1, 1, 1, 1, 1};
    if (c.installation) AddShip(*state, f, kBaseClass, "基地", {});
    f.TargetFleet = c.target_fleet;
    f.LastSighting = {480, 200, 3};  // due north of (480, 260): no sector
    Observer().SearchSectors = {0, 1, 0, 0, 0, 0, 0, 0};
    SetSearchSectors(*state, ui);
    EXPECT_EQ(f.SearchSectors, c.expected) << c.what;
    EXPECT_EQ(Observer().SearchSectors, (std::array<std::uint8_t, 8>{0, 1, 0, 0, 0, 0, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(
    Plans, SetSearchSectorsFor,
    ::testing::Values(
        SectorPlanCase{"computer installation", true, 0, {1, 1, 0, 0, 0, 0, 1, 1}},
        // Fleet 0 lies west-south-west (sector 5): 5 and 4.
        SectorPlanCase{"target", false, 0, {0, 0, 0, 0, 1, 1, 0, 0}},
        SectorPlanCase{"last sighting due north", false, kNoTargetFleet, {0, 0, 0, 0, 0, 0, 0, 0}}));

TEST(ShipborneScoutsOf, DamagedDecksCarryFewer) {
    TFleet fleet;
    fleet.ShipCount = 4;
    for (std::size_t i = 0; i < 4; ++i) {
        fleet.Ships[i].ReconAircraft = 7;
        fleet.Ships[i].DeckState = static_cast<std::uint8_t>(i);
    }
    EXPECT_EQ(ShipborneScouts(fleet), 7 + 4 + 3);
}

}  // namespace
}  // namespace velmora
