#include "combat/air_strikes.h"

#include <gtest/gtest.h>

#include "combat_fixture.h"
#include "turn/turn_sequence.h"

namespace velmora {
namespace {

using testing::BattleLines;
using testing::NewState;
using testing::PlaceFleet;
using testing::SetCues;
using testing::SetDefendedClass;
using testing::SetType;

constexpr int kPatrolType = 2;
constexpr int kFighter = 3;
constexpr int kBomber = 4;
constexpr int kTurn = 10;
constexpr std::uint8_t kInFlight = 5;

class AirStrikes : public ::testing::Test {
  protected:
    void SetUp() override {
        state->Turn = kTurn;
        SetCues(*state);
        SetDefendedClass(*state, 0, kCarrier, 100, 10, "翔竜");
        SetDefendedClass(*state, 1, kCruiser, 60, 8, "高雄");
        SetDefendedClass(*state, 2, kDestroyer, 30, 6, "吹雪");
        state->ShipClassTable[1].PointDefence = 3;
        state->ShipClassTable[2].PointDefence = 2;
        SetType(*state, kPatrolType, "烈風改").Evasion = 4;
        AircraftType& fighter = SetType(*state, kFighter, "烈風");
        fighter.Evasion = 4;
        fighter.AttackPower = 1;
        AircraftType& bomber = SetType(*state, kBomber, "流星");
        bomber.OrdnanceName = "爆弾";
        bomber.Evasion = 5;
        bomber.BombPower = 40;
        bomber.BombAccuracy = 60;
    }

    TFleet& Fleet(int index, const std::string& name, const std::vector<int>& classes) {
        TFleet& fleet = PlaceFleet(*state, index, {100, 100}, classes);
        fleet.Name = name;
        fleet.VtFuseFactor = 1.0;
        return fleet;
    }

    TAirUnit& Strike(TFleet& fleet, int slot, int target, int fighters, int bombers) {
        TAirUnit& unit = fleet.AirUnits[static_cast<std::size_t>(slot)];
        unit.State = kInFlight;
        unit.StrikeTarget = static_cast<std::uint8_t>(target);
        unit.AircraftTypes = {kFighter, kBomber, 0, 0, 0, 0};
        unit.Counts = {fighters, bombers, 0, 0, 0, 0};
        unit.AttackKind = 1;
        unit.TargetGroup = 2;
        unit.TargetRequest = {1, 1, 1, 1, 1, 1, 1, 1, 1};
        return unit;
    }

