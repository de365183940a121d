// Scenario set-up for a new game: the data files, the script, the map and
// land mask, both sides' fleets, the computer's first plans, the contact
// markers and the start events.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/frontend.h"
#include "model/game_state.h"
#include "scenario/diagnostics.h"

namespace velmora {

struct ScenarioFolders {
    std::string SnrFolder;       // folder of the script, with its trailing delimiter
    std::string ScenarioFolder;  // the folder above it, with its trailing delimiter
};

// Folders of a script path; "/" and "\" both delimit.
ScenarioFolders DeriveFolders(std::string_view file);

// Sets up a new game from the script snr with the generator seeded by seed.
// On a missing file or a bad script shows "エラー" with a message naming the
// file (and line), leaves the fleets cleared and returns false. Warnings go
// to *diag when given, and so does the error.
bool SetupScenario(GameState& state, Frontend& frontend, const std::filesystem::path& snr,
                   std::uint64_t seed, Diagnostics* diag = nullptr);

// The palette's summary of SelectedFleet; empty when no fleet is selected.
std::string ToolCaptionText(const GameState& state);

// The 13 top-level items of the palette's fleet tree (the player's fleets).
std::vector<std::string> FleetTreeTexts(const GameState& state);

// Contact marker u (1..14) of a new game estimates this fleet.
int MarkerFleet(int marker);

}  // namespace velmora
