// The game's one random generator (PCG32). Rules draw only from it, so a
// seed and the player's orders decide a game completely.
#pragma once

#include <cstdint>
#include <pcg_random.hpp>

namespace velmora {

struct RngState {
    std::uint64_t state = 0;
    std::uint64_t increment = 0;
    friend bool operator==(const RngState&, const RngState&) = default;
};

class Rng {
public:
    Rng() { Seed(0); }
    void Seed(std::uint64_t seed);
    // Uniform integer in 0..n-1; 0 when n <= 0.
    int Random(int n);
    RngState State() const;
    // Restores a state read from State(); false when it is not a PCG32 state.
    bool Restore(const RngState& s);

    friend bool operator==(const Rng& a, const Rng& b) { return a.engine_ == b.engine_; }

private:
    pcg32 engine_;
};

}  // namespace velmora
