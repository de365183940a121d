#include "combat/damage.h"

#include <gtest/gtest.h>

#include <set>

#include "combat_fixture.h"
#include "model/rounding.h"
#include "turn/victory.h"

namespace velmora {
namespace {

using testing::BattleLines;
using testing::CountContaining;
using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;
using testing::SetCues;
using testing::SetDefendedClass;
using testing::SetType;

constexpr int kPlayerFleet = 0;
constexpr int kComputerFleet = 13;

// A carrier fleet whose attack aircraft make secondary explosions certain
// (threshold far above the die) or impossible (no armed aircraft).
struct CarrierCase {
    std::unique_ptr<GameState> state = NewState(7);
    RecordingFrontend frontend;
    TFleet* fleet = nullptr;

    explicit CarrierCase(bool armed, int fleet_index = kComputerFleet) {
        SetCues(*state);
        SetDefendedClass(*state, 0, kCarrier, 100, 0, "翔竜");
        SetType(*state, 3, "烈風");
        SetType(*state, 4, "流星");
        fleet = &PlaceFleet(*state, fleet_index, {100, 100}, {0});
        fleet->Ships[0].AircraftCapacity = 100;
        fleet->Ships[0].SuppressionResistance = 200;  // never suppressed here
        TAirUnit& unit = fleet->AirUnits[0];
        unit.State = armed ? 2 : 0;
        unit.AircraftTypes = {3, 4, 0, 0, 0, 0};
        unit.Counts = {12, 12, 0, 0, 0, 0};
        fleet->HangarCounts[1] = 1000;
    }
    TShip& Carrier() { return fleet->Ships[0]; }
};

TEST(CarrierExplosions, OneRollPerHitAndOneMoreWhileAircraftRemain) {
    struct Row {
        bool armed;
        int hits;
        int explosions;
    };
    for (const Row row : {Row{true, 0, 1}, Row{true, 2, 3}, Row{false, 0, 0}, Row{false, 5, 0}}) {
        CarrierCase c(row.armed);
        ApplyHitEffects(*c.state, c.frontend, *c.fleet, c.Carrier(), row.hits, 0);
        EXPECT_EQ(CountContaining(BattleLines(c.frontend), "翔竜型空母誘爆発生"), row.explosions)
            << "armed " << row.armed << " hits " << row.hits;
    }
}

TEST(CarrierExplosions, AircraftBurnInProportionToTheirSlots) {
    CarrierCase c(true);
    const std::int64_t damage = ApplyHitEffects(*c.state, c.frontend, *c.fleet, c.Carrier(), 0, 0);
    const auto& counts = c.fleet->AirUnits[0].Counts;
    // Twelve of 24 in each slot: each loses half of what is still to burn,
    // to the nearest (even) integer; k = 8 would take 4 and then 2.
    bool some_k_fits = false;
    for (int k = 5; k <= 12; ++k) {
        const auto first = static_cast<int>(RoundHalfEven(12.0 / 24.0 * k));
        const auto second = static_cast<int>(RoundHalfEven(12.0 / 24.0 * (k - first)));
        some_k_fits |= counts[0] == 12 - first && counts[1] == 12 - second;
    }
    EXPECT_TRUE(some_k_fits) << counts[0] << " " << counts[1];
    const auto lines = BattleLines(c.frontend);
    EXPECT_EQ(lines[0], "翔竜型空母誘爆発生");
    EXPECT_EQ(lines[1], "烈風が" + std::to_string(12 - counts[0]) + "機誘爆しました。");
    EXPECT_GE(damage, 0);
    EXPECT_EQ(c.frontend.CallsOf("PlaySoundCue").front(), "PlaySoundCue\thit.wav");
}

TEST(CarrierExplosions, StopOnceNoAircraftAreLeft) {
    CarrierCase c(true);
    c.fleet->AirUnits[0].Counts = {0, 1, 0, 0, 0, 0};
    ApplyHitEffects(*c.state, c.frontend, *c.fleet, c.Carrier(), 3, 0);
    const auto lines = BattleLines(c.frontend);
    EXPECT_EQ(CountContaining(lines, "誘爆発生"), 1);
    EXPECT_EQ(CountContaining(lines, "流星が1機誘爆しました。"), 1);
}

TEST(FlightDeck, OnlyThePlayersDamagedCarriersLoseTheirDeck) {
    // Without explosions and damage the deck is untouched; with damage the
    // player's carrier rolls it over many seeds and reaches every state.
    std::set<int> seen;
    for (std::uint64_t seed = 1; seed <= 30; ++seed) {
        CarrierCase c(false, kPlayerFleet);
        c.state->Random.Seed(seed);
        ApplyHitEffects(*c.state, c.frontend, *c.fleet, c.Carrier(), 1, 10);
        seen.insert(c.Carrier().DeckState);
        CarrierCase quiet(false, kPlayerFleet);
        quiet.state->Random.Seed(seed);
        ApplyHitEffects(*quiet.state, quiet.frontend, *quiet.fleet, quiet.Carrier(), 0, 0);
        EXPECT_EQ(quiet.Carrier().DeckState, 0);
        CarrierCase theirs(false, kComputerFleet);
        theirs.state->Random.Seed(seed);
        ApplyHitEffects(*theirs.state, theirs.frontend, *theirs.fleet, theirs.Carrier(), 1, 10);
        EXPECT_EQ(theirs.Carrier().DeckState, 0);
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3}));
}

