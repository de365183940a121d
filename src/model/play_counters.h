// Counts of what the computer side did in a game, for the simulator's batch
// report. Not saved: a loaded game counts from there on.
#pragma once

#include <cstdint>

namespace velmora {

struct PlayCounters {
    std::int32_t ComputerMerges = 0;
    std::int32_t ComputerSplits = 0;

    // Counts say nothing about the game itself.
    friend bool operator==(const PlayCounters&, const PlayCounters&) { return true; }
};

}  // namespace velmora
