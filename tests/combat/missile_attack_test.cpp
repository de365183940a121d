#include "combat/missile_attack.h"

#include <gtest/gtest.h>

#include "combat/area_defence.h"
#include "combat/damage.h"
#include "combat_fixture.h"

namespace velmora {
namespace {

using testing::BattleLines;
using testing::CountContaining;
using testing::NewState;
using testing::PlaceFleet;
using testing::SetCues;
using testing::SetDefendedClass;
using testing::SetType;

constexpr int kPlayerFleet = 0;
constexpr int kComputerFleet = 13;
constexpr int kMissile = 1;
constexpr int kFighter = 3;
constexpr int kBomber = 4;

// Class 0 carrier, 1 battleship, 2 cruiser, 3 destroyer, 4 transport,
// 5 base, 6 AA site; area defence 10, 20, 30, 40, 5, 50, 70.
class MissileAttack : public ::testing::Test {
  protected:
    void SetUp() override {
        SetCues(*state);
        SetDefendedClass(*state, 0, kCarrier, 100, 10, "翔竜");
        SetDefendedClass(*state, 1, kBattleship, 100, 20, "大和");
        SetDefendedClass(*state, 2, kCruiser, 60, 30, "高雄");
        SetDefendedClass(*state, 3, kDestroyer, 30, 40, "吹雪");
        SetDefendedClass(*state, 4, kTransport, 20, 5, "輸送");
        SetDefendedClass(*state, 5, kGroundBase, 100, 50, "基地");
        SetDefendedClass(*state, 6, kAntiAircraftSite, 50, 70, "砲台");
        AircraftType& missile = SetType(*state, kMissile, "SSM-1");
        missile.DisplayName = "ハープーン";
        missile.BombPower = 10;
        missile.BombAccuracy = 100;
        SetType(*state, kFighter, "烈風");
        AircraftType& bomber = SetType(*state, kBomber, "流星");
        bomber.OrdnanceName = "爆弾";
        bomber.BombPower = 10;
        bomber.BombAccuracy = 100;
    }

    // A fleet of the given classes with no defences at all unless asked.
    TFleet& Target(int index, const std::vector<int>& classes, bool defended = false) {
        if (!defended) {
            for (int c = 0; c <= 6; ++c)
                state->ShipClassTable[static_cast<std::size_t>(c)].AreaDefence = 0;
        }
        TFleet& fleet = PlaceFleet(*state, index, {100, 100}, classes);
        fleet.Name = index <= kPlayerFleetLast ? "第一艦隊" : "敵艦隊";
        return fleet;
    }

    static TAirUnit Salvo(int missiles, int group, std::array<std::int32_t, 3> requests) {
        TAirUnit salvo;
        salvo.Counts[1] = missiles;
        salvo.WeaponKey = "SSM-1";
        salvo.TargetGroup = group;
        for (std::size_t i = 0; i < 3; ++i) salvo.TargetRequest[i] = requests[i];
        return salvo;
    }

