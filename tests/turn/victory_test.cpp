#include "turn/victory.h"

#include <gtest/gtest.h>

#include <functional>

#include "frontend/reports.h"
#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;

constexpr int kClass = 1;

void SinkPlayerShip(GameState& state, int type, int max) {
    SetClass(state, kClass, type, max);
    TShip& ship =
        state.LostShipsPlayer.Ships[static_cast<std::size_t>(state.LostShipsPlayer.Count++)];
    ship.ClassIndex = kClass;
    ship.Name = "沈没艦A";
}

void SinkComputerShip(GameState& state, int type, int max) {
    SetClass(state, kClass, type, max);
    TShip& ship =
        state.LostShipsComputer.Ships[static_cast<std::size_t>(state.LostShipsComputer.Count++)];
    ship.ClassIndex = kClass;
    ship.Name = "沈没艦B";
}

void DamageShip(GameState& state, int fleet, int type, int max, int cur) {
    SetClass(state, kClass, type, max);
    TFleet& f = PlaceFleet(state, fleet, {100, 100}, {kClass});
    f.Ships[0].Durability = cur;
}

struct VictoryCase {
    const char* name;
    std::function<void(GameState&)> setup;
    int player;
    int computer;
    const char* outcome;
};

class EvaluateVictoryTest : public ::testing::TestWithParam<VictoryCase> {};

TEST_P(EvaluateVictoryTest, AddsUpBothSides) {
    const VictoryCase& c = GetParam();
    auto state = NewState();
    c.setup(*state);
    RecordingFrontend frontend;
    VictoryReport report = EvaluateVictory(*state, frontend);
    EXPECT_EQ(report.Totals[0], c.player);
    EXPECT_EQ(report.Totals[1], c.computer);
    EXPECT_EQ(report.Outcome, c.outcome);
    EXPECT_EQ(state->Victory.PlayerTotal, c.player);
    EXPECT_EQ(state->Victory.ComputerTotal, c.computer);
    EXPECT_EQ(frontend.CallsOf("ShowVictory").size(), 1u);
}

const char* const kWin = "プレイヤー側勝利";
const char* const kLoss = "プレイヤー側敗北";
const char* const kDraw = "両軍引き分け";

INSTANTIATE_TEST_SUITE_P(
    Tables, EvaluateVictoryTest,
    ::testing::Values(
        VictoryCase{"NothingHappened", [](GameState&) {}, 0, 0, kDraw},
        VictoryCase{"SmallCarrierSunk", [](GameState& s) { SinkPlayerShip(s, kCarrier, 50); }, 0,
                    80, kLoss},
        VictoryCase{"CarrierSunk", [](GameState& s) { SinkPlayerShip(s, kCarrier, 51); }, 0, 100,
                    kLoss},
        VictoryCase{"PlayerTransportSunk", [](GameState& s) { SinkPlayerShip(s, kTransport, 5); },
                    0, 40, kLoss},
        VictoryCase{"SmallComputerTransportSunk",
                    [](GameState& s) { SinkComputerShip(s, kTransport, 10); }, 30, 0, kWin},
        VictoryCase{"ComputerTransportSunk",
                    [](GameState& s) { SinkComputerShip(s, kTransport, 11); }, 50, 0, kWin},
        VictoryCase{"BattleshipSunk", [](GameState& s) { SinkComputerShip(s, kBattleship, 65); },
                    70, 0, kWin},
        VictoryCase{"BaseSunkScoresNothing",
                    [](GameState& s) { SinkComputerShip(s, kGroundBase, 100); }, 0, 0, kDraw},
        VictoryCase{"DestroyerLightlyDamaged",
                    [](GameState& s) { DamageShip(s, 14, kDestroyer, 30, 21); }, 5, 0, kWin},
        VictoryCase{"DestroyerDamaged", [](GameState& s) { DamageShip(s, 14, kDestroyer, 30, 20); },
                    10, 0, kWin},
        VictoryCase{"DestroyerHeavilyDamaged",
                    [](GameState& s) { DamageShip(s, 14, kDestroyer, 30, 10); }, 15, 0, kWin},
        VictoryCase{"UndamagedDestroyer",
                    [](GameState& s) { DamageShip(s, 14, kDestroyer, 30, 30); }, 0, 0, kDraw},
        VictoryCase{"PlayersCruiserDamaged",
                    [](GameState& s) { DamageShip(s, 1, kCruiser, 40, 26); }, 0, 20, kLoss},
        VictoryCase{"DamagedShipOutOfPlay",
                    [](GameState& s) {
                        DamageShip(s, 14, kDestroyer, 30, 10);
                        s.FleetTable[14].Active = 0;
                    },
                    0, 0, kDraw},
        VictoryCase{"BaseCaptured", [](GameState& s) { s.PlayerScore = 500; }, 500, 0, kWin},
        VictoryCase{"WeaponsStopped",
                    [](GameState& s) {
                        s.InterceptTally = {3, 7};
                    },
                    3, 7, kLoss},
        VictoryCase{"LandingPoints",
                    [](GameState& s) {
                        SetClass(s, 2, kGroundBase, 100);
                        PlaceFleet(s, 20, {1, 1}, {2}).LandingPoints = {0, 300};
                        PlaceFleet(s, 12, {1, 1}, {2}).LandingPoints = {150, 0};
                        s.InitialLandingPoints = {200, 100};
                    },
                    -50, 200, kLoss}),
    [](const auto& info) { return info.param.name; });

