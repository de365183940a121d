// velmora-check: reads a scenario's files the way a new game does and tells
// the author every problem found, one "file:line: error|warning: message"
// line each, then "N errors, M warnings".
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace velmora {

// The folders and scripts one check covers. A scenario folder holds
// plane.dat, ship.dat and the media and model folders; each of its
// scenarios lives in a sub-folder with the .snr script and a ShipData
// folder of side files.
struct CheckTarget {
    std::filesystem::path ScenarioFolder;
    std::vector<std::filesystem::path> SnrFolders;
    std::vector<std::filesystem::path> Scripts;  // the .snr files, in SnrFolders
};

// From a .snr file: that script, its folder and the folder above. From a
// folder that holds a ShipData folder or a .snr file: the same for every
// .snr in it. From any other folder: it is the scenario folder, and every
// sub-folder with a ShipData folder is checked. Nothing when the path does
// not exist.
std::optional<CheckTarget> LocateCheckTarget(const std::filesystem::path& argument);

struct CheckOptions {
    bool Verbose = false;  // also print what was loaded from each file
};

// Runs every check, writing the findings and the closing count to out.
// Returns the exit code: 1 when there are errors, else 0.
int RunScenarioCheck(const std::filesystem::path& argument, std::ostream& out,
                     const CheckOptions& options = {});

}  // namespace velmora
