#include "files/picture.h"

#include <array>
#include <bit>
#include <climits>
#include <memory>

// Only the PNG decoder is compiled in: no other format reaches stb.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#include <stb_image.h>

namespace velmora {
namespace {

constexpr std::string_view kPngSignature{"\x89PNG\r\n\x1a\n", 8};
constexpr std::size_t kFileHeaderBytes = 14;

bool Fail(std::string* why, std::string reason) {
    if (why) *why = std::move(reason);
    return false;
}

std::uint32_t Le32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(b[at + k]);
    return v;
}

std::uint16_t Le16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}

std::string SizeText(std::int64_t width, std::int64_t height) {
    return std::to_string(width) + " × " + std::to_string(height);
}

bool WithinLimits(std::int64_t width, std::int64_t height, PictureLimits limits, std::string* why) {
    if (width < 1 || height < 1) {
        return Fail(why, "画像の大きさ " + SizeText(width, height) + " が正しくありません");
    }
    if (width > limits.max_width || height > limits.max_height) {
        return Fail(why, "画像が大きすぎます (" + SizeText(width, height) + "、最大 " +
                             SizeText(limits.max_width, limits.max_height) + ")");
    }
    return true;
}

// One channel of a bit-field pixel, scaled to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (mask == 0) return;
        shift = std::countr_zero(mask);
        max = mask >> shift;
    }
    std::uint8_t Of(std::uint32_t pixel) const {
        if (max == 0) return 0;
        return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255u / max);
    }
};

struct BmpHeader {
    std::uint32_t pixel_offset = 0;
    std::uint32_t header_size = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // rows stored bottom-up when positive
    int bits = 0;
    std::uint32_t compression = 0;
    std::uint32_t colours_used = 0;
    std::uint32_t masks[3] = {0, 0, 0};
    std::size_t palette_at = 0;
    std::size_t palette_entry = 4;
};

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitFields = 3;
constexpr std::uint32_t kBiAlphaBitFields = 6;

bool ReadBmpHeader(std::string_view b, BmpHeader& h, std::string* why) {
    if (b.size() < kFileHeaderBytes + 12) return Fail(why, "BMP のヘッダが途中で切れています");
    h.pixel_offset = Le32(b, 10);
    h.header_size = Le32(b, kFileHeaderBytes);
    std::size_t at = kFileHeaderBytes;
    if (h.header_size == 12) {
        h.width = Le16(b, at + 4);
        h.height = static_cast<std::int16_t>(Le16(b, at + 6));
        if (Le16(b, at + 8) != 1) return Fail(why, "BMP の面数が 1 ではありません");
        h.bits = Le16(b, at + 10);
        h.palette_entry = 3;
        h.palette_at = at + 12;
        return true;
    }
    if (h.header_size != 40 && h.header_size != 52 && h.header_size != 56 && h.header_size != 108 &&
        h.header_size != 124) {
        return Fail(why, "BMP のヘッダの大きさ " + std::to_string(h.header_size) + " は読めません");
    }
    if (b.size() < at + h.header_size) return Fail(why, "BMP のヘッダが途中で切れています");
    h.width = static_cast<std::int32_t>(Le32(b, at + 4));
    h.height = static_cast<std::int32_t>(Le32(b, at + 8));
    if (Le16(b, at + 12) != 1) return Fail(why, "BMP の面数が 1 ではありません");
    h.bits = Le16(b, at + 14);
    h.compression = Le32(b, at + 16);
    h.colours_used = Le32(b, at + 32);
    h.palette_at = at + h.header_size;
    if (h.compression == kBiBitFields || h.compression == kBiAlphaBitFields) {
        std::size_t masks_at = at + 40;
        if (h.header_size == 40) {
            // The masks follow the short header.
            h.palette_at += h.compression == kBiAlphaBitFields ? 16 : 12;
            if (b.size() < h.palette_at) return Fail(why, "BMP のヘッダが途中で切れています");
        }
        for (std::size_t k = 0; k < 3; ++k) h.masks[k] = Le32(b, masks_at + 4 * k);
    }
    return true;
}

bool CheckBmpFormat(BmpHeader& h, std::string* why) {
    switch (h.bits) {
        case 1:
        case 4:
        case 8:
        case 24:
            if (h.compression != kBiRgb) {
                return Fail(why, "圧縮された BMP は読めません (圧縮方式 " +
                                     std::to_string(h.compression) + ")");
            }
            return true;
        case 16:
        case 32:
            if (h.compression == kBiRgb) {
                if (h.bits == 16) {
                    h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
                } else {
                    h.masks[0] = 0xFF0000, h.masks[1] = 0xFF00, h.masks[2] = 0xFF;
                }
                return true;
            }
            if (h.compression == kBiBitFields || h.compression == kBiAlphaBitFields) return true;
            return Fail(why, "圧縮された BMP は読めません (圧縮方式 " +
                                 std::to_string(h.compression) + ")");
        default:
            return Fail(why, "BMP の色深度 " + std::to_string(h.bits) + " ビットは読めません");
    }
}

using Palette = std::vector<std::array<std::uint8_t, 3>>;

bool ReadPalette(std::string_view b, const BmpHeader& h, Palette& palette, std::string* why) {
    if (h.bits > 8) return true;
    std::uint32_t most = 1u << h.bits;
    std::uint32_t count = h.colours_used == 0 ? most : h.colours_used;
    if (count > most) {
        return Fail(why, "BMP のパレットの色数 " + std::to_string(count) + " が " +
                             std::to_string(h.bits) + " ビットの最大 " + std::to_string(most) +
                             " を超えています");
    }
    std::size_t end = h.palette_at + static_cast<std::size_t>(count) * h.palette_entry;
    if (end > b.size() || end > h.pixel_offset) {
        return Fail(why, "BMP のパレットが途中で切れています");
    }
    palette.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::size_t at = h.palette_at + static_cast<std::size_t>(i) * h.palette_entry;
        // Stored blue, green, red.
        palette[i] = {static_cast<std::uint8_t>(b[at + 2]), static_cast<std::uint8_t>(b[at + 1]),
                      static_cast<std::uint8_t>(b[at])};
    }
    return true;
}

