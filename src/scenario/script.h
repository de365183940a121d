// The scenario script (*.snr): fleets of the chosen order-of-battle
// variants, the scenario length, the turn events and captions, and the
// media and weather settings.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "model/game_state.h"
#include "scenario/diagnostics.h"

namespace velmora {

inline constexpr int kWordSlots = 201;
using WordSlotArray = std::array<std::string, kWordSlots>;

// Event slots with a fixed meaning.
inline constexpr int kPrologueSlot = 0;
inline constexpr int kStartSlot = 1;
inline constexpr int kEntrySlot = 100;
inline constexpr int kEndSlot = 101;

// Reads the script once per new game. n1 and n2 are the player's and the
// computer's order-of-battle variants. Throws ScenarioError for a missing
// file or a word that must be a number and is not; lines whose data cannot
// be stored are skipped with a warning in diag.
void ParseScenarioScript(GameState& state, const std::filesystem::path& file, int n1, int n2,
                         Diagnostics& diag);

// Fills FleetTable[fleet] from the words of a create line (slots 3..14; the
// fleet index is checked by the caller).
void CreateFleet(GameState& state, int fleet, const WordSlotArray& slots);

// A decimal integer with optional sign, nothing else; false otherwise.
bool ParseScriptInteger(std::string_view word, int& value);

}  // namespace velmora
