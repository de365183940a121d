// The save decoder, over a base state as a running game has one.
#include <memory>
#include <vector>

#include "scenario/save_game.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto base = std::make_unique<velmora::GameState>();
    std::vector<std::uint8_t> bytes(data, data + size);
    velmora::DecodeSave(bytes, *base);
    return 0;
}
