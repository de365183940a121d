#include "combat/damage_control.h"

#include <gtest/gtest.h>

#include <set>

#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;

constexpr int kCarrierClass = 1;
constexpr int kBaseClass = 2;

// The first Random(11) the next rule will draw.
int NextRoll11(const GameState& state) {
    Rng copy = state.Random;
    return copy.Random(11);
}

struct RepairCase {
    const char* name;
    bool computer;
    int ship_class;
    std::uint8_t deck_armour;
    std::uint8_t deck_state;
    std::set<int> succeeding_rolls;  // values of Random(11) that repair
};

// Deck repair: Random(11) + 2 against 3 (6 with deck armour), 3 more for the
// computer; a destroyed base starts at Random(11) + 1 = 2 (computer: >= 9),
// restoration progresses at >= 6.
TEST(DamageControl, RepairOddsPerCrew) {
    const RepairCase cases[] = {
        {"player deck", false, kCarrierClass, 0, 1, {0, 1}},
        {"player armoured deck", false, kCarrierClass, 1, 2, {0, 1, 2, 3, 4}},
        {"computer deck", true, kCarrierClass, 0, 3, {0, 1, 2, 3, 4}},
        {"computer armoured deck", true, kCarrierClass, 1, 3, {0, 1, 2, 3, 4, 5, 6, 7}},
        {"player base start", false, kBaseClass, 0, 4, {1}},
        {"computer base start", true, kBaseClass, 0, 4, {8, 9, 10}},
        {"player base progress", false, kBaseClass, 0, 5, {5, 6, 7, 8, 9, 10}},
        {"computer base progress", true, kBaseClass, 0, 5, {5, 6, 7, 8, 9, 10}},
    };
    for (const RepairCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::set<int> seen;
        for (std::uint64_t seed = 1; seen.size() < 11 && seed < 2000; ++seed) {
            auto state = NewState(seed);
            SetClass(*state, kCarrierClass, kCarrier, 100);
            SetClass(*state, kBaseClass, kGroundBase, 1000);
            TShip ship;
            ship.ClassIndex = c.ship_class;
            ship.DeckArmour = c.deck_armour;
            ship.DeckState = c.deck_state;
            const int roll = NextRoll11(*state);
            seen.insert(roll);
            RecordingFrontend ui;
            RepairShip(*state, ui, ship, c.computer);
            const bool repaired = ship.DeckState != c.deck_state || ship.Durability != 0;
            EXPECT_EQ(repaired, c.succeeding_rolls.count(roll) == 1)
                << "roll " << roll;
        }
        EXPECT_EQ(seen.size(), 11u);
    }
}

TEST(DamageControl, DeckRepairStepsAndMessages) {
    auto state = NewState();
    SetClass(*state, kCarrierClass, kCarrier, 100);
    TShip ship;
    ship.ClassIndex = kCarrierClass;
    ship.Name = "赤城";
    ship.DeckArmour = 1;
    ship.DeckState = 3;
    RecordingFrontend ui;
    // Both functions out: the first repair brings back one of them, then the other.
    for (int turn = 0; turn < 200 && ship.DeckState != 0; ++turn) RepairShip(*state, ui, ship, false);
    ASSERT_EQ(ship.DeckState, 0);
    const auto& t = ui.Transcript();
    ASSERT_EQ(t.size(), 2u);
    const bool landing_first = t[0] == "MessageOk\tダメージコントロール\t赤城の着艦能力の修理が完了しました。";
    if (!landing_first) {
        EXPECT_EQ(t[0], "MessageOk\tダメージコントロール\t赤城の発艦能力の修理が完了しました。");
    }
    EXPECT_EQ(t[1], std::string("MessageOk\tダメージコントロール\t赤城の") +
                        (landing_first ? "発艦不能" : "着艦不能") + "の修理が完了しました。");
}

TEST(DamageControl, BaseRestorationStartsThenGainsUntilTheClassValue) {
    auto state = NewState(7);
    SetClass(*state, kBaseClass, kGroundBase, 100);
    TShip base;
    base.ClassIndex = kBaseClass;
    base.Name = "港";
    base.DeckState = kDeckInstallationDestroyed;
    RecordingFrontend ui;
    for (int turn = 0; turn < 500 && base.DeckState != 0; ++turn) RepairShip(*state, ui, base, false);
    EXPECT_EQ(base.DeckState, 0);
    EXPECT_EQ(base.Durability, 100);
    const auto& t = ui.Transcript();
    ASSERT_EQ(t.size(), 7u);  // start, five steps of 20, completion
    EXPECT_EQ(t[0], "MessageOk\tダメージコントロール\t港の復旧が開始されました。");
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(t[i], "MessageOk\tダメージコントロール\t港の復旧が進んでいます。");
    EXPECT_EQ(t[6], "MessageOk\t復旧完了\t港の復旧が完了しました。");
}

TEST(DamageControl, TheComputerRepairsOnlyTheFirstShipOfEachFleet) {
    auto state = NewState();
    SetClass(*state, kCarrierClass, kCarrier, 100);
    TFleet& enemy = PlaceFleet(*state, 13, {0, 0}, {kCarrierClass, kCarrierClass});
    TFleet& own = PlaceFleet(*state, 0, {0, 0}, {kCarrierClass, kCarrierClass});
    for (TFleet* f : {&enemy, &own}) {
        for (int i = 0; i < 2; ++i) {
            f->Ships[static_cast<std::size_t>(i)].DeckState = 1;
            f->Ships[static_cast<std::size_t>(i)].DeckArmour = 1;
        }
    }
    enemy.Active = 0;  // in play or not, every record is worked on
    RecordingFrontend ui;
    for (int turn = 0; turn < 100; ++turn) DamageControlStep(*state, ui);
    EXPECT_EQ(enemy.Ships[0].DeckState, 0);
    EXPECT_EQ(enemy.Ships[1].DeckState, 1);
    EXPECT_EQ(own.Ships[0].DeckState, 0);
    EXPECT_EQ(own.Ships[1].DeckState, 0);
}

}  // namespace
}  // namespace velmora
