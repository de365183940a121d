// The scenario script (*.snr): fleets of the chosen order-of-battle
// variants, the scenario length, the turn events and captions, and the
// media and weather settings.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

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

// Told about every line as the reader classifies it, before the line's
// actions run; velmora-check uses it to check each line against what the
// game does with it. section and command index ScriptSectionWords and
// ScriptCommandWords.
class ScriptListener {
  public:
    virtual ~ScriptListener() = default;
    // Every line, blanks at its start removed, before anything else is
    // told of it; in_talk when a conversation is open.
    virtual void Line(int /*line_number*/, const std::string& /*line*/, bool /*in_talk*/) {}
    virtual void Speech(int /*line_number*/, const std::string& /*line*/) {}
    virtual void Section(int /*line_number*/, int /*section*/, const std::string& /*line*/) {}
    virtual void Command(int /*line_number*/, int /*command*/, const std::string& /*line*/) {}
};

// Reads the script once per new game. n1 and n2 are the player's and the
// computer's order-of-battle variants. Throws ScenarioError for a missing
// file or a word that must be a number and is not; lines whose data cannot
// be stored are skipped with a warning in diag.
void ParseScenarioScript(GameState& state, const std::filesystem::path& file, int n1, int n2,
                         Diagnostics& diag);

// The same with a listener. A word that must be a number and is not is
// then an error in diag and reads as 0, so that a checker sees every line.
void ParseScenarioScript(GameState& state, const std::filesystem::path& file, int n1, int n2,
                         Diagnostics& diag, ScriptListener& listener);

// A line's words as the commands see them: those followed by a separator,
// and the final word (empty when the line ends in a blank).
struct ScriptLineWords {
    std::vector<std::string> stored;
    std::string final_word;
};
ScriptLineWords SplitScriptLine(std::string_view line);

// Fills FleetTable[fleet] from the words of a create line (slots 3..14; the
// fleet index is checked by the caller).
void CreateFleet(GameState& state, int fleet, const WordSlotArray& slots);

// A decimal integer with optional sign, nothing else; false otherwise.
bool ParseScriptInteger(std::string_view word, int& value);

}  // namespace velmora
