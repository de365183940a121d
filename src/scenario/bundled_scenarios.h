// Where the scenarios shipped with the game are, wherever it is installed.
#pragma once

#include <filesystem>

namespace velmora {

// The folder of bundled scenarios: share/velmora/scenarios beside the
// installed program, else the source tree's scenarios/ for a program run from
// its build folder. Empty when neither exists.
std::filesystem::path BundledScenariosFolder();

// The bundled demo's script inside BundledScenariosFolder() (empty when the
// folder is not found).
std::filesystem::path DemoScenarioFile();

}  // namespace velmora