    std::unique_ptr<GameState> state = NewState(11);
    RecordingFrontend frontend;
};

TEST_F(MissileAttack, AreaDefenceByTargetGroup) {
    TFleet& fleet = Target(kComputerFleet, {0, 1, 2, 3, 4, 5, 6}, true);
    const ShipTypeCounts counts = CountShipsByType(*state, fleet);
    struct Row {
        int group;
        std::int64_t total;
    };
    // Carriers: types 1..6 at full strength; cruisers: half of 3..6; an AA
    // site: nothing; a base: its own type in full.
    for (const Row row : {Row{1, 155}, Row{3, 62}, Row{7, 0}, Row{6, 50}, Row{2, 72}, Row{9, 25},
                          Row{10, 35}, Row{11, 45}, Row{8, 0}, Row{0, 0}}) {
        EXPECT_EQ(AreaDefenceAgainst(*state, fleet, counts, row.group), row.total) << row.group;
    }
}

TEST_F(MissileAttack, SuppressedShipsWeakenTheirType) {
    struct Row {
        std::vector<std::uint8_t> suppression;
        std::uint8_t type_level;
        std::int64_t cruisers;
    };
    // Six cruisers of 30: two heavily suppressed weigh 2.0, not above 6/3
    // but above 6/4, so the 120 left is divided by 4, not by 5.
    for (const Row& row : {Row{{2, 2, 0, 0, 0, 0}, 0, 30}, Row{{2, 2, 2, 0, 0, 0}, 0, 18},
                           Row{{1, 0, 0, 0, 0, 0}, 0, 150}, Row{{0, 0, 0, 0, 0, 0}, 1, 45},
                           Row{{0, 0, 0, 0, 0, 0}, 2, 36}}) {
        TFleet& fleet = Target(kComputerFleet, {2, 2, 2, 2, 2, 2}, true);
        for (std::size_t i = 0; i < 6; ++i) fleet.Ships[i].Suppression = row.suppression[i];
        fleet.TypeSuppression[kCruiser] = row.type_level;
        const DefenceByType d = AreaDefenceByType(*state, fleet, CountShipsByType(*state, fleet));
        EXPECT_EQ(d[kCruiser], row.cruisers);
    }
}

TEST_F(MissileAttack, AutomaticRequestTakesTheSmallerOfTheTwoSlots) {
    TFleet& target = Target(kComputerFleet, {3, 3, 3});
    TAirUnit salvo = Salvo(45, 4, {6, 1, 1});  // min(0/20 + 1, 45/20 + 1) = 1
    LaunchFleetMissiles(*state, frontend, salvo, target);
    EXPECT_EQ(CountContaining(BattleLines(frontend), "のポイントディフェンス"), 1);
}

TEST_F(MissileAttack, AnEmptyGroupFallsBackToTheFirstGroupWithShips) {
    TFleet& target = Target(kComputerFleet, {0});
    TAirUnit salvo = Salvo(2, 4, {1, 1, 1});
    LaunchFleetMissiles(*state, frontend, salvo, target);
    EXPECT_EQ(CountContaining(BattleLines(frontend), "ハープーン 2発が翔竜型空母を攻撃。"), 1);
}

TEST_F(MissileAttack, SurvivorsAreSharedWithTheRemainderToTheLastShip) {
    TFleet& target = Target(kComputerFleet, {3, 3, 3});
    TAirUnit salvo = Salvo(10, 4, {3, 1, 1});
    LaunchFleetMissiles(*state, frontend, salvo, target);
    const auto lines = BattleLines(frontend);
    EXPECT_EQ(CountContaining(lines, "ハープーン 3発が吹雪型駆逐艦を攻撃。"), 2);
    EXPECT_EQ(CountContaining(lines, "ハープーン 4発が吹雪型駆逐艦を攻撃。"), 1);
}

TEST_F(MissileAttack, AShareStoppedByPointDefenceStillRollsOnce) {
    TFleet& target = Target(kPlayerFleet, {3});
    target.Ships[0].PointDefence = 1000;
    target.Ships[0].SuppressionResistance = 200;
    TAirUnit salvo = Salvo(1, 4, {1, 1, 1});
    LaunchFleetMissiles(*state, frontend, salvo, target);
    const auto lines = BattleLines(frontend);
    EXPECT_EQ(CountContaining(lines, "ハープーンを0発阻止しました。"), 1);  // no area defence
    EXPECT_EQ(CountContaining(lines, "ハープーンを1発阻止しました。"), 1);
    EXPECT_EQ(CountContaining(lines, "ship0_0に攻撃。ハープーン 1発命中。"), 1);
    EXPECT_EQ(target.Ships[0].Durability, 20);
}

TEST_F(MissileAttack, DamageIsHalvedAgainstTheWrongKindOfTarget) {
    struct Row {
        int ship_class;
        int kind;
        int loss;
    };
    // One missile, certain hits: two rolls (s = 0 and 1) for 10 each.
    for (const Row row : {Row{3, 0, 20}, Row{5, 0, 10}, Row{3, 1, 10}, Row{5, 1, 20}}) {
        TFleet& target = Target(kComputerFleet, {row.ship_class});
        const int before = target.Ships[0].Durability;
        TAirUnit salvo = Salvo(1, row.ship_class == 5 ? 6 : 4, {1, 1, 1});
        salvo.AttackKind = row.kind;
        LaunchFleetMissiles(*state, frontend, salvo, target);
        EXPECT_EQ(before - target.Ships[0].Durability, row.loss)
            << row.ship_class << "/" << row.kind;
    }
}

TEST_F(MissileAttack, TheComputerReportOverCountsButDamagesByTheTrueHits) {
    TFleet& target = Target(kComputerFleet, {1});
    TAirUnit salvo = Salvo(1, 2, {1, 1, 1});
    LaunchFleetMissiles(*state, frontend, salvo, target);
    EXPECT_EQ(target.Ships[0].Durability, 80);
    const auto lines = BattleLines(frontend);
    bool seen = false;
    for (const std::string shown : {"2", "3", "4", "5"}) {
        seen |= CountContaining(lines, "大和型戦艦に攻撃。ハープーン " + shown + "発命中。") == 1;
    }
    EXPECT_TRUE(seen);
}

TEST_F(MissileAttack, ASalvoOnInstallationsComesBackLessWhatAreaDefenceStopped) {
    for (int group : {4, 6}) {
        TFleet& target = Target(kComputerFleet, {3, 5}, true);
        TAirUnit salvo = Salvo(30, group, {1, 1, 1});
        LaunchFleetMissiles(*state, frontend, salvo, target);
        if (group == 6) {
            EXPECT_LT(salvo.Counts[1], 30);
        } else {
            EXPECT_EQ(salvo.Counts[1], 30);
        }
    }
}

TEST_F(MissileAttack, NothingToEngageMeansNoMessagesAndNoChange) {
    TFleet& target = Target(kComputerFleet, {});
    TAirUnit salvo = Salvo(10, 1, {1, 1, 1});
    LaunchFleetMissiles(*state, frontend, salvo, target);
    EXPECT_TRUE(frontend.Transcript().empty());
}

TEST_F(MissileAttack, ANegativeRequestEngagesNoneOfItsTypeButTheOthersAreServed) {
    TFleet& target = Target(kComputerFleet, {2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3});
    TAirUnit salvo = Salvo(6, 10, {-1, 2, 1});
    LaunchFleetMissiles(*state, frontend, salvo, target);
    const auto lines = BattleLines(frontend);
    EXPECT_EQ(CountContaining(lines, "高雄型巡洋艦のポイントディフェンス"), 0);
    EXPECT_EQ(CountContaining(lines, "ハープーン 3発が吹雪型駆逐艦を攻撃。"), 2);
}

// Intercepts of the player's fleet are credited with up to half again;
// the computer's count exactly.
TEST_F(MissileAttack, ThePlayersInterceptsAreInflated) {
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        for (int fleet_index : {kPlayerFleet, kComputerFleet}) {
            state->Random.Seed(seed);
            state->InterceptTally = {0, 0};
            frontend.ClearTranscript();
            const TFleet& defender = Target(fleet_index, {3});
            std::int32_t count = 100;
            InterceptIncoming(*state, frontend, count, defender, kMissile, 30,
                              InterceptMode::kMissiles);
            const int removed = 100 - count;
            EXPECT_EQ(BattleLines(frontend).back(),
                      "ハープーンを" + std::to_string(removed) + "発阻止しました。");
            if (fleet_index == kPlayerFleet) {
                const int stopped = state->InterceptTally[0];
                EXPECT_GE(removed, stopped);
                EXPECT_LE(removed, stopped + stopped / 2);
            } else {
                EXPECT_EQ(removed, state->InterceptTally[1]);
            }
        }
    }
}

TEST_F(MissileAttack, AircraftInterceptsNameTheModifiersAndTheLosses) {
    AircraftType& bomber = state->AircraftTypeTable[kBomber];
    bomber.ElectronicWarfare = 3;
    bomber.StealthClass = "ステルス";
    const TFleet& defender = Target(kComputerFleet, {3});
    std::int32_t count = 5;
    InterceptIncoming(*state, frontend, count, defender, kBomber, 0, InterceptMode::kAircraft);
    EXPECT_EQ(BattleLines(frontend), (std::vector<std::string>{"電子戦修正 3ステルス修正 -1",
                                                               "流星を0機撃墜されました。"}));
    EXPECT_EQ(count, 5);
    // Electronic warfare and stealth of 14 or more make every shot miss.
    bomber.ElectronicWarfare = 13;
    InterceptIncoming(*state, frontend, count, defender, kBomber, 500, InterceptMode::kAircraft);
    EXPECT_EQ(count, 5);
}

class AirStrikeDelivery : public MissileAttack {
  protected:
    TAirUnit Strike(int fighters, int bombers, int kind) {
        TAirUnit strike;
        strike.Counts = {fighters, bombers, 0, 0, 0, 0};
        strike.AircraftTypes = {kFighter, kBomber, 0, 0, 0, 0};
        strike.AttackKind = kind;
        strike.TargetGroup = 4;
        strike.TargetRequest = {2, 1, 1, 1, 1, 1, 1, 1, 1};
        return strike;
    }
};

TEST_F(AirStrikeDelivery, SharesAreFilledFromTheLargerSlotFirst) {
    TFleet& target = Target(kComputerFleet, {3, 3});
    TFleet& attacker = Target(kPlayerFleet, {0});
    TAirUnit strike = Strike(3, 5, 1);
    frontend.Answer("4 2 1 1");
    DeliverAirStrike(*state, frontend, attacker, strike, target);
    std::vector<std::string> attacks;
    for (const std::string& line : BattleLines(frontend)) {
        if (line.find("を攻撃。") != std::string::npos) attacks.push_back(line);
    }
    // 8 aircraft, 4 a ship: the first ship meets four of the five bombers,
    // the second the last bomber and the three fighters (slot 0 first).
    EXPECT_EQ(attacks, (std::vector<std::string>{"流星  4機が吹雪型駆逐艦を攻撃。",
                                                 "烈風  3機が吹雪型駆逐艦を攻撃。",
                                                 "流星  1機が吹雪型駆逐艦を攻撃。"}));
    EXPECT_EQ(strike.Counts[0], 3);  // bombers come back with the record
    EXPECT_EQ(strike.Counts[1], 5);
}

TEST_F(AirStrikeDelivery, ThePlayerAimsInTheAttackTargetWindow) {
    TFleet& target = Target(kComputerFleet, {1, 3});
    TFleet& attacker = Target(kPlayerFleet, {0});
    TAirUnit strike = Strike(0, 2, 1);
    frontend.Answer("2 1 1 1");
    DeliverAirStrike(*state, frontend, attacker, strike, target);
    EXPECT_EQ(frontend.Transcript().front(), "ChooseTargetShips\tミサイル攻撃\t4");
    EXPECT_EQ(CountContaining(BattleLines(frontend), "流星  2機が大和型戦艦を攻撃。"), 1);
}

TEST_F(AirStrikeDelivery, ClosingTheWindowWithoutAGroupCallsTheAttackOff) {
    TFleet& target = Target(kComputerFleet, {1, 3});
    TFleet& attacker = Target(kPlayerFleet, {0});
    TAirUnit strike = Strike(0, 2, 1);
    frontend.Answer("0");
    DeliverAirStrike(*state, frontend, attacker, strike, target);
    EXPECT_TRUE(BattleLines(frontend).empty());
    EXPECT_EQ(target.Ships[0].Durability, 100);
}

TEST_F(AirStrikeDelivery, MissileAircraftCountMissilesAndComeHomeWhole) {
    state->AircraftTypeTable[kBomber].MissilesPerAircraft = 2;
    state->AircraftTypeTable[kBomber].DisplayName = "ASM-2";
    TFleet& target = Target(kComputerFleet, {3});
    TFleet& attacker = Target(kPlayerFleet, {0});
    TAirUnit strike = Strike(4, 3, 0);
    frontend.Answer("4 1 1 1");
    DeliverAirStrike(*state, frontend, attacker, strike, target);
    const auto lines = BattleLines(frontend);
    EXPECT_EQ(lines[0], "烈風  0発 ASM-2  6発敵艦隊に侵攻中");
    EXPECT_EQ(CountContaining(lines, "ASM-2  6発が吹雪型駆逐艦を攻撃。"), 1);
    EXPECT_EQ(strike.Counts[0], 4);
    EXPECT_EQ(strike.Counts[1], 3);
}

TEST_F(AirStrikeDelivery, TheComputerChoosesItsOwnTargets) {
    TFleet& target = Target(kPlayerFleet, {0, 3});
    target.VtFuseFactor = 1.0;
    TFleet& attacker = Target(kComputerFleet, {0});
    TAirUnit strike = Strike(0, 9, 1);
    strike.TargetGroup = 4;
    DeliverAirStrike(*state, frontend, attacker, strike, target);
    // No defence: nine bombers swamp it and go for the carrier.
    EXPECT_TRUE(frontend.CallsOf("ChooseTargetShips").empty());
    EXPECT_EQ(CountContaining(BattleLines(frontend), "流星  9機がship0_0を攻撃。"), 1);
    EXPECT_EQ(attacker.EscortStrikes, 0);
}

}  // namespace
}  // namespace velmora
