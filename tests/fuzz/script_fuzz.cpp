// The scenario script reader, as the game and as the checker run it.
#include <memory>

#include "fuzz_input.h"
#include "scenario/script.h"

namespace {

class Quiet : public velmora::ScriptListener {};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmora::fuzz::MemoryFile file(data, size);
    auto state = std::make_unique<velmora::GameState>();
    velmora::Diagnostics diag;
    try {
        velmora::ParseScenarioScript(*state, file.path(), 0, 0, diag);
    } catch (const velmora::ScenarioError&) {
    }
    auto checked = std::make_unique<velmora::GameState>();
    Quiet listener;
    velmora::ParseScenarioScript(*checked, file.path(), -1, -1, diag, listener);
    return 0;
}
