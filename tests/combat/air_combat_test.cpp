#include "combat/air_combat.h"

#include <gtest/gtest.h>

#include "combat_fixture.h"

namespace velmora {
namespace {

using testing::BattleLines;
using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;
using testing::SetCues;
using testing::SetType;

constexpr int kPatrolType = 2;
constexpr int kFighter = 3;
constexpr int kBomber = 4;
constexpr int kTurn = 10;

class AirCombatTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state->Turn = kTurn;
        SetCues(*state);
        SetClass(*state, 0, kCarrier, 100);
        SetType(*state, kPatrolType, "烈風改");
        SetType(*state, kFighter, "烈風");
        SetType(*state, kBomber, "流星");
        strike.AircraftTypes = {kFighter, kBomber, 0, 0, 0, 0};
    }

    TFleet& Defender(int index, std::array<std::int32_t, 3> launches) {
        TFleet& fleet = PlaceFleet(*state, index, {0, 0}, {0});
        fleet.CapType = kPatrolType;
        for (int back = 0; back < 3; ++back) {
            fleet.CapLaunched[static_cast<std::size_t>(kTurn - 2 + back)] =
                launches[static_cast<std::size_t>(back)];
        }
        return fleet;
    }

    AircraftType& Type(int index) {
        return state->AircraftTypeTable[static_cast<std::size_t>(index)];
    }

    // Every engagement kills: the shooter's power overcomes any evasion.
    void CertainKills() {
        for (int t : {kPatrolType, kFighter, kBomber}) {
            Type(t).AttackPower = 10;
            Type(t).Evasion = 1;
        }
    }

    std::unique_ptr<GameState> state = NewState(5);
    RecordingFrontend frontend;
    TAirUnit strike;
};

TEST_F(AirCombatTest, NoPatrolAloftNoFight) {
    TFleet& fleet = Defender(13, {0, 0, 0});
    fleet.CapLaunched[kTurn - 3] = 9;  // landed already
    strike.Counts = {4, 6, 0, 0, 0, 0};
    AirCombat(*state, frontend, strike, fleet);
    EXPECT_TRUE(frontend.Transcript().empty());
    EXPECT_EQ(strike.Counts[0], 4);
}

TEST_F(AirCombatTest, AnElectronicEdgeDecidesWhoEngages) {
    CertainKills();
    Type(kPatrolType).ElectronicWarfare = 8;  // the patrol always engages, the escorts never
    TFleet& fleet = Defender(13, {4, 4, 2});
    strike.Counts = {4, 6, 0, 0, 0, 0};
    AirCombat(*state, frontend, strike, fleet);
    EXPECT_EQ(BattleLines(frontend),
              (std::vector<std::string>{"烈風改10機 対 烈風4機", "電子戦修正 8ステルス修正 0",
                                        "烈風を4機撃墜されました。", "烈風改を0機撃墜しました。",
                                        "烈風改10機 対 流星6機", "流星を6機撃墜されました。",
                                        "烈風改を0機撃墜しました。"}));
    EXPECT_EQ(strike.Counts[0], 0);
    EXPECT_EQ(strike.Counts[1], 0);
    EXPECT_EQ(state->InterceptTally[1], 10);
    EXPECT_EQ(frontend.Transcript().front(), "PlaySoundCue\trun.wav");
}

TEST_F(AirCombatTest, ImpossibleKillsLeaveBothSidesWhole) {
    for (int t : {kPatrolType, kFighter, kBomber}) Type(t).Evasion = 7;  // power 0
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
        state->Random.Seed(seed);
        TFleet& fleet = Defender(0, {4, 4, 2});
        strike.Counts = {4, 6, 0, 0, 0, 0};
        AirCombat(*state, frontend, strike, fleet);
        EXPECT_EQ(strike.Counts[0] + strike.Counts[1], 10);
        EXPECT_EQ(
            fleet.CapLaunched[kTurn - 2] + fleet.CapLaunched[kTurn - 1] + fleet.CapLaunched[kTurn],
            10);
    }
}

