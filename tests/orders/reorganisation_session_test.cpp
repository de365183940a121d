#include "orders/reorganisation_session.h"

#include <gtest/gtest.h>

#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;

class ReorganisationSessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state = NewState();
        SetClass(*state, 1, kDestroyer, 50);
        TFleet& first = PlaceFleet(*state, 0, {200, 300}, {1, 1, 1});
        first.Commander = "left admiral";
        PlaceFleet(*state, 1, {100, 100}, {1});
        state->SelectedFleet = 1;
    }
    std::unique_ptr<GameState> state;
    RecordingFrontend ui;
};

TEST_F(ReorganisationSessionTest, SplitOpensOnTheSelectedFleetAndAFreeSlot) {
    state->SelectedFleet = 0;
    auto session = ReorganisationSession::Split(*state);
    ASSERT_TRUE(session);
    EXPECT_EQ(session->LeftFleet(), 0);
    EXPECT_EQ(session->RightFleet(), 2);
    EXPECT_EQ(session->LeftShips(*state),
              (std::vector<std::string>{"ship0_0", "ship0_1", "ship0_2"}));
    EXPECT_TRUE(session->RightShips(*state).empty());

    // The right boxes keep what they held at a split.
    const ReorganisationNames previous{"a", "b", "kept admiral", "kept fleet"};
    EXPECT_EQ(session->OpeningNames(*state, previous),
              (ReorganisationNames{"left admiral", "fleet0", "kept admiral", "kept fleet"}));

    state->SelectedFleet = kNoFleet;
    EXPECT_FALSE(ReorganisationSession::Split(*state));
}

TEST_F(ReorganisationSessionTest, SecondMoveWithoutANewClickTakesTheShipThatMovedUp) {
    state->SelectedFleet = 0;
    auto session = *ReorganisationSession::Split(*state);
    EXPECT_FALSE(session.MoveRight(*state));  // nothing clicked yet
    session.PickLeft(1);
    EXPECT_TRUE(session.MoveRight(*state));
    EXPECT_TRUE(session.MoveRight(*state));
    EXPECT_FALSE(session.MoveRight(*state));  // the list is shorter than the pick now
    EXPECT_EQ(session.LeftShips(*state), (std::vector<std::string>{"ship0_0"}));
    EXPECT_EQ(session.RightShips(*state), (std::vector<std::string>{"ship0_1", "ship0_2"}));

    session.PickRight(0);
    EXPECT_TRUE(session.MoveLeft(*state));
    EXPECT_EQ(session.LeftShips(*state), (std::vector<std::string>{"ship0_0", "ship0_1"}));
}

TEST_F(ReorganisationSessionTest, ClosingPlacesTheNewFleetAndKeepsNamesOnlyWhenDecided) {
    state->SelectedFleet = 0;
    auto session = *ReorganisationSession::Split(*state);
    session.PickLeft(0);
    ASSERT_TRUE(session.MoveRight(*state));
    session.Close(*state, ui);
    const TFleet& made = state->Fleet(2);
    EXPECT_EQ(made.Active, 1);
    EXPECT_EQ(made.Position, (Point{200, 300}));
    EXPECT_EQ(state->Fleet(0).Active, 1);
    EXPECT_EQ(state->SelectedFleet, 0);
    EXPECT_EQ(ui.Transcript(), (std::vector<std::string>{"RefreshPalette", "RedrawMap"}));

    // Each box keeps at most 30 bytes: 15 two-byte characters.
    session.Decide(*state, {"甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳", "L", "R1", "R2"});
    EXPECT_EQ(state->Fleet(0).Commander.str(), "甲乙丙丁戊己庚辛壬癸子丑寅卯辰");
    EXPECT_EQ(state->Fleet(0).Name.str(), "L");
    EXPECT_EQ(state->Fleet(2).Commander.str(), "R1");
    EXPECT_EQ(state->Fleet(2).Name.str(), "R2");
}

TEST_F(ReorganisationSessionTest, EmptyingTheLeftFleetSelectsTheFirstRemainingPlayerFleet) {
    state->SelectedFleet = 1;
    ui.Answer("0");
    auto session = ReorganisationSession::Join(*state, ui);
    ASSERT_FALSE(session);  // fleet 0 lies 223 away: nothing to join
    state->Fleet(1).Position = {205, 300};
    session = ReorganisationSession::Join(*state, ui);
    ASSERT_TRUE(session);
    EXPECT_EQ(session->RightFleet(), 0);
    EXPECT_EQ(session->OpeningNames(*state, {}),
              (ReorganisationNames{"", "fleet1", "left admiral", "fleet0"}));

    session->PickLeft(0);
    ASSERT_TRUE(session->MoveRight(*state));
    ui.ClearTranscript();
    session->Close(*state, ui);
    EXPECT_EQ(state->Fleet(1).Active, 0);
    EXPECT_EQ(state->Fleet(0).ShipCount, 4);
    EXPECT_EQ(state->Fleet(0).Position, (Point{205, 300}));  // the right fleet joins the left
    EXPECT_EQ(state->SelectedFleet, 0);
    EXPECT_EQ(ui.CallsOf("RefreshPalette").size(), 1u);
}

}  // namespace
}  // namespace velmora
