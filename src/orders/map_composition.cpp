#include "orders/map_composition.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <utility>

#include "chart/geometry.h"
#include "model/fleet_ops.h"
#include "model/text.h"

namespace velmora {
namespace {

constexpr int kWaypointTwoDigitSize = 8;  // points

void AddSymbolAt(std::vector<MapDrawing>& out, int symbol, Point p) {
    out.push_back(MapSymbol{symbol, p.X - 8, p.Y - 8});
}

void AddLabel(std::vector<MapDrawing>& out, std::string text, int x, int y) {
    out.push_back(MapLabel{std::move(text), x, y, kMapWhite, kMapLabelSize});
}

bool ShownOnMap(const GameState& state, const TFleet& fleet) {
    return fleet.Active != 0 && (fleet.Side == state.PlayerSide || fleet.DetectLevel > 0);
}

void ComposeFleet(const GameState& state, int index, const TFleet& fleet,
                  std::vector<MapDrawing>& out) {
    const Point p = fleet.Position;
    const bool installation = FleetHasInstallation(state, fleet);
    const int side_symbol =
        fleet.Side == state.PlayerSide ? kSymbolPlayerFleet : kSymbolComputerFleet;
    AddSymbolAt(out, installation ? side_symbol + 2 : side_symbol, p);
    if (installation) return;
    if (fleet.Side == state.PlayerSide) {
        // Two-digit numbers start further left so that they stay centred.
        const int x = index < 9 ? p.X - 4 : p.X - 8;
        AddLabel(out, std::to_string(index + 1), x, p.Y - 8);
    } else {
        AddLabel(out, fleet.Designation.str(), p.X - 7, p.Y - 8);
    }
}

void ComposeMarkers(const GameState& state, std::vector<MapDrawing>& out) {
    for (const TFleet& marker : state.ContactTable) {
        if (marker.Active == 0 || marker.DetectLevel <= 0) continue;
        const int symbol =
            marker.Side == state.PlayerSide ? kSymbolPlayerFleet : kSymbolComputerFleet;
        AddSymbolAt(out, symbol, marker.Position);
        if (marker.Side != state.PlayerSide) {
            AddLabel(out, marker.Designation.str(), marker.Position.X - 7, marker.Position.Y - 8);
        }
    }
}

void ComposeWaypoints(const GameState& state, std::vector<MapDrawing>& out) {
    if (state.MapMode != 2 || state.SelectedFleet >= kFleetCount) return;
    const TFleet& fleet = state.Fleet(state.SelectedFleet);
    if (fleet.Side != state.PlayerSide) return;
    const int length = std::clamp(fleet.RouteLength, 0, kRouteSlots);
    for (int k = 0; k < length; ++k) {
        const Point w = fleet.Route[static_cast<std::size_t>(k)];
        AddSymbolAt(out, kSymbolWaypoint, w);
        // The waypoint steered for first (the oldest) is numbered 1. The round
        // marker is narrower than a fleet's square: "10" takes a smaller face.
        const int number = length - k;
        if (number < 10) {
            AddLabel(out, std::to_string(number), w.X - 4, w.Y - 8);
        } else {
            out.push_back(MapLabel{std::to_string(number), w.X - 7, w.Y - 6, kMapWhite,
                                   kWaypointTwoDigitSize});
        }
    }
}

// Angle in degrees, counter-clockwise from 3 o'clock, of the direction from
// the centre through p (screen y grows downward).
double ScreenAngle(double cx, double cy, Point p) {
    const double a = std::atan2(cy - p.Y, p.X - cx) * 180.0 / std::numbers::pi;
    return a < 0.0 ? a + 360.0 : a;
}

}  // namespace

std::vector<MapDrawing> ComposeMap(const GameState& state) {
    std::vector<MapDrawing> out;
    for (int i = 0; i < kFleetCount; ++i) {
        const TFleet& fleet = state.FleetTable[static_cast<std::size_t>(i)];
        if (ShownOnMap(state, fleet)) ComposeFleet(state, i, fleet, out);
    }
    ComposeMarkers(state, out);
    ComposeWaypoints(state, out);
    return out;
}

std::vector<MapDrawing> SectorWedge(const TFleet& fleet, int radius, int sector) {
    if (sector < 0 || sector > 7) return {};
    const int x = fleet.Position.X;
    const int y = fleet.Position.Y;
    const int l = x - radius, t = y - radius, r = x + radius - 1, b = y + radius - 1;
    // Radials of each sector, counter-clockwise on screen from start to end.
    const std::array<std::pair<Point, Point>, 8> radials{{
        {{r, t}, {x - 1, t}},
        {{r, y - 1}, {r - 1, t}},
        {{r, b}, {r, y - 1}},
        {{x - 1, b}, {r, b}},
        {{l - 1, b}, {x - 1, b}},
        {{l, y - 1}, {l - 1, b}},
        {{l, t}, {l, y - 1}},
        {{x - 1, t}, {l, t}},
    }};
    const auto& [start, end] = radials[static_cast<std::size_t>(sector)];
    return {MapPie{PenMode::kXor, kMapWhite, kMapRed, l, t, r, b, start, end}};
}

std::vector<MapDrawing> SectorWedges(const TFleet& fleet, int radius,
                                     const std::array<std::uint8_t, 8>& flags) {
    std::vector<MapDrawing> out;
    for (int s = 0; s < 8; ++s) {
        if (flags[static_cast<std::size_t>(s)] == 0) continue;
        for (MapDrawing& d : SectorWedge(fleet, radius, s)) out.push_back(std::move(d));
    }
    return out;
}

std::vector<MapDrawing> WeatherDrawings(const GameState& state) {
    std::vector<MapDrawing> out;
    for (const StormCell& cell : state.StormCells) {
        if (cell.Active == 0) continue;
        MapEllipse storm{PenMode::kXor, kMapWhite,   true,        kMapRed,
                         cell.X - 60,   cell.Y - 60, cell.X + 60, cell.Y + 60};
        out.push_back(storm);
    }
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 3; ++col) {
            const Point centre{263 * col + 131, 275 * row + 136};
            const Point tip = PolarOffset(
                centre.X, centre.Y,
                state.WindDirections[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)],
                50);
            out.push_back(MapPolyline{PenMode::kCopy, kMapBlack, {centre, tip}});
            const int left = 263 * col, top = 275 * row;
            out.push_back(MapPolyline{
                PenMode::kCopy,
                kMapBlack,
                {{left, top}, {left + 262, top}, {left + 262, top + 275}, {left, top + 275}}});
            out.push_back(MapEllipse{PenMode::kCopy, kMapBlack, true, kMapBlack, tip.X - 10,
                                     tip.Y - 10, tip.X + 10, tip.Y + 10});
        }
    }
    return out;
}

MapDrawing DistanceCircle(const TFleet& fleet, int radius) {
    const Point p = fleet.Position;
    return MapEllipse{PenMode::kCopy, kMapWhite,    false,        kMapBlack,
                      p.X - radius,   p.Y - radius, p.X + radius, p.Y + radius};
}

PieAngles AnglesOf(const MapPie& pie) {
    const double cx = (pie.Left + pie.Right) / 2.0;
    const double cy = (pie.Top + pie.Bottom) / 2.0;
    const double start = ScreenAngle(cx, cy, pie.Start);
    double span = ScreenAngle(cx, cy, pie.End) - start;
    if (span <= 0.0) span += 360.0;
    return {start, span};
}

Point CaptionLinePosition(int picture_width, int picture_height, std::string_view line,
                          int font_height_pixels) {
    const int height = std::abs(font_height_pixels);
    const int bytes = static_cast<int>(Cp932Length(line));
    return {picture_width / 2 - (bytes * height) / 4, picture_height / 2 - height / 2};
}

}  // namespace velmora
