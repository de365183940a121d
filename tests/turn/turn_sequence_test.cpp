#include "turn/turn_sequence.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "chart/weather.h"
#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;
using testing::SetRoute;

// The state of a generator after `draws` more draws below `bound`.
Rng AfterDraws(Rng rng, int draws, int bound) {
    for (int i = 0; i < draws; ++i) rng.Random(bound);
    return rng;
}

TEST(DayPhase, NamesEveryHour) {
    struct Case {
        int hour;
        const char* phase;
    };
    for (const Case& c :
         {Case{1, "夜間"}, Case{4, "夜間"}, Case{5, "払暁"}, Case{6, "昼間"}, Case{12, "昼間"},
          Case{18, "昼間"}, Case{19, "薄暮"}, Case{20, "夜間"}, Case{24, "夜間"}}) {
        EXPECT_EQ(DayPhase(c.hour), c.phase) << c.hour;
    }
}

TEST(Caption, ShowsTurnHourPhaseAndMouse) {
    auto state = NewState();
    EXPECT_EQ(CaptionText(*state), "Velmora 1ターン 1時 夜間 X:0 Y:0");
    state->Turn = 12;
    state->Hour = 13;
    state->MouseX = 300;
    state->MouseY = 7;
    RecordingFrontend frontend;
    UpdateCaption(*state, frontend);
    EXPECT_EQ(frontend.Transcript(),
              std::vector<std::string>{"SetCaption\tVelmora 12ターン 13時 昼間 X:300 Y:7"});
}

struct ClockCase {
    int hour;
    int next_hour;
    bool markers_refresh;  // 14 markers x 8 draws
    bool winds_veer;       // 6 draws
};

class AdvanceClockTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(AdvanceClockTest, HourWrapsAndWeatherFollowsTheHour) {
    const ClockCase& c = GetParam();
    auto state = NewState(5);
    state->Hour = c.hour;
    state->Turn = 3;
    Rng before = state->Random;
    RecordingFrontend frontend;
    AdvanceClock(*state, frontend);
    EXPECT_EQ(state->Hour, c.next_hour);
    EXPECT_EQ(state->Turn, 4);
    Rng expected = AfterDraws(before, c.markers_refresh ? 14 * 8 : 0, 30);
    expected = AfterDraws(expected, c.winds_veer ? 6 : 0, 360);
    EXPECT_EQ(state->Random.State(), expected.State());
}

INSTANTIATE_TEST_SUITE_P(
    Hours, AdvanceClockTest,
    ::testing::Values(ClockCase{23, 24, false, true}, ClockCase{24, 1, false, false},
                      ClockCase{5, 6, false, true}, ClockCase{6, 7, false, false},
                      ClockCase{11, 12, false, true}, ClockCase{17, 18, true, true},
                      ClockCase{40, 1, false, false}, ClockCase{-7, 1, false, false}));

TEST(AdvanceClock, StormsDriftOnEvenHoursOnly) {
    auto state = NewState();
    state->StormCells[0] = {100, 100, 1};
    RecordingFrontend frontend;
    state->Hour = 8;  // to 9: odd
    AdvanceClock(*state, frontend);
    EXPECT_EQ(state->StormCells[0].X, 100);
    AdvanceClock(*state, frontend);  // to 10
    EXPECT_EQ(state->StormCells[0].X, 126);
}

TEST(AdvanceClock, MarkersGoBackOutAroundFleetsTwelveToSixteenAtEighteen) {
    auto state = NewState(9);
    for (int t = 12; t <= 16; ++t) {
        TFleet& fleet = PlaceFleet(*state, t, {100 * t - 1000, 300}, {});
        fleet.Destination = {100 * t - 1000, 500};
    }
    state->ContactTable[4].DetectLevel = 3;
    state->Hour = 17;
    RecordingFrontend frontend;
    AdvanceClock(*state, frontend);
    const int expected_fleet[15] = {0, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15, 16, 16, 16};
    for (int u = 1; u <= 14; ++u) {
        const TFleet& marker = state->ContactTable[static_cast<std::size_t>(u)];
        const TFleet& fleet = state->FleetTable[static_cast<std::size_t>(expected_fleet[u])];
        EXPECT_EQ(marker.TrackedFleet, expected_fleet[u]) << u;
        EXPECT_EQ(marker.Active, 1);
        EXPECT_EQ(marker.DetectLevel, 0);
        EXPECT_EQ(marker.Side, 1);
        EXPECT_LE(std::abs(marker.Position.X - fleet.Position.X), 29);
        EXPECT_LE(std::abs(marker.Position.Y - fleet.Position.Y), 29);
        EXPECT_LE(std::abs(marker.Destination.Y - fleet.Destination.Y), 29);
    }
    EXPECT_EQ(state->ContactTable[0].Active, 0);
}

