#include "model/rng.h"

#include <sstream>

namespace velmora {

void Rng::Seed(std::uint64_t seed) { engine_.seed(seed, 0x5645'4C4D'4F52'4121ULL); }

int Rng::Random(int n) {
    if (n <= 0) return 0;
    return static_cast<int>(engine_(static_cast<std::uint32_t>(n)));
}

// PCG keeps its state private but streams it as "multiplier increment state".
RngState Rng::State() const {
    std::ostringstream out;
    out << engine_;
    std::istringstream in(out.str());
    std::uint64_t multiplier = 0;
    RngState s;
    in >> multiplier >> s.increment >> s.state;
    return s;
}

bool Rng::Restore(const RngState& s) {
    if ((s.increment & 1U) == 0) return false;
    std::ostringstream current;
    current << engine_;
    std::uint64_t multiplier = 0;
    std::istringstream(current.str()) >> multiplier;
    std::ostringstream text;
    text << multiplier << ' ' << s.increment << ' ' << s.state;
    std::istringstream in(text.str());
    pcg32 restored;
    in >> restored;
    if (in.fail()) return false;
    engine_ = restored;
    return true;
}

}  // namespace velmora
