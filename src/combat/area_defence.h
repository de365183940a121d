// A fleet's area air defence by ship type, as both the attack resolver and
// the computer's choice of targets weigh it.
#pragma once

#include <array>
#include <cstdint>

#include "combat/damage.h"
#include "model/game_state.h"

namespace velmora {

inline constexpr int kDefenceTypes = 9;  // ship types 0..8, as TypeSuppression
using DefenceByType = std::array<std::int64_t, kDefenceTypes>;

// The class AreaDefence of every unsuppressed ship, per type, divided by 5
// or 4 where a third or a quarter of the type is suppressed (or the fleet's
// TypeSuppression says so). `counts` are the fleet's ships by type.
DefenceByType AreaDefenceByType(const GameState& state, const TFleet& fleet,
                                const ShipTypeCounts& counts);

// The ship types a target group (1..11) aims at, in engagement order;
// none for 0, 8 and anything else.
struct GroupMembers {
    int count = 0;
    std::array<int, 3> types{};
};
GroupMembers MembersOf(int group);

// Area defence an attack on `group` meets: the members' own types and the
// types up to the last member (up to 6 for a single type), at half strength
// unless the group aims at carriers or bases.
std::int64_t AreaDefenceAgainst(const GameState& state, const TFleet& fleet,
                                const ShipTypeCounts& counts, int group);

}  // namespace velmora