TEST(AdvanceClock, VictoryOnceAtTheLastTurn) {
    auto state = NewState();
    state->LastTurn = 5;
    state->Turn = 3;
    RecordingFrontend frontend;
    AdvanceClock(*state, frontend);  // turn 4
    EXPECT_TRUE(frontend.CallsOf("ShowVictory").empty());
    AdvanceClock(*state, frontend);  // turn 5
    EXPECT_EQ(frontend.CallsOf("ShowVictory").size(), 1u);
    state->Turn = 4;  // even reaching the last turn again evaluates nothing more
    AdvanceClock(*state, frontend);
    AdvanceClock(*state, frontend);
    EXPECT_EQ(frontend.CallsOf("ShowVictory").size(), 1u);
}

struct RetreatCase {
    const char* name;
    int turn;
    int fleet;
    int y;
    const char* answer;
    bool asked;
    bool stays;
};

class RetreatCheckTest : public ::testing::TestWithParam<RetreatCase> {};

TEST_P(RetreatCheckTest, EdgesOfTheMapFromTurnEleven) {
    const RetreatCase& c = GetParam();
    auto state = NewState();
    state->Turn = c.turn;
    TFleet& fleet = PlaceFleet(*state, c.fleet, {300, c.y}, {});
    RecordingFrontend frontend;
    frontend.Answer(c.answer);
    RetreatCheck(*state, frontend);
    std::vector<std::string> expected;
    if (c.asked) {
        expected.push_back("MessageAsk\t撤退確認\t" + fleet.Name.str() +
                           "が撤退しますか？\tはい\tいいえ");
    }
    EXPECT_EQ(frontend.Transcript(), expected);
    EXPECT_EQ(fleet.Active, c.stays ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RetreatCheckTest,
    ::testing::Values(RetreatCase{"PlayerTurnTen", 10, 2, 5, "yes", false, true},
                      RetreatCase{"PlayerTurnElevenYes", 11, 2, 5, "yes", true, false},
                      RetreatCase{"PlayerTurnElevenNo", 11, 2, 5, "no", true, true},
                      RetreatCase{"PlayerAtTwenty", 11, 2, 20, "yes", false, true},
                      RetreatCase{"ComputerSouthEdge", 11, 15, 526, "yes", false, false},
                      RetreatCase{"ComputerAtMargin", 11, 15, 525, "yes", false, true},
                      RetreatCase{"ComputerTurnTen", 10, 15, 540, "yes", false, true},
                      RetreatCase{"ComputerNorthEdge", 11, 15, 5, "yes", false, true}),
    [](const auto& info) { return info.param.name; });

class BaseCapture : public ::testing::Test {
  protected:
    void SetUp() override {
        state = NewState();
        SetClass(*state, 1, kGroundBase, 100);
        state->Turn = 5;
        state->Hour = 8;
    }
    TShip& BaseShip(int fleet_index) {
        TFleet& base = PlaceFleet(*state, fleet_index, {400, 300}, {1});
        TShip& ship = base.Ships[0];
        ship.Name = "港湾基地";
        return ship;
    }
    std::vector<std::string> CaptureMessages() const {
        std::vector<std::string> out;
        for (const auto& line : frontend.CallsOf("MessageOk")) {
            if (line.find("基地制圧") != std::string::npos) out.push_back(line);
        }
        return out;
    }
    std::unique_ptr<GameState> state;
    RecordingFrontend frontend;
};

TEST_F(BaseCapture, ComputerBaseFallsTwoTurnEndsAfterItsDestruction) {
    TShip& ship = BaseShip(20);
    ship.DeckState = 4;
    ship.CaptureTurn = state->Turn + 2;  // destroyed in this turn end
    EndTurn(*state, frontend);
    EndTurn(*state, frontend);
    EXPECT_TRUE(CaptureMessages().empty());
    EXPECT_EQ(state->PlayerScore, 0);
    EndTurn(*state, frontend);
    EXPECT_EQ(CaptureMessages(),
              std::vector<std::string>{"MessageOk\t基地制圧成功\t港湾基地の制圧に成功しました。"});
    EXPECT_EQ(state->PlayerScore, 500);
    EXPECT_EQ(state->ComputerScore, 0);
    EndTurn(*state, frontend);
    EXPECT_EQ(CaptureMessages().size(), 1u);
}

TEST_F(BaseCapture, PlayersBaseScoresForTheComputer) {
    TShip& ship = BaseShip(12);
    ship.DeckState = 4;
    ship.CaptureTurn = state->Turn;
    BaseCaptureCheck(*state, frontend);
    EXPECT_EQ(state->ComputerScore, 500);
    EXPECT_EQ(state->PlayerScore, 0);
}

TEST_F(BaseCapture, RestoredInstallationIsNotCaptured) {
    TShip& ship = BaseShip(20);
    ship.DeckState = 0;
    ship.CaptureTurn = state->Turn + 1;
    BaseCaptureCheck(*state, frontend);
    EXPECT_EQ(CaptureMessages(),
              std::vector<std::string>{"MessageOk\t基地制圧失敗\t港湾基地の制圧に失敗しました。"});
    EXPECT_EQ(ship.CaptureTurn, -1);
    EXPECT_EQ(state->PlayerScore, 0);
    BaseCaptureCheck(*state, frontend);
    EXPECT_EQ(CaptureMessages().size(), 1u);
}

TEST_F(BaseCapture, PastCaptureTurnsAreLeftAlone) {
    TShip& ship = BaseShip(20);
    ship.CaptureTurn = -1;
    BaseShip(21).CaptureTurn = state->Turn - 1;
    BaseCaptureCheck(*state, frontend);
    EXPECT_TRUE(frontend.Transcript().empty());
}

TEST(RetireEmptyFleets, RunsBeforeDetectionDecayAndRetreat) {
    auto state = NewState();
    state->Turn = 11;
    TFleet& sunk = PlaceFleet(*state, 3, {300, 5}, {});
    sunk.DetectLevel = 2;
    SetClass(*state, 2, kDestroyer, 30);
    TFleet& afloat = PlaceFleet(*state, 4, {300, 300}, {2});
    afloat.DetectLevel = 2;
    RecordingFrontend frontend;
    EndTurn(*state, frontend);
    EXPECT_EQ(sunk.Active, 0);
    EXPECT_EQ(sunk.DetectLevel, 2);  // out of play before the decay
    EXPECT_TRUE(frontend.CallsOf("MessageAsk").empty());
    EXPECT_EQ(afloat.Active, 1);
    EXPECT_EQ(afloat.DetectLevel, 1);
}

TEST(FleetHousekeeping, DetectionDecaysOnlyForUnseenMovingFleetsInPlay) {
    auto state = NewState();
    SetClass(*state, 1, kGroundBase, 100, 0, "");
    SetClass(*state, 2, kCruiser, 40, 30, "SSM-1");
    TFleet& unseen = PlaceFleet(*state, 0, {1, 1}, {2});
    TFleet& seen = PlaceFleet(*state, 1, {1, 1}, {2});
    TFleet& base = PlaceFleet(*state, 12, {1, 1}, {1});
    TFleet& idle = PlaceFleet(*state, 2, {1, 1}, {2});
    seen.SeenThisTurn = 1;
    idle.Active = 0;
    idle.SeenThisTurn = 1;
    for (TFleet* f : {&unseen, &seen, &base, &idle}) f->DetectLevel = 2;
    unseen.TypeSuppression.fill(3);
    unseen.TypeSuppressionTail.fill(3);
    unseen.TurnScratch = 9;
    TFleet& marker = state->ContactTable[1];
    marker.Active = 1;
    marker.DetectLevel = 1;

    FleetHousekeeping(*state);

    EXPECT_EQ(unseen.DetectLevel, 1);
    EXPECT_EQ(seen.DetectLevel, 2);
    EXPECT_EQ(base.DetectLevel, 2);
    EXPECT_EQ(idle.DetectLevel, 2);
    EXPECT_EQ(marker.DetectLevel, 0);
    EXPECT_EQ(seen.SeenThisTurn, 0);
    EXPECT_EQ(idle.SeenThisTurn, 1);  // only fleets in play are cleared
    EXPECT_EQ(unseen.TypeSuppression, (std::array<std::uint8_t, 9>{}));
    EXPECT_EQ(unseen.TypeSuppressionTail, (std::array<std::uint8_t, 3>{}));
    EXPECT_EQ(unseen.TurnScratch, 0);
    EXPECT_EQ(unseen.FlagshipWeapon.str(), "SSM-1");
}

TEST(FleetHousekeeping, FleetWithoutShipsKeepsItsFlagshipWeapon) {
    auto state = NewState();
    TFleet& empty = PlaceFleet(*state, 5, {1, 1}, {});
    empty.FlagshipWeapon = "old";
    empty.Ships[0].ClassIndex = -1;
    FleetHousekeeping(*state);
    EXPECT_EQ(empty.FlagshipWeapon.str(), "old");
}

TEST(RerollSuppression, DrawsOncePerShipOfEveryFleet) {
    auto state = NewState(21);
    SetClass(*state, 2, kCruiser, 40);
    PlaceFleet(*state, 0, {1, 1}, {2, 2, 2});
    TFleet& idle = PlaceFleet(*state, 20, {1, 1}, {2, 2});
    idle.Active = 0;
    Rng reference = state->Random;
    RerollSuppression(*state);
    int draws = 0;
    for (const TFleet* f : {&state->FleetTable[0], &state->FleetTable[20]}) {
        for (int j = 0; j < f->ShipCount; ++j) {
            EXPECT_EQ(f->Ships[static_cast<std::size_t>(j)].Suppression,
                      reference.Random(100) >= 80 ? 1 : 0);
            ++draws;
        }
    }
    EXPECT_EQ(draws, 5);
    EXPECT_EQ(state->Random.State(), reference.State());
}

TEST(EndTurn, FrameOfTheTurnEnd) {
    auto state = NewState();
    state->Hour = 1;
    RecordingFrontend frontend;
    EXPECT_TRUE(EndTurn(*state, frontend));
    EXPECT_EQ(frontend.Transcript(),
              (std::vector<std::string>{"SetTurnEndEnabled\t0", "RedrawMap", "SetTurnEndEnabled\t1",
                                        "SetCaption\tVelmora 2ターン 2時 夜間 X:0 Y:0"}));
    EXPECT_FALSE(state->TurnEndRunning);
}

// Presses the turn-end button again while the map is redrawn.
class ImpatientFrontend : public RecordingFrontend {
  public:
    explicit ImpatientFrontend(GameState& state) : state_(state) {}
    void RedrawMap() override {
        RecordingFrontend::RedrawMap();
        inner_result = EndTurn(state_, *this);
    }
    bool inner_result = true;

  private:
    GameState& state_;
};

TEST(EndTurn, CannotStartWhileOneIsRunning) {
    auto state = NewState();
    ImpatientFrontend frontend(*state);
    EXPECT_TRUE(EndTurn(*state, frontend));
    EXPECT_FALSE(frontend.inner_result);
    EXPECT_EQ(state->Turn, 2);
    EXPECT_EQ(frontend.CallsOf("SetTurnEndEnabled").size(), 2u);
    EXPECT_FALSE(state->TurnEndRunning);
}

// A small game: moving fleets on both sides, markers, storms, a base.
std::unique_ptr<GameState> SmallGame(std::uint64_t seed) {
    auto state = NewState(seed);
    SetClass(*state, 1, kGroundBase, 100, 0);
    SetClass(*state, 2, kCruiser, 40, 30, "SSM-1");
    state->Hour = 14;
    state->LastTurn = 6;
    TFleet& own = PlaceFleet(*state, 0, {100, 100}, {2, 2});
    SetRoute(own, {{300, 120}, {500, 400}});
    PlaceFleet(*state, 12, {50, 500}, {1});
    for (int t = 13; t <= 16; ++t) {
        TFleet& enemy = PlaceFleet(*state, t, {700, 40 * t}, {2});
        enemy.Destination = {200, 40 * t};
        SetRoute(enemy, {enemy.Destination});
    }
    testing::FillLand(*state, 380, 200, 420, 330);
    SetClouds(*state, 4);
    return state;
}

void ExpectSameGame(const GameState& a, const GameState& b) {
    EXPECT_EQ(a.FleetTable, b.FleetTable);
    EXPECT_EQ(a.ContactTable, b.ContactTable);
    EXPECT_EQ(a.StormCells, b.StormCells);
    EXPECT_EQ(a.WindDirections, b.WindDirections);
    EXPECT_EQ(a.Victory, b.Victory);
    EXPECT_EQ(a.Turn, b.Turn);
    EXPECT_EQ(a.Hour, b.Hour);
    EXPECT_EQ(a.Random.State(), b.Random.State());
}

TEST(EndTurn, SameSeedSameGame) {
    auto a = SmallGame(1234);
    auto b = SmallGame(1234);
    auto c = SmallGame(4321);
    RecordingFrontend fa;
    RecordingFrontend fb;
    RecordingFrontend fc;
    for (int i = 0; i < 8; ++i) {
        EndTurn(*a, fa);
        EndTurn(*b, fb);
        EndTurn(*c, fc);
    }
    ExpectSameGame(*a, *b);
    EXPECT_EQ(fa.Transcript(), fb.Transcript());
    EXPECT_NE(a->StormCells, c->StormCells);
    EXPECT_EQ(a->Turn, 9);
    EXPECT_EQ(fa.CallsOf("ShowVictory").size(), 1u);
}

}  // namespace
}  // namespace velmora
