// Damage control: carriers repair flight decks that cannot launch or
// recover, and destroyed bases are restored step by step. The computer's
// crews work faster but only on the first ship of each fleet.
#pragma once

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

inline constexpr std::uint8_t kDeckInstallationDestroyed = 4;
inline constexpr std::uint8_t kDeckInstallationRestoring = 5;

// Every fleet record 0..24, in play or not.
void DamageControlStep(GameState& state, Frontend& ui);

// One ship's repair roll; `computer` selects the faster crews.
void RepairShip(GameState& state, Frontend& ui, TShip& ship, bool computer);

}  // namespace velmora