TEST(Suppression, ThresholdsOfAFreshAndAShakenShip) {
    struct Row {
        std::uint8_t suppression;
        int resistance;
        bool always;
        bool never;
    };
    // Resistance 99: Random(100) never exceeds it. A shaken ship needs only
    // resistance - 20: 119 still never, 19 always.
    for (const Row row :
         {Row{0, 99, false, true}, Row{0, -1, true, false}, Row{1, 119, false, true},
          Row{1, 19, true, false}, Row{2, 19, true, false}}) {
        int suppressed = 0;
        for (std::uint64_t seed = 1; seed <= 40; ++seed) {
            auto state = NewState(seed);
            RecordingFrontend frontend;
            SetClass(*state, 0, kDestroyer, 50);
            TFleet& fleet = PlaceFleet(*state, kPlayerFleet, {0, 0}, {0});
            TShip& ship = fleet.Ships[0];
            ship.Suppression = row.suppression;
            ship.SuppressionResistance = row.resistance;
            ApplyHitEffects(*state, frontend, fleet, ship, 1, 0);
            if (ship.Suppression == 2) {
                ++suppressed;
                EXPECT_EQ(BattleLines(frontend).front(), "ship0_0が重制圧状態になりました。");
            }
        }
        if (row.always) {
            EXPECT_EQ(suppressed, 40) << row.resistance;
        }
        if (row.never) {
            EXPECT_EQ(suppressed, 0) << row.resistance;
        }
    }
}

TEST(Suppression, NoHitsNoRoll) {
    auto state = NewState(3);
    RecordingFrontend frontend;
    SetClass(*state, 0, kDestroyer, 50);
    TFleet& fleet = PlaceFleet(*state, kComputerFleet, {0, 0}, {0});
    fleet.Ships[0].SuppressionResistance = -1;
    ApplyHitEffects(*state, frontend, fleet, fleet.Ships[0], 0, 0);
    EXPECT_EQ(fleet.Ships[0].Suppression, 0);
}

TEST(SystemDamage, SeverityDecidesWhatCanBeHit) {
    struct Row {
        int ship_type;
        int severity;
        bool defences_possible;
        bool fire_control_possible;
    };
    for (const Row row : {Row{kDestroyer, 0, false, false}, Row{kDestroyer, 3, true, false},
                          Row{kDestroyer, 4, true, true}, Row{kCarrier, 20, true, false}}) {
        int defences = 0;
        int fire_control = 0;
        for (std::uint64_t seed = 1; seed <= 80; ++seed) {
            auto state = NewState(seed);
            RecordingFrontend frontend;
            SetClass(*state, 0, row.ship_type, 50);
            TShip ship;
            ship.ClassIndex = 0;
            ship.AreaDefence = 10;
            ship.PointDefence = 10;
            ship.FireControl = 10;
            ApplySystemDamage(*state, frontend, ship, row.severity);
            if (ship.AreaDefence < 10 || ship.PointDefence < 10) ++defences;
            if (ship.FireControl < 10) ++fire_control;
        }
        EXPECT_EQ(defences > 0, row.defences_possible) << row.ship_type << "/" << row.severity;
        EXPECT_EQ(fire_control > 0, row.fire_control_possible)
            << row.ship_type << "/" << row.severity;
    }
}

