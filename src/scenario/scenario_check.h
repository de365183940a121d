// velmora-check: loads a scenario's files the way a new game does and tells
// the author what was read and what was skipped, with file and line.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace velmora {

// The folders one check covers. A scenario folder holds plane.dat and
// ship.dat; each of its scenarios lives in a sub-folder with the .snr script
// and a ShipData folder of side files.
struct CheckTarget {
    std::filesystem::path ScenarioFolder;
    std::vector<std::filesystem::path> SnrFolders;
};

// From a .snr file: its folder and the folder above. From a folder that
// holds a ShipData folder or a .snr file: the same, for that folder. From
// any other folder: it is the scenario folder, and every sub-folder with a
// ShipData folder is checked. Nothing when the path does not exist.
std::optional<CheckTarget> LocateCheckTarget(const std::filesystem::path& argument);

// Runs every check, writing one line per loaded file and per finding to
// out. Returns the exit code: 0 when every file could be read, else 1.
int RunScenarioCheck(const std::filesystem::path& argument, std::ostream& out);

}  // namespace velmora
