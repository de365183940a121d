#include "chart/movement.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "model/fleet_ops.h"
#include "chart/geometry.h"

namespace velmora {
namespace {

// Markers move this much farther per turn than their speed says.
constexpr double kMarkerSpeedFactor = 1.452;

std::int64_t Manhattan(Point from, Point to) {
    return std::llabs(std::int64_t{to.X} - from.X) + std::llabs(std::int64_t{to.Y} - from.Y);
}

Point Offset(Point p, Point step) {
    auto add = [](std::int32_t a, std::int32_t b) {
        return static_cast<std::int32_t>(
            std::clamp<std::int64_t>(std::int64_t{a} + b, INT32_MIN, INT32_MAX));
    };
    return {add(p.X, step.X), add(p.Y, step.Y)};
}

// The straight step of `length` pixels from `from` toward `to`, as an offset.
Point StepOffset(Point from, Point to, double length) {
    Point end = StepToward(from.X, from.Y, to.X, to.Y, length);
    return {end.X - from.X, end.Y - from.Y};
}

// Takes the straight step when its line stays at sea, else detours.
void StepOrDetour(GameState& state, TFleet& fleet, Point step, Point goal) {
    Point target = Offset(fleet.Position, step);
    if (LandOnLine(state, fleet.Position.X, fleet.Position.Y, target.X, target.Y) == 0) {
        fleet.Position = target;
    } else {
        DetourStep(state, fleet, step, goal);
    }
}

void StepFleetToward(GameState& state, TFleet& fleet, Point goal) {
    StepOrDetour(state, fleet, StepOffset(fleet.Position, goal, fleet.Speed), goal);
}

// A fleet without waypoints stays, unless its destination is within one
// turn's reach: then it is placed on it.
void SettleOnDestination(TFleet& fleet) {
    const Point dest = fleet.Destination;
    if (dest.X == 0 || dest.Y == 0) return;
    if (Manhattan(fleet.Position, dest) < fleet.Speed) fleet.Position = dest;
}

// The oldest waypoint is within reach: consume waypoints from the oldest on
// up to the first one beyond reach (or all of them) and step toward it.
void PassReachedWaypoints(GameState& state, TFleet& fleet, int count) {
    int m = count - 1;
    std::int64_t distance = 0;
    for (; m >= 0; --m) {
        distance = Manhattan(fleet.Position, fleet.Route[static_cast<std::size_t>(m)]);
        if (distance >= fleet.Speed) break;
    }
    m = std::max(m, 0);
    fleet.RouteLength = m;
    if (distance == 0) return;
    StepFleetToward(state, fleet, fleet.Route[static_cast<std::size_t>(m)]);
}

void MoveFleet(GameState& state, TFleet& fleet) {
    const int count = std::clamp(fleet.RouteLength, 0, kRouteSlots);
    if (count == 0) {
        SettleOnDestination(fleet);
        return;
    }
    const Point target = fleet.Route[static_cast<std::size_t>(count - 1)];
    const std::int64_t d = Manhattan(fleet.Position, target);
    if (d == 0) return;
    if (d < fleet.Speed) {
        if (count == 1) return;  // stops short of its last waypoint
        PassReachedWaypoints(state, fleet, count);
        return;
    }
    StepFleetToward(state, fleet, target);
}

void MoveMarker(GameState& state, TFleet& marker) {
    const Point goal = marker.Destination;
    const std::int64_t d = Manhattan(marker.Position, goal);
    if (d < 2 * std::int64_t{marker.Speed} || d == 0) {
        marker.Position = goal;
        return;
    }
    const double length = std::trunc(marker.Speed * kMarkerSpeedFactor);
    StepOrDetour(state, marker, StepOffset(marker.Position, goal, length), goal);
}

struct Probe {
    bool found = false;
    Point point;
    std::int64_t score = 0;
};

constexpr int kProbeStep = 10;

// One probe of the detour search, relative to the fleet: the probe point and
// the short step toward it. Both depend only on bearing and radius.
struct ProbeOffset {
    Point probe;
    Point step;
};

// Bearings 1..359, radii 5..100 within each bearing: the order decides ties.
const std::vector<ProbeOffset>& ProbeOffsets() {
    static const std::vector<ProbeOffset> offsets = [] {
        std::vector<ProbeOffset> out;
        for (int bearing = 1; bearing <= 359; ++bearing) {
            for (int radius = 5; radius <= 100; ++radius) {
                Point probe = PolarOffset(0, 0, bearing, radius);
                out.push_back({probe, StepToward(0, 0, probe.X, probe.Y, kProbeStep)});
            }
        }
        return out;
    }();
    return offsets;
}

// Many probes share a step; each distinct step's line is walked once.
class StepLineMemo {
  public:
    bool AtSea(const GameState& state, Point from, Point step) {
        std::int8_t& known = cells_[Index(step)];
        if (known == 0) {
            Point to = Offset(from, step);
            known = LandOnLine(state, from.X, from.Y, to.X, to.Y) == 0 ? 1 : -1;
        }
        return known > 0;
    }

  private:
    static constexpr int kSide = 2 * kProbeStep + 1;
    static std::size_t Index(Point step) {
        return static_cast<std::size_t>((step.X + kProbeStep) * kSide + step.Y + kProbeStep);
    }
    std::array<std::int8_t, kSide * kSide> cells_{};
};

// Short sea steps in every direction; the one whose probe point lies
// closest to the goal wins, the first found on a tie.
Probe BestDetourProbe(const GameState& state, Point from, Point goal) {
    Probe best;
    StepLineMemo memo;
    for (const ProbeOffset& offset : ProbeOffsets()) {
        if (!memo.AtSea(state, from, offset.step)) continue;
        std::int64_t score = Manhattan(Offset(from, offset.probe), goal);
        if (!best.found || score < best.score) best = {true, Offset(from, offset.step), score};
    }
    return best;
}

}  // namespace

void MoveFleets(GameState& state) {
    for (TFleet& fleet : state.FleetTable) {
        if (!fleet.Active || FleetHasInstallation(state, fleet)) continue;
        MoveFleet(state, fleet);
    }
    for (TFleet& marker : state.ContactTable) {
        if (marker.Active) MoveMarker(state, marker);
    }
}

void DetourStep(GameState& state, TFleet& fleet, Point step, Point goal) {
    const Point here = fleet.Position;
    Point p = Offset(here, step);
    if (!OnMapPicture(p)) p = here;
    if (state.LandMask.IsLand(p.X, p.Y)) {
        Probe best = BestDetourProbe(state, here, goal);
        p = best.found ? best.point : here;
        if (!OnMapPicture(p)) p = here;
    }
    if (p.X == 0 && p.Y == 0) return;
    fleet.Position = p;
}

}  // namespace velmora