TEST(SystemDamage, ASystemAtZeroStillLosesOne) {
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        auto state = NewState(seed);
        RecordingFrontend frontend;
        TShip ship;
        ApplySystemDamage(*state, frontend, ship, 100);
        EXPECT_EQ(ship.AreaDefence + ship.PointDefence, -1);
        const auto lines = BattleLines(frontend);
        EXPECT_TRUE(lines.front() == "エリアディフェンスに1のダメージ" ||
                    lines.front() == "ポイントディフェンス1のダメージ");
    }
}

TEST(DamageReport, ThePlayersShipsReportTheDamage) {
    auto state = NewState(5);
    RecordingFrontend frontend;
    SetClass(*state, 0, kDestroyer, 50);
    TFleet& fleet = PlaceFleet(*state, kPlayerFleet, {0, 0}, {0});
    fleet.Ships[0].SuppressionResistance = 200;
    ApplyHitEffects(*state, frontend, fleet, fleet.Ships[0], 0, 0);
    EXPECT_EQ(BattleLines(frontend),
              std::vector<std::string>{"ship0_0が0のダメージを受けました。"});
}

TEST(ResolveLosses, FourDestroyersOneSunkOneSuppressed) {
    auto state = NewState(1);
    RecordingFrontend frontend;
    SetCues(*state);
    SetDefendedClass(*state, 0, kDestroyer, 30, 0, "吹雪");
    TFleet& fleet = PlaceFleet(*state, kComputerFleet, {0, 0}, {0, 0, 0, 0});
    for (int i = 0; i < 4; ++i) fleet.Ships[static_cast<std::size_t>(i)].Speed = 30 + i;
    const ShipTypeCounts before = CountShipsByType(*state, fleet);
    fleet.Ships[1].Durability = 0;
    fleet.Ships[1].AircraftAboard = {1, 2, 0, 0, 0, 0};
    fleet.Ships[2].Suppression = 2;
    ResolveLosses(*state, frontend, fleet, before);
    EXPECT_EQ(fleet.ShipCount, 3);
    EXPECT_EQ(fleet.Ships[1].Name.str(), "ship13_2");
    EXPECT_EQ(fleet.TypeSuppression[kDestroyer], 2);  // weight 2.0 > 4 / 3
    EXPECT_EQ(fleet.Speed, 30);
    EXPECT_EQ(fleet.LossTallies[1], 2);
    ASSERT_EQ(state->LostShipsComputer.Count, 1);
    EXPECT_EQ(state->LostShipsComputer.Ships[0].Name.str(), "ship13_1");
    EXPECT_EQ(frontend.Transcript(),
              (std::vector<std::string>{"PlaySoundCue\thit.wav",
                                        "ShowBattleMessage\t吹雪型駆逐艦が沈没しました。"}));
}

TEST(ResolveLosses, TypeSuppressionNeverFalls) {
    auto state = NewState(1);
    RecordingFrontend frontend;
    SetClass(*state, 0, kCruiser, 30);
    TFleet& fleet = PlaceFleet(*state, kComputerFleet, {0, 0}, {0, 0, 0, 0, 0});
    fleet.TypeSuppression[kCruiser] = 2;
    fleet.Ships[0].Suppression = 1;
    fleet.Ships[1].Suppression = 1;
    fleet.Ships[2].Suppression = 1;  // 1.5 > 5/4: level 1 only
    ResolveLosses(*state, frontend, fleet, CountShipsByType(*state, fleet));
    EXPECT_EQ(fleet.TypeSuppression[kCruiser], 2);
    fleet.TypeSuppression[kCruiser] = 0;
    ResolveLosses(*state, frontend, fleet, CountShipsByType(*state, fleet));
    EXPECT_EQ(fleet.TypeSuppression[kCruiser], 1);
}

