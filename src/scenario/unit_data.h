// The unit data files of a scenario: aircraft types ("plane.dat"), ship
// classes ("ship.dat") and the order-of-battle side files ("ShipData/j0.dat",
// "a0.dat", ...). Plain text, Shift-JIS or UTF-8 with a byte-order mark, one
// record per line in space-separated columns.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/game_state.h"
#include "scenario/diagnostics.h"

namespace velmora {

// Splits one line at spaces and CRs; a run of them is one separator and
// separators at the end make no column. With skip_leading_separators false
// a line that starts with a separator gets an empty column 0.
std::vector<std::string> SplitColumns(std::string_view line, bool skip_leading_separators);

// Column as a signed decimal int32; 0 when missing or not a valid number.
std::int32_t ColumnInt(const std::vector<std::string>& columns, std::size_t index);

// Column text, empty when missing.
std::string ColumnText(const std::vector<std::string>& columns, std::size_t index);

// Line i fills AircraftTypeTable[i] (up to 201 lines; the rest are skipped
// with a warning); AircraftTypeCount becomes the number of lines stored.
// A missing or unreadable file throws ScenarioError and changes nothing.
void ReadAircraftTypes(GameState& state, const std::filesystem::path& path, Diagnostics& diag);

// Line i fills ShipClassTable[i] (up to 201 lines), each marked Loaded;
// ShipClassLast becomes the number of lines stored - 1.
void ReadShipClasses(GameState& state, const std::filesystem::path& path, Diagnostics& diag);

// Each line adds one ship to the fleet it names. Lines naming a fleet
// outside 0..24, or a 42nd ship of a fleet, are skipped with a warning;
// blank lines are skipped.
void ReadSideFile(GameState& state, const std::filesystem::path& path, Diagnostics& diag);

}  // namespace velmora
