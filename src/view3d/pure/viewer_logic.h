// What the unit viewer shows, apart from drawing: the ring layout of a
// fleet, the fleet tree, and the texts of the ship and aircraft strips.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/game_state.h"
#include "view3d/pure/matrix.h"

namespace velmora::view3d {

// ViewSpin + 5; above 360 it becomes 0 (so 360 is drawn once).
int AdvanceViewSpin(int spin);
// 360 / n to the nearest integer, halves to even; 0 for n <= 0.
int RingStep(int count);
struct ScreenPoint {
    int x = 0, y = 0;
};
// The point at angle degrees (0 screen-up, clockwise) turned on by spin.
ScreenPoint RotatedPolarPoint(int cx, int cy, int angle, int radius, int spin);

struct RingPlacement {
    int slot = 0;
    Vec3 position;
};
// Where each ship of the fleet stands in the fleet view: rings by ship type
// 1..8 (radius 60 per type, bases at the centre), slot order on a ring.
std::vector<RingPlacement> FleetRingPlacements(const GameState& state, const TFleet& fleet,
                                               int spin, int imageWidth, int imageHeight);

// The turn of a single model: one revolution in 9 seconds, in 4096 steps.
float ModelTurnRadians(long long milliseconds);

// "通常", "中破" or "大破" from the ship's durability against its class's.
std::string DamageWord(const TShip& ship, const TShip& shipClass);
// "損害なし", "一部破壊", "完全破壊"; empty for a negative value.
std::string EquipmentWord(int classValue, int value);

// The model file of a ship's class or of an aircraft type; empty when the
// index is outside the table.
std::string ShipModelFile(const GameState& state, int classIndex);
std::string AircraftModelFile(const GameState& state, int type);

// The tree beside the fleet view: fleet nodes followed by their ships.
struct FleetTreeFleet {
    int fleet = 0;
    int position = 0;  // absolute position of the fleet node in the tree
    std::string text;
    std::vector<std::string> ships;
};
struct FleetTree {
    std::vector<FleetTreeFleet> fleets;
    bool own = true;
};
FleetTree OwnFleetTree(const GameState& state);
FleetTree DetailFleetTree(const GameState& state, int fleet);
// The fleet whose node stands at the position, among the first 11 fleets.
std::optional<int> FleetAtNode(const FleetTree& tree, int position);
struct ShipRef {
    int fleet = 0;
    int slot = 0;
};
// The ship whose node stands at the position, or nothing for a fleet node.
std::optional<ShipRef> ShipAtNode(const FleetTree& tree, int position);

struct StripLine {
    std::string caption;
    std::string value;
};
// The ship strip's captions and values, in the strip's order. Limited
// strips (opposing fleets) leave out what search cannot tell.
std::vector<StripLine> ShipStripLines(const GameState& state, int fleet, int slot, bool own);
// The type indices behind the three aircraft buttons (255: none).
std::vector<int> StripAircraftTypes(const GameState& state, int fleet, int slot, bool own);
std::vector<StripLine> AircraftStripLines(const GameState& state, int type);
// The button caption of an aircraft type; empty for 255 and bad indices.
std::string AircraftButtonCaption(const GameState& state, int type);

}  // namespace velmora::view3d
