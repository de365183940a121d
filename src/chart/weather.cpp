#include "chart/weather.h"

#include "model/rounding.h"
#include "chart/geometry.h"

namespace velmora {
namespace {

constexpr int kCellSpacingX = 264;
constexpr int kCellSpacingY = 273;
constexpr int kLaidOutCells = 23;
constexpr int kDriftPixels = 30;
constexpr double kStormRadius = 60.0;

void ActivateCell(GameState& state, int d) {
    StormCell& cell = state.StormCells[static_cast<std::size_t>(d)];
    int x = ((d / 4) * kCellSpacingX + kCellSpacingX / 2) % kMapWidth;
    int y = (d / 12) * kCellSpacingY + 136;
    int distance = (state.Roll(6) + 1) * 30;
    int bearing = state.Roll(360);
    Point p = PolarOffset(x, y, bearing, distance);
    cell = {p.X, p.Y, 1};
}

void VeerWind(std::int32_t& bearing, int r) {
    if (r < 60) {
        bearing += r;
        if (bearing > 360) bearing -= 360;
    } else if (r > 300) {
        bearing -= r;
        if (bearing < 0) bearing += 360;
    }
}

bool DriftsWithWind(const StormCell& cell) {
    return cell.Active && cell.X >= 1 && cell.X <= kMapWidth - 1 && cell.Y >= 1 &&
           cell.Y <= kMapHeight - 1;
}

}  // namespace

void SetClouds(GameState& state, int n) {
    for (StormCell& cell : state.StormCells) cell.Active = 0;
    // No cells asked for, no cells laid out (and no division by zero).
    if (n == 0) return;
    int step = static_cast<int>(Div(kLaidOutCells, n));
    if (step <= 0) step = 1;
    for (int d = 0; d < kLaidOutCells; d += step) ActivateCell(state, d);
}

void VeerWinds(GameState& state) {
    for (auto& row : state.WindDirections) {
        for (std::int32_t& bearing : row) VeerWind(bearing, state.Roll(360));
    }
}

void DriftStorms(GameState& state) {
    for (StormCell& cell : state.StormCells) {
        if (!DriftsWithWind(cell)) continue;
        const auto& row = state.WindDirections[static_cast<std::size_t>(cell.Y / kCellSpacingY)];
        std::int32_t bearing = row[static_cast<std::size_t>(cell.X / kCellSpacingX)];
        Point p = PolarOffset(cell.X, cell.Y, bearing, kDriftPixels);
        cell.X = p.X;
        cell.Y = p.Y;
    }
}

int StormCount(const GameState& state, Point p) {
    int count = 0;
    for (const StormCell& cell : state.StormCells) {
        if (cell.Active && MapDistance({cell.X, cell.Y}, p) < kStormRadius) ++count;
    }
    return count;
}

}  // namespace velmora
