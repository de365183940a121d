#include "scenario/land_mask.h"

#include "scenario/diagnostics.h"

namespace velmora {

Picture RequirePicture(const std::filesystem::path& picture, PictureLimits limits) {
    FileProblem problem;
    std::optional<Picture> decoded = ReadPictureFile(picture, limits, &problem);
    if (!decoded) throw ScenarioError(picture.string(), 0, problem.reason);
    return std::move(*decoded);
}

void LoadLandMask(GameState& state, const std::filesystem::path& picture) {
    SetLandMask(state, RequirePicture(picture, kLandMaskLimits));
}

void SetLandMask(GameState& state, const Picture& mask) {
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) state.LandMask.Set(x, y, mask.IsBlack(x, y));
    }
}

}  // namespace velmora