TEST_F(AirCombatTest, EscortsThatOutnumberThePatrolWipeItOut) {
    CertainKills();
    Type(kFighter).ElectronicWarfare = 8;
    TFleet& fleet = Defender(0, {2, 2, 1});
    strike.Counts = {20, 6, 0, 0, 0, 0};
    AirCombat(*state, frontend, strike, fleet);
    EXPECT_EQ(BattleLines(frontend),
              (std::vector<std::string>{"烈風改5機 対 烈風20機", "電子戦修正 -8ステルス修正 0",
                                        "烈風を0機撃墜しました。", "烈風改を5機撃墜されました。"}));
    EXPECT_EQ(
        fleet.CapLaunched[kTurn - 2] + fleet.CapLaunched[kTurn - 1] + fleet.CapLaunched[kTurn], 0);
    EXPECT_EQ(strike.Counts[1], 6);
    EXPECT_EQ(state->InterceptTally[0], 5);
}

TEST_F(AirCombatTest, PatrolLossesSpreadOverTheThreeLaunches) {
    CertainKills();
    Type(kFighter).ElectronicWarfare = 8;
    TFleet& fleet = Defender(13, {4, 4, 2});
    strike.Counts = {5, 0, 0, 0, 0, 0};
    AirCombat(*state, frontend, strike, fleet);
    // 5 of 10: 4 * 5 / 10 = 2 from each older launch, the newest the rest.
    EXPECT_EQ(fleet.CapLaunched[kTurn - 2], 2);
    EXPECT_EQ(fleet.CapLaunched[kTurn - 1], 2);
    EXPECT_EQ(fleet.CapLaunched[kTurn], 1);
    EXPECT_EQ(fleet.TurnScratch, 5);
}

TEST_F(AirCombatTest, ASecondStrikeMeetsAWeakerPatrol) {
    CertainKills();
    Type(kFighter).ElectronicWarfare = 8;
    Type(kBomber).ElectronicWarfare = -8;  // the patrol always engages the bombers
    TFleet& fleet = Defender(13, {4, 4, 6});
    strike.Counts = {5, 0, 0, 0, 0, 0};
    AirCombat(*state, frontend, strike, fleet);
    frontend.ClearTranscript();

    TAirUnit second;
    second.AircraftTypes = {kFighter, kBomber, 0, 0, 0, 0};
    second.Counts = {0, 6, 0, 0, 0, 0};
    AirCombat(*state, frontend, second, fleet);
    // 9 aloft, less the 5 already tied up by the first strike's escorts.
    const auto lines = BattleLines(frontend);
    EXPECT_EQ(lines[0], "烈風改9機 対 烈風0機");
    EXPECT_EQ(lines[4], "烈風改4機 対 流星6機");
    EXPECT_EQ(second.Counts[1], 2);
}

TEST_F(AirCombatTest, SearchAircraftDrawPatrolAwayButAreNeverShot) {
    CertainKills();
    Type(kBomber).ElectronicWarfare = -8;
    TFleet& fleet = Defender(13, {0, 0, 8});
    strike.Counts = {0, 2, 2, 0, 0, 0};
    AirCombat(*state, frontend, strike, fleet);
    EXPECT_EQ(BattleLines(frontend)[4], "烈風改4機 対 流星2機");
    EXPECT_EQ(strike.Counts[2], 2);
}

TEST_F(AirCombatTest, EarlyTurnsHaveNoLaunchesBeforeTurnZero) {
    state->Turn = 1;
    TFleet& fleet = PlaceFleet(*state, 13, {0, 0}, {0});
    fleet.CapType = kPatrolType;
    fleet.CapLaunched[0] = 3;
    fleet.CapLaunched[1] = 2;
    fleet.CapLaunched[200] = 50;  // not turn -1
    strike.Counts = {1, 1, 0, 0, 0, 0};
    AirCombat(*state, frontend, strike, fleet);
    EXPECT_EQ(BattleLines(frontend)[0], "烈風改5機 対 烈風1機");
}

}  // namespace
}  // namespace velmora