    std::unique_ptr<GameState> state = NewState(2024);
    RecordingFrontend frontend;
};

TEST_F(AirStrikes, AStrikeAtAMarkerFailsAndOnlyThePlayerHearsOfIt) {
    TFleet& player = Fleet(0, "第一艦隊", {0});
    TFleet& computer = Fleet(13, "敵艦隊", {0});
    Strike(player, 0, kFleetCount, 2, 2);
    Strike(computer, 1, kFleetCount, 2, 2);
    ResolveAirStrikes(*state, frontend);
    EXPECT_EQ(frontend.Transcript(),
              std::vector<std::string>{
                  "MessageOk\t攻撃失敗\t第一艦隊攻撃隊は敵艦隊に到達できませんでした"});
    EXPECT_EQ(player.AirUnits[0].Counts[1], 2);
    EXPECT_EQ(player.AirUnits[0].State, kInFlight);
}

TEST_F(AirStrikes, AComputerRaidNamesThePlayersFleet) {
    Fleet(0, "第一艦隊", {2});
    TFleet& computer = Fleet(13, "敵艦隊", {0});
    Strike(computer, 0, 0, 0, 0);
    ResolveAirStrikes(*state, frontend);
    const auto lines = BattleLines(frontend);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "第一艦隊に空襲");
    EXPECT_EQ(lines[1], "烈風  0機 流星  0機 \\nが攻撃");  // a line break, as recorded
}

// One strike of the player against a fleet with a patrol aloft and area
// defence, every call in order.
TEST_F(AirStrikes, APlayersStrikeFromPatrolToSinking) {
    TFleet& player = Fleet(0, "第一艦隊", {0});
    TFleet& enemy = Fleet(13, "敵第一艦隊", {1, 2});
    enemy.Designation = "イ";
    enemy.CapType = kPatrolType;
    enemy.CapLaunched[kTurn] = 3;
    enemy.Ships[1].Durability = 40;
    enemy.Ships[1].SuppressionResistance = 50;
    Strike(player, 1, 13, 4, 6);
    frontend.Answer("4 1 1 1");  // destroyers, one ship
    ResolveAirStrikes(*state, frontend);
    const std::vector<std::string> expected{
        "ShowBattleFleetView\t13",
        "RefreshPalette",
        "PlaySoundCue\trun.wav",
        "ShowBattleMessage\t第一艦隊攻撃隊2が敵艦隊イを攻撃",
        "ShowBattleMessage\t烈風  4機 流星  6機 \\nが攻撃",
        "PlaySoundCue\trun.wav",
        "ShowBattleMessage\t烈風改3機 対 烈風4機",
        "ShowBattleMessage\t電子戦修正 0ステルス修正 0",
        "ShowAircraftModel\t3",
        "PlaySoundCue\tfire.wav",
        "PlaySoundCue\thit.wav",
        "ShowBattleMessage\t烈風を3機撃墜されました。",
        "ShowAircraftModel\t2",
        "PlaySoundCue\tfire.wav",
        "PlaySoundCue\thit.wav",
        "ShowBattleMessage\t烈風改を1機撃墜しました。",
        "ShowBattleMessage\t烈風改1機 対 流星6機",
        "ShowAircraftModel\t4",
        "PlaySoundCue\tfire.wav",
        "PlaySoundCue\thit.wav",
        "ShowBattleMessage\t流星を0機撃墜されました。",
        "ShowAircraftModel\t2",
        "PlaySoundCue\tfire.wav",
        "PlaySoundCue\thit.wav",
        "ShowBattleMessage\t烈風改を1機撃墜しました。",
        "ChooseTargetShips\tミサイル攻撃\t2",
        "PlaySoundCue\tfire.wav",
        "ShowBattleMessage\t烈風  1機 流星  6機敵第一艦隊に侵攻中",
        "ShowBattleMessage\t敵第一艦隊広域防空戦開始",
        "ShowBattleMessage\t電子戦修正 0ステルス修正 0",
        "PlaySoundCue\tfire.wav",
        "ShowAircraftModel\t3",
        "ShowBattleMessage\t烈風を0機撃墜されました。",
        "ShowBattleMessage\t電子戦修正 0ステルス修正 0",
        "PlaySoundCue\tfire.wav",
        "ShowAircraftModel\t4",
        "ShowBattleMessage\t流星を0機撃墜されました。",
        "PlaySoundCue\thit.wav",
        "ShowBattleMessage\t流星  6機が広域防空圏を突破",
        "ShowAircraftModel\t3",
        "PlaySoundCue\trun.wav",
        "ShowBattleMessage\t烈風  1機が吹雪型駆逐艦を攻撃。",
        "PlaySoundCue\tfire.wav",
        "ShowShipModel\t2",
        "ShowBattleMessage\t吹雪型駆逐艦のポイントディフェンス",
        "ShowBattleMessage\t電子戦修正 0ステルス修正 0",
        "PlaySoundCue\tfire.wav",
        "ShowAircraftModel\t3",
        "ShowBattleMessage\t烈風を0機撃墜されました。",
        "PlaySoundCue\tboom.wav",
        "ShowBattleMessage\t烈風が吹雪型駆逐艦に攻撃。爆弾  0発命中。",
        "EndModelView",
        "ShowAircraftModel\t4",
        "PlaySoundCue\trun.wav",
        "ShowBattleMessage\t流星  6機が吹雪型駆逐艦を攻撃。",
        "PlaySoundCue\tfire.wav",
        "ShowShipModel\t2",
        "ShowBattleMessage\t吹雪型駆逐艦のポイントディフェンス",
        "ShowBattleMessage\t電子戦修正 0ステルス修正 0",
        "PlaySoundCue\tfire.wav",
        "ShowAircraftModel\t4",
        "ShowBattleMessage\t流星を0機撃墜されました。",
        "PlaySoundCue\tboom.wav",
        "PlaySoundCue\thit.wav",
        "ShowBattleMessage\t流星が吹雪型駆逐艦に攻撃。爆弾  7発命中。",
        "PlaySoundCue\thit.wav",
        "ShowBattleMessage\tポイントディフェンス1のダメージ",
        "PlaySoundCue\thit.wav",
        "ShowBattleMessage\t射撃指揮装置に被弾1のダメージ",
        "EndModelView",
        "PlaySoundCue\thit.wav",
        "ShowBattleMessage\t吹雪型駆逐艦が沈没しました。",
        "RefreshPalette",
        "EndModelView",
    };
    EXPECT_EQ(frontend.Transcript(), expected);
    EXPECT_EQ(enemy.ShipCount, 1);
    EXPECT_EQ(state->LostShipsComputer.Count, 1);
    EXPECT_EQ(player.AirUnits[1].Counts[0], 1);  // fighters lost to the patrol
    EXPECT_EQ(player.AirUnits[1].Counts[1], 6);
}

TEST_F(AirStrikes, TheTurnEndResolvesStrikesInFlight) {
    TFleet& player = Fleet(0, "第一艦隊", {0});
    TFleet& enemy = Fleet(13, "敵第一艦隊", {2});
    enemy.Designation = "ロ";
    Strike(player, 0, 13, 0, 3);
    frontend.Answer("4 1 1 1");
    ASSERT_TRUE(EndTurn(*state, frontend));
    const auto lines = BattleLines(frontend);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "第一艦隊攻撃隊1が敵艦隊ロを攻撃");
    EXPECT_EQ(testing::CountContaining(lines, "吹雪型駆逐艦のポイントディフェンス"), 1);
}

}  // namespace
}  // namespace velmora
