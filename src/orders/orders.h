// The player's orders: everything the palette, the map clicks and the menus
// can do, as engine functions. The Qt widgets only translate input into these
// calls and paint the drawings they leave in the map overlay.
//
// Orders that work on the selected fleet do nothing while no fleet is
// selected (SelectedFleet 25).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "frontend/frontend.h"
#include "model/game_state.h"
#include "orders/map_composition.h"

namespace velmora {

// Map command modes.
enum MapModeValue : std::uint8_t {
    kMapModeNoGame = 0,
    kMapModeNormal = 1,
    kMapModeMove = 2,
    kMapModeSearch = 4,
    kMapModeAirRaidTarget = 8,
    kMapModeAswTarget = 9,
    kMapModeAswSearch = 10,
};

inline constexpr int kMaxPlayerWaypoints = 10;
inline constexpr int kInspectRadius = 16;
inline constexpr int kAswFallbackRadius = 20;
inline constexpr int kDistanceMaximum = 545;
inline constexpr int kNoPick = 999;
// Inspection entries of contact marker j carry the index 25 + j.
inline constexpr int kMarkerIndexBase = 25;

enum class MouseButton { kLeft, kRight, kMiddle };

// The selected fleet, or nothing when SelectedFleet is not a fleet index.
TFleet* SelectedFleetRecord(GameState& state);
const TFleet* SelectedFleetRecord(const GameState& state);

// Selects fleet n when it is in play; the palette is refreshed. False (and
// nothing changed) for a fleet not in play or an index outside the table.
bool SelectFleet(GameState& state, Frontend& ui, int n);

// Adds (x, y) as the newest waypoint Route[0] of the selected fleet; false
// when no fleet is selected or it has 10 waypoints already.
bool AddWaypoint(GameState& state, Point p);
// Drops the newest waypoint; false when there is none.
bool RemoveNewestWaypoint(GameState& state);

// Toggles the search sector of the selected fleet that contains p (radius:
// the range of its search aircraft) and leaves the wedge in the overlay.
// Returns the sector, or kNoSector when p lies in none (nothing changes).
int ToggleSearchSector(GameState& state, Point p, MapOverlay& overlay);
// The same for the ASW sectors.
int ToggleAswSector(GameState& state, Point p, MapOverlay& overlay);

// One entry of the inspection list: a name and a fleet index, or 25 + j for
// contact marker j.
struct InspectEntry {
    std::string Name;
    int Index = 0;
    friend bool operator==(const InspectEntry&, const InspectEntry&) = default;
};

// The computer fleets and markers near p, each marker once, before or after
// its fleet with even odds (draws from the game's generator).
std::vector<InspectEntry> InspectionList(GameState& state, Point p);
// Lists them, lets the player pick one and shows what search knows of it.
void InspectFleets(GameState& state, Frontend& ui, Point p);

struct MapClickResult {
    // The popup menu opens at the clicked point.
    bool OpenPopup = false;
    Point PopupAt;
    // In the two target modes: the point (click - 8) for the window that
    // waits for its target.
    std::optional<Point> TargetPoint;
    // Why a click was refused (an 11th waypoint, a point outside the search
    // radius), for the status line; empty when nothing was refused.
    std::string Refusal;
};

// A mouse press on the map at image point (x, y), for every map mode.
MapClickResult MapClick(GameState& state, Frontend& ui, MapOverlay& overlay, MouseButton button,
                        Point click);

// What a redraw shows over the map in the current mode: in the two sector
// modes the circle of the search radius and the wedges of exactly the
// sectors set for the selected fleet.
std::vector<MapDrawing> ModeOverlay(const GameState& state);

// The player's fleet whose symbol covers p (the topmost), kNoFleet for none.
int OwnFleetAt(const GameState& state, Point p);

// Mouse move: remembers the point and writes the caption.
void MouseMoved(GameState& state, Frontend& ui, Point p);

// Redraws the map: the overlay starts empty again.
void RedrawMapView(Frontend& ui, MapOverlay& overlay);

// Palette orders.
bool OrderMove(GameState& state, Frontend& ui, MapOverlay& overlay);
bool OrderSearchSectors(GameState& state, MapOverlay& overlay);
bool OrderAswSearchSectors(GameState& state, MapOverlay& overlay);
// Redraws, asks for a radius and draws that circle around the selected fleet.
// Returns the radius drawn, or nothing.
std::optional<int> OrderDistance(GameState& state, Frontend& ui, MapOverlay& overlay);
void OrderWeather(const GameState& state, MapOverlay& overlay);
// False when a turn end is already running (the second one is refused).
bool OrderEndTurn(GameState& state, Frontend& ui);
// The popup's "キャンセル": closes the own-fleet view when it is open.
bool PopupCancel(GameState& state, Frontend& ui, MapOverlay& overlay);

// Save and load slots 1..5 in the save directory.
bool OrderSave(const GameState& state, Frontend& ui, const std::filesystem::path& dir, int slot);
bool OrderLoad(GameState& state, Frontend& ui, const std::filesystem::path& dir, int slot);

// The lowest fleet in play of the player's side, 25 when there is none.
int FirstPlayerFleet(const GameState& state);

// The range of an aircraft type, 0 for an index outside the table.
int AircraftRange(const GameState& state, int type_index);

}  // namespace velmora
