// What helps the player read the map and the window: the lines from each of
// the player's fleets along its route, the mark of the selected fleet, and
// the status line with a hint for the current map mode.
#pragma once

#include <string>
#include <vector>

#include "model/game_state.h"
#include "orders/map_composition.h"

namespace velmora {

inline constexpr std::uint32_t kMapRouteColour = 0x90C8FF;
inline constexpr std::uint32_t kMapSelectionColour = 0xFFE040;

// Thin lines from each of the player's fleets through its waypoints, in the
// order it will sail them (the oldest, Route[RouteLength - 1], first).
std::vector<MapDrawing> RouteLines(const GameState& state);

// A frame around the selected fleet's symbol; nothing when none is selected.
std::vector<MapDrawing> SelectionMark(const GameState& state);

// One line that says what a click does in the current map mode.
std::string ModeHint(const GameState& state);

// "5ターン 5時 払暁 | 第1艦隊 | 移動: ..." for the line under the map.
std::string StatusLineText(const GameState& state);

}  // namespace velmora
