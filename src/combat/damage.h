// What hits do to a ship, and the loss pass that strikes sunk ships from
// their fleet and marks destroyed installations.
#pragma once

#include <cstdint>
#include <string_view>

#include "frontend/frontend.h"
#include "model/game_state.h"
#include "model/ship_counts.h"

namespace velmora {

// Applies the side effects of `hits` hits for `damage` points to a ship of
// `fleet` whose Durability has already been lowered: suppression, carrier
// secondary explosions (which raise the damage figure), the flight deck,
// system damage and the damage report. Returns the final damage figure.
std::int64_t ApplyHitEffects(GameState& state, Frontend& frontend, TFleet& fleet, TShip& ship,
                             int hits, std::int64_t damage);

// Damage to area defence, point defence and fire control; more likely the
// higher the severity.
void ApplySystemDamage(GameState& state, Frontend& frontend, TShip& ship, int severity);

// After an attack: ships at Durability 0 or less sink into the owner's loss
// list (installations are destroyed and stay), the fleet speed follows the
// survivors, and the per-type suppression rises with what was lost and
// suppressed. `before` are the fleet's counts taken before the attack.
void ResolveLosses(GameState& state, Frontend& frontend, TFleet& fleet,
                   const ShipTypeCounts& before);

// "通常", "中破" or "大破" for a ship against its class durability.
std::string_view DamageWord(const TShip& ship_class, const TShip& ship);
// "損害なし", "一部破壊" or "完全破壊" for a defence value against its class value.
std::string_view EquipmentWord(std::int32_t class_value, std::int32_t current);

}  // namespace velmora
