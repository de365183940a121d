// The rules behind the fleet information, unit data and aircraft data
// windows: the list of the player's fleets, the formation sketch, the figures
// of a ship and of an aircraft type, the stance buttons and scuttling.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/game_state.h"
#include "model/scuttle.h"

namespace velmora {

// One line of the fleet tree: a fleet node (Slot < 0) or one of its ships.
struct FleetTreeNode {
    int Fleet = 0;
    int Slot = -1;
    std::string Text;

    bool IsShip() const { return Slot >= 0; }
};

// The fleet information window opens only while a game is running.
bool CanShowOwnFleets(const GameState& state);

// Every active fleet of the player, in table order, each followed by its
// ships: "Name Commander指揮 速力Speed", then the ship names.
std::vector<FleetTreeNode> BuildOwnFleetTree(const GameState& state);

// Selection in the fleet tree: which formation is drawn and which ship a
// double click opens.
class FleetTreeSelection {
  public:
    // Starts over on a freshly built tree, with the first listed fleet drawn.
    void Reset(const std::vector<FleetTreeNode>& nodes);

    // Selects node `index`; returns the fleet whose formation must be drawn
    // now, or nothing when the drawing stays as it is.
    std::optional<int> Select(const std::vector<FleetTreeNode>& nodes, int index);

    // The ship a double click opens: only while a ship node is selected.
    struct ShipRef {
        int Fleet = 0;
        int Slot = 0;
    };
    std::optional<ShipRef> ShipToOpen() const { return ship_; }

    int DrawnFleet() const { return drawn_fleet_; }

  private:
    int drawn_fleet_ = 0;
    std::optional<ShipRef> ship_;
};

// Where one ship of the formation sketch goes: the top-left corner of its
// reduced class picture.
struct FormationMark {
    int Slot = 0;
    int ClassIndex = 0;
    int ShipType = 0;
    int X = 0;
    int Y = 0;
};

inline constexpr int kFormationWidth = 577;
inline constexpr int kFormationHeight = 561;
inline constexpr int kFormationPictureWidth = 175;
inline constexpr int kFormationPictureHeight = 37;

// Carriers, battleships, cruisers and destroyers on rings of 65, 130, 195
// and 260 pixels around the sketch's centre, evenly spread from straight up,
// clockwise, in slot order within a type. Other types are not drawn.
std::vector<FormationMark> FormationLayout(const GameState& state, const TFleet& fleet,
                                           int width = kFormationWidth,
                                           int height = kFormationHeight);

// The point at `angle` compass degrees and distance r from (cx, cy).
struct PixelPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};
PixelPoint PolarPoint(int cx, int cy, double angle, double r);

// A fleet's landing points of one side; 0 for a side outside 0..1.
std::int32_t LandingPointsOf(const TFleet& fleet, int side);

// One label and its value in an information window.
struct DataLine {
    std::string Label;
    std::string Value;
};

// The ship's figures for the unit data window; empty for a bad fleet or slot.
std::vector<DataLine> ShipDataLines(const GameState& state, int fleet, int slot);

// The aircraft type's figures for the aircraft data window; empty for a
// type outside the table.
std::vector<DataLine> AircraftDataLines(const GameState& state, int type);

// The six aircraft buttons of the unit data window: the ship's three types
// aboard, then the fleet's types 4, 3 and 5. Nothing where there is no type
// (255, or anything outside the table): such a button is inert.
inline constexpr int kNoAircraftType = 255;
std::array<std::optional<int>, 6> AircraftButtonTypes(const GameState& state, int fleet, int slot);

// "戦闘状態" of a ship as the window opens.
std::string_view StanceLabel(std::uint8_t combat_stance);

enum class ShipStance { kAntiSubmarinePatrol, kAntiAirAlert };

// The stance buttons: sets CombatStance (1 patrol, 0 alert) and returns the
// new "戦闘状態" text; nothing for a bad fleet or slot.
std::optional<std::string_view> SetShipStance(GameState& state, int fleet, int slot,
                                              ShipStance stance);

}  // namespace velmora
