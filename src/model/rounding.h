#pragma once

#include <cmath>
#include <cstdint>

namespace velmora {

// Nearest integer, halves to the even neighbour (the rules' rounding).
inline std::int64_t RoundHalfEven(double v) {
    double floor_v = std::floor(v);
    double diff = v - floor_v;
    std::int64_t base = static_cast<std::int64_t>(floor_v);
    if (diff > 0.5) return base + 1;
    if (diff < 0.5) return base;
    return (base % 2 == 0) ? base : base + 1;
}

// Integer division rounding toward zero, 0 for a zero divisor.
inline std::int64_t Div(std::int64_t a, std::int64_t b) { return b == 0 ? 0 : a / b; }

}  // namespace velmora
