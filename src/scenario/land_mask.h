// The land mask picture (BMAP.Bmp): black pixels are land.
#pragma once

#include <filesystem>

#include "model/game_state.h"

namespace velmora {

// Sets LandMask from the picture: 1 where a pixel is black, 0 elsewhere
// inside the picture; cells outside it keep their values. Throws
// ScenarioError for a picture that cannot be read or is larger than the
// mask (2001 pixels either way).
void LoadLandMask(GameState& state, const std::filesystem::path& picture);

// Throws ScenarioError unless the file is a picture the engine can read.
void CheckPicture(const std::filesystem::path& picture);

}  // namespace velmora
