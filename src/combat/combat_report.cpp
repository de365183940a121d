#include "combat/combat_report.h"

#include "model/labels.h"

namespace velmora {

void PlayCue(const GameState& state, Frontend& frontend, Cue cue) {
    const auto slot = static_cast<std::size_t>(cue);
    if (slot >= state.EffectFile.size() || state.EffectFile[slot].empty()) return;
    frontend.PlaySoundCue(state.EffectFile[slot]);
}

bool IsPlayersFleet(const GameState& state, const TFleet& fleet) {
    return fleet.Side == state.PlayerSide;
}

std::string ShipLabel(const GameState& state, const TFleet& fleet, const TShip& ship) {
    const int type = state.ShipTypeOf(ship);
    if (IsPlayersFleet(state, fleet) || type >= kGroundBase) return ship.Name.str();
    return state.ClassOf(ship).Name.str() + "型" + std::string(LabelAt(ShipTypeLabels, type));
}

int StealthValue(const AircraftType& type) {
    const std::string& text = type.StealthClass.str();
    if (text == "ステルス") return 1;
    if (text == "ビジュアルステルス") return 2;
    return 0;
}

std::string Num(long long value) {
    return std::to_string(value);
}

}  // namespace velmora
