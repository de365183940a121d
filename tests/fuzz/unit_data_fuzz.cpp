// plane.dat, ship.dat and the side files, read into one state in the
// set-up's order.
#include <memory>

#include "fuzz_input.h"
#include "scenario/unit_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmora::fuzz::MemoryFile file(data, size);
    auto state = std::make_unique<velmora::GameState>();
    velmora::Diagnostics diag;
    velmora::ReadAircraftTypes(*state, file.path(), diag);
    velmora::ReadShipClasses(*state, file.path(), diag);
    velmora::ReadSideFile(*state, file.path(), diag);
    return 0;
}
