#include "enemy/enemy_turn.h"

namespace velmora {

// The computer's carrier decks are run by its air operations once they land;
// until then its groups keep the orders they have.
void ComputerAirOperations(GameState&, Frontend&) {}

}  // namespace velmora
