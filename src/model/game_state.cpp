#include "model/game_state.h"

namespace velmora {

GameState::GameState() = default;

TFleet& GameState::Fleet(int index) {
    static TFleet scratch;
    if (index < 0 || index >= kFleetCount) {
        scratch = TFleet{};
        return scratch;
    }
    return FleetTable[static_cast<std::size_t>(index)];
}

const TFleet& GameState::Fleet(int index) const {
    static const TFleet empty;
    if (index < 0 || index >= kFleetCount) return empty;
    return FleetTable[static_cast<std::size_t>(index)];
}

const TShip& GameState::ClassOf(const TShip& ship) const {
    static const TShip empty;
    if (ship.ClassIndex < 0 || ship.ClassIndex >= kTableSize) return empty;
    return ShipClassTable[static_cast<std::size_t>(ship.ClassIndex)];
}

int GameState::ShipTypeOf(const TShip& ship) const { return ClassOf(ship).ShipType(); }

const AircraftType& GameState::AircraftTypeAt(int index) const {
    static const AircraftType empty;
    if (index < 0 || index >= kTableSize) return empty;
    return AircraftTypeTable[static_cast<std::size_t>(index)];
}

void GameState::ResetForNewGame() {
    Rng keep = Random;
    *this = GameState();
    Random = keep;
}

}  // namespace velmora