std::optional<Picture> DecodeBmp(std::string_view b, PictureLimits limits, std::string* why) {
    BmpHeader h;
    if (!ReadBmpHeader(b, h, why) || !CheckBmpFormat(h, why)) return std::nullopt;
    bool top_down = h.height < 0;
    std::int64_t height = top_down ? -h.height : h.height;
    if (!WithinLimits(h.width, height, limits, why)) return std::nullopt;
    Palette palette;
    if (!ReadPalette(b, h, palette, why)) return std::nullopt;

    const auto width = static_cast<std::size_t>(h.width);
    const auto rows = static_cast<std::size_t>(height);
    const std::size_t stride = (width * static_cast<std::size_t>(h.bits) + 31) / 32 * 4;
    const std::size_t last_row_bytes = (width * static_cast<std::size_t>(h.bits) + 7) / 8;
    if (h.pixel_offset > b.size() ||
        (b.size() - h.pixel_offset) < stride * (rows - 1) + last_row_bytes) {
        Fail(why, "BMP の画素データが途中で切れています (" + SizeText(h.width, height) +
                      " に足りません)");
        return std::nullopt;
    }
    Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]);
    Picture picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(rows);
    picture.rgb.resize(width * rows * 3);
    for (std::size_t row = 0; row < rows; ++row) {
        std::size_t y = top_down ? row : rows - 1 - row;
        const auto* in =
            reinterpret_cast<const unsigned char*>(b.data()) + h.pixel_offset + row * stride;
        std::uint8_t* out = picture.rgb.data() + y * width * 3;
        for (std::size_t x = 0; x < width; ++x, out += 3) {
            if (h.bits <= 8) {
                std::size_t bit = x * static_cast<std::size_t>(h.bits);
                unsigned byte = in[bit / 8];
                unsigned index = (byte >> (8 - h.bits - bit % 8)) & ((1u << h.bits) - 1);
                if (index >= palette.size()) {
                    Fail(why, "BMP の色番号 " + std::to_string(index) + " がパレット (" +
                                  std::to_string(palette.size()) + " 色) の外です (画素 " +
                                  std::to_string(x) + ", " + std::to_string(y) + ")");
                    return std::nullopt;
                }
                out[0] = palette[index][0];
                out[1] = palette[index][1];
                out[2] = palette[index][2];
            } else if (h.bits == 24) {
                out[0] = in[x * 3 + 2];
                out[1] = in[x * 3 + 1];
                out[2] = in[x * 3];
            } else {
                std::uint32_t pixel = 0;
                if (h.bits == 16) {
                    pixel = static_cast<std::uint32_t>(in[x * 2] | (in[x * 2 + 1] << 8));
                } else {
                    pixel = static_cast<std::uint32_t>(in[x * 4]) |
                            (static_cast<std::uint32_t>(in[x * 4 + 1]) << 8) |
                            (static_cast<std::uint32_t>(in[x * 4 + 2]) << 16) |
                            (static_cast<std::uint32_t>(in[x * 4 + 3]) << 24);
                }
                out[0] = red.Of(pixel);
                out[1] = green.Of(pixel);
                out[2] = blue.Of(pixel);
            }
        }
    }
    return picture;
}

struct PixelsFree {
    void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

std::optional<Picture> DecodePng(std::string_view b, PictureLimits limits, std::string* why) {
    if (b.size() > static_cast<std::size_t>(INT_MAX)) {
        Fail(why, "PNG が大きすぎます");
        return std::nullopt;
    }
    const auto* data = reinterpret_cast<const stbi_uc*>(b.data());
    const int size = static_cast<int>(b.size());
    int width = 0;
    int height = 0;
    int channels = 0;
    if (!stbi_info_from_memory(data, size, &width, &height, &channels)) {
        Fail(why, std::string("PNG として読めません: ") + stbi_failure_reason());
        return std::nullopt;
    }
    if (!WithinLimits(width, height, limits, why)) return std::nullopt;
    std::unique_ptr<stbi_uc, PixelsFree> pixels(
        stbi_load_from_memory(data, size, &width, &height, &channels, 3));
    if (!pixels) {
        Fail(why, std::string("PNG として読めません: ") + stbi_failure_reason());
        return std::nullopt;
    }
    Picture picture;
    picture.width = width;
    picture.height = height;
    const std::size_t count =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
    picture.rgb.assign(pixels.get(), pixels.get() + count);
    return picture;
}

}  // namespace

std::optional<Picture> DecodePicture(std::string_view bytes, PictureLimits limits,
                                     std::string* why) {
    if (bytes.substr(0, 2) == "BM") return DecodeBmp(bytes, limits, why);
    if (bytes.substr(0, kPngSignature.size()) == kPngSignature) {
        return DecodePng(bytes, limits, why);
    }
    Fail(why, "BMP か PNG の画像ではありません");
    return std::nullopt;
}

std::optional<Picture> ReadPictureFile(const std::filesystem::path& path, PictureLimits limits,
                                       FileProblem* problem) {
    std::optional<std::string> bytes = ReadLimitedFile(path, FileKind::kPicture, problem);
    if (!bytes) return std::nullopt;
    std::string why;
    std::optional<Picture> picture = DecodePicture(*bytes, limits, &why);
    if (!picture && problem) *problem = {path, why};
    return picture;
}

}  // namespace velmora