TEST(ResolveLosses, ADestroyedBaseStaysAndIsReportedEveryPass) {
    struct Row {
        int fleet;
        std::string text;
    };
    for (const Row& row : {Row{kComputerFleet, "港湾基地を破壊しました。"},
                           Row{kPlayerFleet, "港湾基地が破壊されました。"}}) {
        auto state = NewState(1);
        state->Turn = 9;
        RecordingFrontend frontend;
        SetClass(*state, 0, kGroundBase, 100);
        TFleet& fleet = PlaceFleet(*state, row.fleet, {0, 0}, {0});
        fleet.Ships[0].Name = "港湾基地";
        fleet.Ships[0].Durability = 0;
        ResolveLosses(*state, frontend, fleet, CountShipsByType(*state, fleet));
        EXPECT_EQ(fleet.ShipCount, 1);
        EXPECT_EQ(fleet.Ships[0].DeckState, 4);
        EXPECT_EQ(fleet.Ships[0].CaptureTurn, 11);
        state->Turn = 10;
        ResolveLosses(*state, frontend, fleet, CountShipsByType(*state, fleet));
        EXPECT_EQ(fleet.Ships[0].CaptureTurn, 12);
        EXPECT_EQ(BattleLines(frontend), (std::vector<std::string>{row.text, row.text}));
        EXPECT_EQ(state->LostShipsComputer.Count + state->LostShipsPlayer.Count, 0);
    }
}

TEST(ResolveLosses, AFleetLeftEmptyStoresTheLowByteOfTenThousand) {
    auto state = NewState(1);
    RecordingFrontend frontend;
    SetClass(*state, 0, kTransport, 10);
    TFleet& fleet = PlaceFleet(*state, kPlayerFleet, {0, 0}, {0});
    fleet.Ships[0].Durability = -4;
    ResolveLosses(*state, frontend, fleet, CountShipsByType(*state, fleet));
    EXPECT_EQ(fleet.ShipCount, 0);
    EXPECT_EQ(fleet.Speed, 16);
    EXPECT_EQ(state->LostShipsPlayer.Count, 1);
}

TEST(ResolveLosses, AFullLossListKeepsItsShipsAndTheFleetStillLosesTheShip) {
    auto state = NewState(1);
    RecordingFrontend frontend;
    SetClass(*state, 0, kDestroyer, 10);
    state->LostShipsComputer.Count = kTableSize;
    TFleet& fleet = PlaceFleet(*state, kComputerFleet, {0, 0}, {0});
    fleet.Ships[0].Durability = 0;
    ResolveLosses(*state, frontend, fleet, CountShipsByType(*state, fleet));
    EXPECT_EQ(fleet.ShipCount, 0);
    EXPECT_EQ(state->LostShipsComputer.Count, kTableSize);
}

TEST(ResolveLosses, SunkShipsCountForVictory) {
    auto state = NewState(1);
    RecordingFrontend frontend;
    SetClass(*state, 0, kCruiser, 60);
    TFleet& fleet = PlaceFleet(*state, kComputerFleet, {0, 0}, {0, 0});
    fleet.Ships[0].Durability = 0;
    ResolveLosses(*state, frontend, fleet, CountShipsByType(*state, fleet));
    const VictoryReport report = EvaluateVictory(*state, frontend);
    EXPECT_EQ(report.Sunk[1][kCruiser], 1);
    EXPECT_EQ(report.Totals[0], 60);
    EXPECT_EQ(report.SunkNames[1], std::vector<std::string>{"ship13_0"});
}

TEST(DamageWords, ByThirdsOfTheClassDurability) {
    TShip cls;
    cls.Durability = 30;
    struct Row {
        int durability;
        std::string_view word;
    };
    for (const Row row : {Row{30, "通常"}, Row{21, "通常"}, Row{20, "中破"}, Row{11, "中破"},
                          Row{10, "大破"}, Row{0, "大破"}}) {
        TShip ship;
        ship.Durability = row.durability;
        EXPECT_EQ(DamageWord(cls, ship), row.word) << row.durability;
    }
    EXPECT_EQ(EquipmentWord(10, 10), "損害なし");
    EXPECT_EQ(EquipmentWord(10, 3), "一部破壊");
    EXPECT_EQ(EquipmentWord(10, 0), "完全破壊");
    EXPECT_EQ(EquipmentWord(10, -2), "完全破壊");
}

}  // namespace
}  // namespace velmora
