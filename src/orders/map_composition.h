// What the map view draws, as data: the composition of the back buffer and
// the drawings made straight onto the visible map afterwards. The Qt map view
// paints these items in order; tests read them without a window.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/game_state.h"

namespace velmora {

// Colours as 0xRRGGBB.
inline constexpr std::uint32_t kMapWhite = 0xFFFFFF;
inline constexpr std::uint32_t kMapBlack = 0x000000;
inline constexpr std::uint32_t kMapRed = 0xFF0000;

inline constexpr int kBackBufferWidth = 800;
inline constexpr int kBackBufferHeight = 600;
inline constexpr int kMapLabelSize = 12;     // points
inline constexpr int kCaptionFontSize = 14;  // points

// The five 16 x 16 map symbols.
enum MapSymbolIndex : int {
    kSymbolPlayerFleet = 0,
    kSymbolComputerFleet = 1,
    kSymbolPlayerInstallation = 2,
    kSymbolComputerInstallation = 3,
    kSymbolWaypoint = 4,
};
inline constexpr int kMapSymbolCount = 5;
inline constexpr int kMapSymbolSize = 16;

enum class PenMode { kCopy, kXor };

// A symbol with its top-left corner at (X, Y).
struct MapSymbol {
    int Index = 0;
    int X = 0;
    int Y = 0;
    friend bool operator==(const MapSymbol&, const MapSymbol&) = default;
};

// A label with its top-left corner at (X, Y), clear background.
struct MapLabel {
    std::string Text;
    int X = 0;
    int Y = 0;
    std::uint32_t Colour = kMapWhite;
    int Size = kMapLabelSize;
    friend bool operator==(const MapLabel&, const MapLabel&) = default;
};

// A pie slice of the ellipse inscribed in (Left, Top)-(Right, Bottom), running
// counter-clockwise on screen from the radial through Start to the one
// through End; pen outline, brush fill.
struct MapPie {
    PenMode Mode = PenMode::kXor;
    std::uint32_t Pen = kMapWhite;
    std::uint32_t Brush = kMapRed;
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    Point Start;
    Point End;
    friend bool operator==(const MapPie&, const MapPie&) = default;
};

// An ellipse in the box (Left, Top)-(Right, Bottom); Filled false means a
// clear brush.
struct MapEllipse {
    PenMode Mode = PenMode::kCopy;
    std::uint32_t Pen = kMapWhite;
    bool Filled = false;
    std::uint32_t Brush = kMapBlack;
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const MapEllipse&, const MapEllipse&) = default;
};

// An open line through the points in order (two points: a plain line).
struct MapPolyline {
    PenMode Mode = PenMode::kCopy;
    std::uint32_t Pen = kMapBlack;
    std::vector<Point> Points;
    friend bool operator==(const MapPolyline&, const MapPolyline&) = default;
};

// The caption screen: the whole picture black, one white line on it.
struct MapCaptionScreen {
    std::string Line;
    friend bool operator==(const MapCaptionScreen&, const MapCaptionScreen&) = default;
};

using MapDrawing =
    std::variant<MapSymbol, MapLabel, MapPie, MapEllipse, MapPolyline, MapCaptionScreen>;

// The drawings made on the visible map since the last redraw, in order. A
// redraw starts it empty again.
struct MapOverlay {
    std::vector<MapDrawing> Drawings;
    void Clear() { Drawings.clear(); }
    void Add(MapDrawing d) { Drawings.push_back(std::move(d)); }
};

// Everything drawn over the map picture into the back buffer, in drawing
// order: fleets 0..24, contact markers, then (move mode) the waypoints of the
// selected fleet. Later items cover earlier ones.
std::vector<MapDrawing> ComposeMap(const GameState& state);

// The wedge of sector s (0..7, clockwise from straight up) around the fleet.
// A sector outside 0..7 gives no wedge.
std::vector<MapDrawing> SectorWedge(const TFleet& fleet, int radius, int sector);

// Wedges of every set flag of the eight sector flags, sector order.
std::vector<MapDrawing> SectorWedges(const TFleet& fleet, int radius,
                                     const std::array<std::uint8_t, 8>& flags);

// Storm circles (XOR), then the wind arrow of each of the six regions.
std::vector<MapDrawing> WeatherDrawings(const GameState& state);

// The circle of radius a around the fleet, white on a clear brush.
MapDrawing DistanceCircle(const TFleet& fleet, int radius);

// Start angle and counter-clockwise span of a pie, in degrees counted
// counter-clockwise from the 3 o'clock direction (screen y pointing down).
struct PieAngles {
    double Start = 0.0;
    double Span = 0.0;
};
PieAngles AnglesOf(const MapPie& pie);

// Where a caption line goes: centred by CP932 bytes, each byte a quarter of
// the font height wide.
Point CaptionLinePosition(int picture_width, int picture_height, std::string_view line,
                          int font_height_pixels);

}  // namespace velmora
