#include "model/labels.h"

#include "model/game_state.h"

namespace velmora {

std::string_view TakeDesignation(GameState& state) {
    if (state.DesignationCounter < 0 ||
        state.DesignationCounter >= static_cast<int>(IrohaTable.size())) {
        state.DesignationCounter = 0;
    }
    std::string_view letter = IrohaTable[static_cast<std::size_t>(state.DesignationCounter)];
    ++state.DesignationCounter;
    return letter;
}

}  // namespace velmora
