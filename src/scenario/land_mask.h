// The land mask picture (BMAP.Bmp): black pixels are land.
#pragma once

#include <filesystem>

#include "files/picture.h"
#include "model/game_state.h"

namespace velmora {

// The mask covers at most LandMask's 2001 pixels either way.
inline constexpr PictureLimits kLandMaskLimits{kLandMaskSize, kLandMaskSize};

// Sets LandMask from the picture: 1 where a pixel is black, 0 elsewhere
// inside the picture; cells outside it keep their values. Throws
// ScenarioError, with LandMask untouched, for a picture that cannot be read
// whole or is larger than the mask.
void LoadLandMask(GameState& state, const std::filesystem::path& picture);

// LandMask from a decoded mask picture, the same way.
void SetLandMask(GameState& state, const Picture& mask);

// The picture decoded whole, as the map view will decode it; throws
// ScenarioError naming the file and the reason when it cannot be.
Picture RequirePicture(const std::filesystem::path& picture, PictureLimits limits);

}  // namespace velmora
