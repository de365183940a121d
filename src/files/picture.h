// Scenario pictures (the map, the land mask, textures): Windows BMP and PNG,
// recognised by their signature before any decoder sees them. A picture is
// decoded whole or refused with the reason; nothing is guessed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/paths.h"

namespace velmora {

struct PictureLimits {
    int max_width;
    int max_height;
};

// The map and its mask are 790 x 545 as drawn; the mask may be up to 2001
// square, and nothing a scenario shows needs more than 4096 either way.
inline constexpr PictureLimits kScenarioPictureLimits{4096, 4096};

// Pixels as red, green, blue bytes, rows from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    const std::uint8_t* Pixel(int x, int y) const {
        return rgb.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                             static_cast<std::size_t>(x)) *
                                3;
    }
    bool IsBlack(int x, int y) const {
        const std::uint8_t* p = Pixel(x, y);
        return p[0] == 0 && p[1] == 0 && p[2] == 0;
    }
};

// Decodes BMP (1, 4, 8, 16, 24 or 32 bits, uncompressed or bit fields) or
// PNG. Nothing, with the reason in *why, for another format, a size over
// the limits, a truncated file, a colour index past the palette or any
// data the decoder cannot fully read.
std::optional<Picture> DecodePicture(std::string_view bytes, PictureLimits limits,
                                     std::string* why = nullptr);

// Reads the file (a regular file within the picture size limit) and decodes it.
std::optional<Picture> ReadPictureFile(const std::filesystem::path& path, PictureLimits limits,
                                       FileProblem* problem = nullptr);

}  // namespace velmora
