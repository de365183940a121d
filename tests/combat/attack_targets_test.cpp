#include "combat/attack_targets.h"

#include <gtest/gtest.h>

#include <set>

#include "combat_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetDefendedClass;

constexpr int kAttacker = 13;
constexpr int kTarget = 0;

// Classes: 0 battleship, 1 cruiser, 2 destroyer, 3 carrier, 4 a picket
// whose area defence makes up the wanted total.
class ChooseTargets : public ::testing::Test {
  protected:
    void SetUp() override {
        SetDefendedClass(*state, 0, kBattleship, 100, 0, "大和");
        SetDefendedClass(*state, 1, kCruiser, 60, 0, "高雄");
        SetDefendedClass(*state, 2, kDestroyer, 30, 0, "吹雪");
        SetDefendedClass(*state, 3, kCarrier, 100, 0, "翔竜");
    }

    // A fully detected target with defence D held by one carrier (type 1
    // counts in the whole sum).
    TFleet& Target(std::int64_t defence, int bb, int cr, int dd, int detect = 4) {
        state->ShipClassTable[3].AreaDefence = static_cast<std::int32_t>(defence);
        std::vector<int> classes{3};
        for (int i = 0; i < bb; ++i) classes.push_back(0);
        for (int i = 0; i < cr; ++i) classes.push_back(1);
        for (int i = 0; i < dd; ++i) classes.push_back(2);
        TFleet& fleet = PlaceFleet(*state, kTarget, {0, 0}, classes);
        fleet.VtFuseFactor = 1.0;
        fleet.DetectLevel = detect;
        return fleet;
    }

    TFleet& Attacker(int escort_strikes = 0) {
        TFleet& fleet = PlaceFleet(*state, kAttacker, {0, 0}, {3});
        fleet.TargetFleet = kTarget;
        fleet.EscortStrikes = escort_strikes;
        return fleet;
    }

    std::unique_ptr<GameState> state = NewState(21);
    TAirUnit attack;
    double factor = 0.0;
};

TEST_F(ChooseTargets, AnAttackThatSwampsTheDefenceGoesForTheCarriers) {
    Target(90, 0, 0, 4);
    TFleet& attacker = Attacker(2);
    attacker.EscortStrikes = 0;
    ChooseAttackTargets(*state, attacker, attack, factor, 0, 31);  // 31 > 90 div 3
    EXPECT_EQ(attack.TargetGroup, 1);
    EXPECT_EQ(attack.TargetRequest[0], 3);
    EXPECT_EQ(attack.Tagged, 1);
    EXPECT_EQ(factor, 1.0);
    EXPECT_EQ(attacker.EscortStrikes, 0);
}

TEST_F(ChooseTargets, AWeakAttackThinsOutTheDestroyersFirst) {
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
        state->Random.Seed(seed);
        Target(300, 2, 4, 6);
        TFleet& attacker = Attacker();
        attack = TAirUnit{};
        ChooseAttackTargets(*state, attacker, attack, factor, 10, 30);
        // 40 div 12 = 3 and 40 div 10 = 4, scaled by at most 0.7: destroyers.
        EXPECT_EQ(attack.TargetGroup, 4);
        EXPECT_EQ(attack.TargetRequest[0], 2);
        EXPECT_EQ(attack.Tagged, 0);
        EXPECT_GE(factor, 0.4 - 1e-9);
        EXPECT_LE(factor, 0.7 + 1e-9);
        EXPECT_EQ(attacker.EscortStrikes, 1);
    }
}

TEST_F(ChooseTargets, EscortGroupsByWeaponsPerEscort) {
    struct Row {
        int bb, cr, dd;
        int total;
        int group;
        std::array<std::int32_t, 3> requests;
    };
    // Defence 3000 keeps every attack below the swamp line. Factor at
    // least 0.4: 250 / 10 escorts = 25 -> >= 10 > 9; 100 / 5 = 20 -> >= 8 > 6.
    for (const Row& row : {Row{4, 4, 3, 275, 11, {1, 1, 1}}, Row{0, 4, 1, 100, 10, {1, 1, 0}},
                           Row{0, 0, 2, 25, 4, {2, 0, 0}}, Row{0, 0, 6, 50, 4, {2, 0, 0}}}) {
        Target(3000, row.bb, row.cr, row.dd);
        TFleet& attacker = Attacker();
        attack = TAirUnit{};
        ChooseAttackTargets(*state, attacker, attack, factor, 0, row.total);
        EXPECT_EQ(attack.TargetGroup, row.group) << row.total;
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(attack.TargetRequest[i], row.requests[i]) << row.total << " request " << i;
        }
    }
}

TEST_F(ChooseTargets, AfterEscortStrikesAModestAttackGoesForTheCarriers) {
    Target(300, 0, 0, 6);
    TFleet& attacker = Attacker(1);
    ChooseAttackTargets(*state, attacker, attack, factor, 0, 21);  // 300 div 15 = 20 < 21
    EXPECT_EQ(attack.TargetGroup, 1);
    EXPECT_EQ(attack.TargetRequest[0], 2);
    EXPECT_EQ(attacker.EscortStrikes, 0);
}

TEST_F(ChooseTargets, TheProximityFuseScalesTheDefence) {
    TFleet& target = Target(90, 0, 0, 4);
    target.VtFuseFactor = 0.5;  // 45: 16 > 45 div 3
    TFleet& attacker = Attacker();
    ChooseAttackTargets(*state, attacker, attack, factor, 0, 16);
    EXPECT_EQ(attack.TargetGroup, 1);
}

TEST_F(ChooseTargets, NoEscortsAndAStrongDefenceLeaveTheRecordAlone) {
    Target(3000, 0, 0, 0);
    TFleet& attacker = Attacker();
    attack.TargetGroup = 7;
    attack.TargetRequest[0] = 5;
    ChooseAttackTargets(*state, attacker, attack, factor, 0, 40);
    EXPECT_EQ(attack.TargetGroup, 7);
    EXPECT_EQ(attack.TargetRequest[0], 5);
    EXPECT_EQ(attacker.EscortStrikes, 0);
}

TEST_F(ChooseTargets, APoorlyDetectedFleetIsCountedWithAnError) {
    std::set<int> requests;
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        state->Random.Seed(seed);
        Target(3000, 0, 5, 6, 2);
        TFleet& attacker = Attacker();
        attack = TAirUnit{};
        ChooseAttackTargets(*state, attacker, attack, factor, 0, 200);
        ASSERT_EQ(attack.TargetGroup, 10);
        requests.insert(attack.TargetRequest[0]);
    }
    // 5 div 4 = 1, with a jitter of -2..2: down to -1, which engages no cruiser.
    EXPECT_EQ(requests, (std::set<int>{-1, 0, 1, 2, 3}));
}

TEST_F(ChooseTargets, ABadTargetIndexLeavesEverythingAlone) {
    TFleet& attacker = Attacker();
    attacker.TargetFleet = 9999;
    attack.TargetGroup = 3;
    ChooseAttackTargets(*state, attacker, attack, factor, 0, 40);
    EXPECT_EQ(attack.TargetGroup, 3);
}

}  // namespace
}  // namespace velmora
