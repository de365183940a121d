#include "combat/damage_control.h"

#include <algorithm>
#include <climits>

#include "model/labels.h"

namespace velmora {
namespace {

constexpr std::string_view kRepairCaption = "ダメージコントロール";
constexpr std::string_view kRestoredCaption = "復旧完了";

struct Crew {
    int deck_bonus;          // added to the deck repair limit
    int restoration_start;   // how a destroyed base starts its restoration
    int restoration_gain;    // durability per successful restoration turn
};

constexpr Crew kPlayerCrew{0, 0, 20};
constexpr Crew kComputerCrew{3, 9, 40};

void RepairDeck(GameState& state, Frontend& ui, TShip& ship, const Crew& crew) {
    const int roll = state.Roll(11) + 2;
    const int limit = (ship.DeckArmour > 0 ? 6 : 3) + crew.deck_bonus;
    if (roll > limit) return;
    if (ship.DeckState == 1 || ship.DeckState == 2) {
        ui.MessageOk(kRepairCaption, ship.Name + "の" +
                                         std::string(LabelAt(DeckStateLabels, ship.DeckState)) +
                                         "の修理が完了しました。");
        ship.DeckState = 0;
        return;
    }
    // One of the two functions comes back first.
    if (state.Roll(2) == 0) {
        ui.MessageOk(kRepairCaption, ship.Name + "の着艦能力の修理が完了しました。");
        ship.DeckState = 2;
    } else {
        ui.MessageOk(kRepairCaption, ship.Name + "の発艦能力の修理が完了しました。");
        ship.DeckState = 1;
    }
}

void RestoreBase(GameState& state, Frontend& ui, TShip& ship, const Crew& crew) {
    const int roll = state.Roll(11) + 1;
    if (ship.DeckState == kDeckInstallationDestroyed) {
        const bool starts = crew.restoration_start == 0 ? roll == 2 : roll >= crew.restoration_start;
        if (!starts) return;
        ui.MessageOk(kRepairCaption, ship.Name + "の復旧が開始されました。");
        ship.DeckState = kDeckInstallationRestoring;
        return;
    }
    if (roll < 6) return;
    ui.MessageOk(kRepairCaption, ship.Name + "の復旧が進んでいます。");
    ship.Durability = static_cast<std::int32_t>(
        std::min<std::int64_t>(std::int64_t{ship.Durability} + crew.restoration_gain, INT32_MAX));
    if (state.ClassOf(ship).Durability <= ship.Durability) {
        ui.MessageOk(kRestoredCaption, ship.Name + "の" + "復旧が完了しました。");
        ship.DeckState = 0;
    }
}

}  // namespace

void RepairShip(GameState& state, Frontend& ui, TShip& ship, bool computer) {
    if (ship.DeckState == 0) return;
    const Crew& crew = computer ? kComputerCrew : kPlayerCrew;
    if (state.ShipTypeOf(ship) == kGroundBase) {
        RestoreBase(state, ui, ship, crew);
    } else {
        RepairDeck(state, ui, ship, crew);
    }
}

void DamageControlStep(GameState& state, Frontend& ui) {
    for (TFleet& fleet : state.FleetTable) {
        const int ships = std::clamp(fleet.ShipCount, 0, kShipSlots);
        if (fleet.Side == state.PlayerSide) {
            for (int i = 0; i < ships; ++i)
                RepairShip(state, ui, fleet.Ships[static_cast<std::size_t>(i)], false);
        } else if (fleet.Side == state.ComputerSide && ships > 0) {
            RepairShip(state, ui, fleet.Ships[0], true);
        }
    }
}

}  // namespace velmora
