#include "combat/asw.h"

#include <gtest/gtest.h>

#include "orders/asw_orders.h"
#include "orders/orders.h"
#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;

class AswTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state = NewState();
        SetClass(*state, 1, kDestroyer, 10);
        state->AircraftTypeTable[4].Range = 100;
        TFleet& own = PlaceFleet(*state, 0, {100, 100}, {1});
        own.AirTypes[5] = 4;
        state->SelectedFleet = 0;
        state->MapMode = kMapModeNormal;
    }
    TFleet& Enemy(int index, Point at, const char* name) {
        TFleet& f = PlaceFleet(*state, index, at, {1});
        f.DetectLevel = 1;
        f.Designation = name;
        return f;
    }
    TFleet& Marker(int j, Point at, const char* name) {
        TFleet& m = state->ContactTable[static_cast<std::size_t>(j)];
        m.Active = 1;
        m.Side = kComputerSideValue;
        m.DetectLevel = 1;
        m.Position = at;
        m.Designation = name;
        return m;
    }
    std::unique_ptr<GameState> state;
    RecordingFrontend ui;
};

TEST_F(AswTest, RangesOfFleetsAndMarkers) {
    struct Case {
        const char* name;
        bool marker;
        int distance;
        int range;
        bool in_range;
    };
    const Case cases[] = {
        {"fleet at 150, range 100", false, 150, 100, true},
        {"fleet at 250, range 100", false, 250, 100, false},
        {"fleet at 250, range 250", false, 250, 250, true},
        {"marker at 150, range 100", true, 150, 100, false},
        {"marker at 9, range 0", true, 9, 0, true},
        {"marker at 150, range 150", true, 150, 150, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state->AircraftTypeTable[4].Range = c.range;
        state->ContactTable = {};
        state->Fleet(13) = TFleet{};
        const Point at{100 + c.distance, 100};
        if (c.marker) {
            Marker(3, at, "ホ");
        } else {
            Enemy(13, at, "ホ");
        }
        const auto found = AswCandidates(*state, state->Fleet(0), at);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].InRange, c.in_range);
        EXPECT_EQ(found[0].Index, c.marker ? 25 : 13);
    }
}

TEST_F(AswTest, UndetectedAndFarFromTheClickAreNoCandidates) {
    Enemy(13, {200, 100}, "イ").DetectLevel = 0;
    Enemy(14, {217, 100}, "ロ");
    PlaceFleet(*state, 1, {200, 100}, {1});  // the player's own
    EXPECT_TRUE(AswCandidates(*state, state->Fleet(0), {200, 100}).empty());
}

TEST_F(AswTest, TheAttackOrderRefusesWhatIsOutOfReachAndStoresThePick) {
    Enemy(13, {400, 100}, "イ");  // 300 away: out of reach
    Enemy(14, {250, 100}, "ロ");  // 150 away: in reach
    Enemy(15, {255, 100}, "ハ");
    ASSERT_TRUE(OrderAswAttack(*state));
    EXPECT_EQ(state->MapMode, kMapModeAswTarget);
    ui.Answer("1");
    EXPECT_EQ(ChooseAswTarget(*state, ui, {252, 100}), 15);
    EXPECT_EQ(state->Fleet(0).AswTarget, 15);
    EXPECT_EQ(state->MapMode, kMapModeNormal);
    EXPECT_EQ(ui.Transcript(), (std::vector<std::string>{"PickTarget\t目標\tロ|ハ"}));

    ui.ClearTranscript();
    EXPECT_EQ(ChooseAswTarget(*state, ui, {400, 100}), std::nullopt);
    EXPECT_EQ(ui.Transcript(),
              (std::vector<std::string>{"MessageOk\t距離外\t対潜攻撃距離外です。"}));
    EXPECT_EQ(state->Fleet(0).AswTarget, 15);
}

TEST_F(AswTest, AswAircraftAboardCountsOnlyPositiveLoads) {
    TFleet& own = PlaceFleet(*state, 0, {100, 100}, {1, 1, 1});
    own.Ships[0].AircraftAboard[5] = 4;
    own.Ships[1].AircraftAboard[5] = -3;
    own.Ships[2].AircraftAboard[5] = 2;
    EXPECT_EQ(AswAircraftAboard(own), 6);
}

}  // namespace
}  // namespace velmora