TEST(EvaluateVictory, ReportShowsCountsListsAndBothHalves) {
    auto state = NewState();
    SetClass(*state, 1, kCarrier, 60);
    SetClass(*state, 2, kDestroyer, 30);
    for (const char* name : {"赤城", "加賀"}) {
        TShip& ship =
            state->LostShipsPlayer.Ships[static_cast<std::size_t>(state->LostShipsPlayer.Count++)];
        ship.ClassIndex = 1;
        ship.Name = name;
    }
    TShip& lost = state->LostShipsComputer.Ships[0];
    lost.ClassIndex = 2;
    lost.Name = "敵駆逐艦";
    state->LostShipsComputer.Count = 1;
    TFleet& enemy = PlaceFleet(*state, 15, {1, 1}, {2, 2});
    enemy.Ships[1].Durability = 5;
    state->InterceptTally = {4, 9};
    state->PlayerScore = 500;
    state->ComputerScore = 0;

    RecordingFrontend frontend;
    VictoryReport report = EvaluateVictory(*state, frontend);
    EXPECT_EQ(report.SunkNames[0], (std::vector<std::string>{"赤城", "加賀"}));
    EXPECT_EQ(report.SunkNames[1], (std::vector<std::string>{"敵駆逐艦"}));
    EXPECT_EQ(report.Sunk[0][kCarrier], 2);
    EXPECT_EQ(report.Sunk[1][kDestroyer], 1);
    EXPECT_EQ(report.Damaged[1][kDestroyer], 1);
    EXPECT_EQ(report.Damaged[0][kDestroyer], 0);
    EXPECT_EQ(report.AircraftLosses, (std::array<std::int32_t, 2>{9, 4}));
    EXPECT_EQ(report.CapturePoints, (std::array<std::int32_t, 2>{500, 0}));
    EXPECT_EQ(report.Totals[0], 4 + 30 + 15 + 500);
    EXPECT_EQ(report.Totals[1], 9 + 200);
    EXPECT_EQ(report.Outcome, "プレイヤー側勝利");
}

TEST(EvaluateVictory, CountsFromABrokenRecordStayInsideTheTables) {
    auto state = NewState();
    state->LostShipsPlayer.Count = 100000;
    state->LostShipsComputer.Count = -4;
    state->FleetTable[0].Active = 1;
    state->FleetTable[0].ShipCount = 5000;
    state->FleetTable[0].Ships[0].ClassIndex = 9999;
    RecordingFrontend frontend;
    VictoryReport report = EvaluateVictory(*state, frontend);
    EXPECT_EQ(report.SunkNames[0].size(), static_cast<std::size_t>(kTableSize));
    EXPECT_TRUE(report.SunkNames[1].empty());
    EXPECT_EQ(report.Outcome, "両軍引き分け");
}

}  // namespace
}  // namespace velmora
