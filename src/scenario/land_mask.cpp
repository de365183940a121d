#include "scenario/land_mask.h"

#include <memory>
#include <string>

#include "model/records.h"
#include "scenario/diagnostics.h"
#include "scenario/paths.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_FAILURE_USERMSG
#include <stb_image.h>

namespace velmora {
namespace {

struct PixelsFree {
    void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

std::string ReadPictureBytes(const std::filesystem::path& picture) {
    std::optional<std::string> bytes = ReadFileBytes(picture);
    if (!bytes) throw ScenarioError(picture.string(), 0, "ファイルを読めません");
    return std::move(*bytes);
}

const stbi_uc* Data(const std::string& bytes) {
    return reinterpret_cast<const stbi_uc*>(bytes.data());
}

// Width and height without decoding, so an oversized picture is refused
// before its pixels are allocated.
void ReadSize(const std::filesystem::path& picture, const std::string& bytes, int& width,
              int& height) {
    int channels = 0;
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX) ||
        !stbi_info_from_memory(Data(bytes), static_cast<int>(bytes.size()), &width, &height,
                               &channels)) {
        throw ScenarioError(picture.string(), 0,
                            std::string("画像として読めません: ") + stbi_failure_reason());
    }
}

}  // namespace

void CheckPicture(const std::filesystem::path& picture) {
    std::string bytes = ReadPictureBytes(picture);
    int width = 0;
    int height = 0;
    ReadSize(picture, bytes, width, height);
}

void LoadLandMask(GameState& state, const std::filesystem::path& picture) {
    std::string bytes = ReadPictureBytes(picture);
    int width = 0;
    int height = 0;
    ReadSize(picture, bytes, width, height);
    if (width > kLandMaskSize || height > kLandMaskSize) {
        throw ScenarioError(picture.string(), 0,
                            "地形マスクが大きすぎます (" + std::to_string(width) + " × " +
                                std::to_string(height) + "、最大 2001 × 2001)");
    }
    int channels = 0;
    std::unique_ptr<stbi_uc, PixelsFree> pixels(stbi_load_from_memory(
        Data(bytes), static_cast<int>(bytes.size()), &width, &height, &channels, 3));
    if (!pixels) {
        throw ScenarioError(picture.string(), 0,
                            std::string("画像として読めません: ") + stbi_failure_reason());
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const stbi_uc* p = pixels.get() + (static_cast<std::size_t>(y) * width + x) * 3;
            state.LandMask.Set(x, y, p[0] == 0 && p[1] == 0 && p[2] == 0);
        }
    }
}

}  // namespace velmora
