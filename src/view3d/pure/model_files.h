// Ship and aircraft models of a scenario: the files in its "3Dimage"
// folder, opened like every other scenario file (inside the folder only,
// any letter case) and read with the model reader. Textures named by a
// model are found beside it the same way.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "view3d/pure/mqo.h"

namespace velmora {

struct ModelFileResult {
    std::optional<view3d::Model> model;
    bool missing = false;  // no such file in the scenario
    std::string error;     // the reader's message (file and line)
    int line = 0;          // the line it names, 0 for none
    std::string reason;    // the message without file and line
    std::filesystem::path path;
};

// Loads name from scenarioFolder/3Dimage.
ModelFileResult LoadScenarioModel(const std::filesystem::path& scenarioFolder,
                                  const std::string& name);

// Loads a model file named directly (velmora-check --model); its textures
// are looked up in its own folder.
ModelFileResult LoadModelFile(const std::filesystem::path& file);

// velmora-check --model: prints "objects O materials M triangles T
// vertices V" for a readable model, else the reader's message. Returns the
// exit code (0 or 1).
int RunModelCheck(const std::filesystem::path& file, std::ostream& out, std::ostream& err);

}  // namespace velmora
