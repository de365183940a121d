#include "chart/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>

#include "model/rounding.h"

namespace velmora {
namespace {

double ClampForDistance(std::int32_t v) {
    if (v < 0) return 0.0;
    if (v > 800) return 900.0;
    return static_cast<double>(v);
}

std::int32_t ToCoordinate(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

std::int32_t TruncToCoordinate(double v) {
    if (!std::isfinite(v)) return 0;
    return ToCoordinate(static_cast<std::int64_t>(std::clamp(v, -2.0e9, 2.0e9)));
}

int Sign(std::int64_t v) {
    return (v > 0) - (v < 0);
}

// Wide enough for products of two walk lengths taken from any int32 points.
__extension__ typedef __int128 WideInt;

// One walk along the main axis: `main` steps by `main_step` for `count`
// pixels, `minor` by `minor_step` whenever the error term crosses zero.
struct PixelWalk {
    std::int64_t main = 0;
    std::int64_t minor = 0;
    int main_step = 0;
    int minor_step = 0;
    std::int64_t main_extent = 0;   // |d main|
    std::int64_t minor_extent = 0;  // |d minor|

    // Minor coordinate after n main steps: the error term stays in
    // [-2 main_extent, 0), which gives the count of minor steps directly.
    std::int64_t MinorAfter(std::int64_t n) const {
        if (main_extent == 0) return minor;
        WideInt steps = (WideInt{2} * minor_extent * n + main_extent) / (WideInt{2} * main_extent);
        return minor + static_cast<std::int64_t>(steps) * minor_step;
    }
};

// The walk steps that can touch the mask: only there can land be found, so a
// line running far outside it (a broken record) costs nothing.
bool StepsInsideMask(const PixelWalk& walk, std::int64_t& first, std::int64_t& last) {
    first = 0;
    last = walk.main_extent;
    const std::int64_t lo = 0;
    const std::int64_t hi = kLandMaskSize - 1;
    if (walk.main_step == 0) {
        if (walk.main < lo || walk.main > hi) return false;
    } else if (walk.main_step > 0) {
        first = std::max(first, lo - walk.main);
        last = std::min(last, hi - walk.main);
    } else {
        first = std::max(first, walk.main - hi);
        last = std::min(last, walk.main - lo);
    }
    return first <= last;
}

bool WalkMeetsLand(const GameState& state, const PixelWalk& walk, bool x_is_main) {
    std::int64_t first = 0;
    std::int64_t last = 0;
    if (!StepsInsideMask(walk, first, last)) return false;
    for (std::int64_t n = first; n <= last; ++n) {
        std::int64_t main = walk.main + n * walk.main_step;
        std::int64_t minor = walk.MinorAfter(n);
        if (minor < 0 || minor >= kLandMaskSize) continue;
        int a = static_cast<int>(main);
        int b = static_cast<int>(minor);
        if (x_is_main ? state.LandMask.IsLand(a, b) : state.LandMask.IsLand(b, a)) return true;
    }
    return false;
}

}  // namespace

double MapDistance(Point p, Point q) {
    double dx = ClampForDistance(p.X) - ClampForDistance(q.X);
    double dy = ClampForDistance(p.Y) - ClampForDistance(q.Y);
    return std::sqrt(dx * dx + dy * dy);
}

Point PolarOffset(int x, int y, double bearing_degrees, double distance) {
    double theta = bearing_degrees * std::numbers::pi / 180.0 - std::numbers::pi / 2.0;
    double ox = std::cos(theta) * distance;
    double oy = std::sin(theta) * distance;
    if (!std::isfinite(ox) || !std::isfinite(oy)) return {x, y};
    return {ToCoordinate(x + RoundHalfEven(ox)), ToCoordinate(y + RoundHalfEven(oy))};
}

Point StepToward(int x0, int y0, int x1, int y1, double length) {
    double dx = static_cast<double>(x1) - x0;
    double dy = static_cast<double>(y1) - y0;
    double span = std::sqrt(dx * dx + dy * dy);
    if (span == 0.0) return {x0, y0};
    // Scaled before dividing: a step that is a whole number of pixels along
    // an axis stays whole (100 * 0.29 would truncate to 28).
    return {ToCoordinate(std::int64_t{x0} + TruncToCoordinate(dx * length / span)),
            ToCoordinate(std::int64_t{y0} + TruncToCoordinate(dy * length / span))};
}

int SectorOf(Point from, Point to, double radius) {
    constexpr double t1 = 0.7853981633974483;
    constexpr double t2 = 1.5707963267948966;
    double d = MapDistance(from, to);
    if (d > radius) return kNoSector;
    double r = d == 0.0 ? 0.0 : std::abs(static_cast<double>(to.X) - from.X) / d;
    bool narrow = 0 < r && r < t1;
    bool wide = t1 < r && r < t2;
    bool east = to.X >= from.X;
    bool west = to.X <= from.X;
    bool north = to.Y <= from.Y;
    bool south = to.Y >= from.Y;

    int sector = kNoSector;
    if (east && north) {
        if (narrow) sector = 0;
        if (wide) sector = 1;
    }
    if (east && south) {
        if (wide) sector = 2;
        if (narrow) sector = 3;
    }
    if (west && south) {
        if (narrow) sector = 4;
        if (wide) sector = 5;
    }
    if (west && north) {
        if (wide) sector = 6;
        if (narrow) sector = 7;
    }
    return sector;
}

int LandOnLine(const GameState& state, int x0, int y0, int x1, int y1) {
    std::int64_t sx0 = x0;
    if (y0 % 2 != 0) sx0 += 16;
    std::int64_t dx = std::int64_t{x1} - sx0;
    std::int64_t dy = std::int64_t{y1} - y0;
    bool x_is_main = std::llabs(dx) > std::llabs(dy);
    PixelWalk walk;
    if (x_is_main) {
        walk = {sx0, y0, Sign(dx), Sign(dy), std::llabs(dx), std::llabs(dy)};
    } else {
        walk = {y0, sx0, Sign(dy), Sign(dx), std::llabs(dy), std::llabs(dx)};
    }
    return WalkMeetsLand(state, walk, x_is_main) ? kLandOnLine : 0;
}

bool OnMapPicture(Point p) {
    return p.X >= 0 && p.X <= kMapWidth && p.Y >= 0 && p.Y <= kMapHeight;
}

}  // namespace velmora
