// The computer's choice of which ships an attack aims at: straight for the
// carriers when the attack swamps the defence (or the escorts have been
// worked on), otherwise the widest escort group its weapons can saturate.
#pragma once

#include "model/game_state.h"

namespace velmora {

// Fills TargetGroup, TargetRequest[0..2] and Tagged of `attack` against the
// fleet named by attacker.TargetFleet (a bad index leaves the record as it
// is), updates attacker.EscortStrikes and sets `factor` (1.0 after a carrier
// strike, 0.4..0.7 otherwise). a and b are the sizes of the two slots.
void ChooseAttackTargets(GameState& state, TFleet& attacker, TAirUnit& attack, double& factor,
                         int a, int b);

// The same against a given target fleet.
void ChooseAttackTargets(GameState& state, TFleet& attacker, const TFleet& target, TAirUnit& attack,
                         double& factor, int a, int b);

}  // namespace velmora
