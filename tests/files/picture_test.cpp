// Scenario pictures are decoded whole or refused with the reason.
#include "files/picture.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {
namespace {

std::string Le(std::uint32_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
}

// A BMP with a 40-byte header; palette entries are 0xRRGGBB.
std::string Bmp(int width, int height, int bits, const std::string& pixels,
                const std::vector<std::uint32_t>& palette = {}, std::uint32_t colours_used = 0) {
    std::string pal;
    for (std::uint32_t c : palette) pal += Le(c, 3) + '\0';
    std::uint32_t offset = 54 + static_cast<std::uint32_t>(pal.size());
    return "BM" + Le(offset + static_cast<std::uint32_t>(pixels.size()), 4) + Le(0, 4) +
           Le(offset, 4) + Le(40, 4) + Le(static_cast<std::uint32_t>(width), 4) +
           Le(static_cast<std::uint32_t>(height), 4) + Le(1, 2) +
           Le(static_cast<std::uint32_t>(bits), 2) + Le(0, 4) +
           Le(static_cast<std::uint32_t>(pixels.size()), 4) + Le(2835, 4) + Le(2835, 4) +
           Le(colours_used, 4) + Le(0, 4) + pal + pixels;
}

std::string Be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

std::string Chunk(const std::string& type, const std::string& data) {
    std::string body = type + data;
    auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size())));
    return Be32(static_cast<std::uint32_t>(data.size())) + body + Be32(crc);
}

// A 2 x 1 RGB PNG: red, then blue.
std::string Png() {
    std::string raw("\0\xFF\0\0\0\0\xFF", 7);
    std::vector<Bytef> packed(compressBound(static_cast<uLong>(raw.size())));
    uLongf size = static_cast<uLongf>(packed.size());
    compress(packed.data(), &size, reinterpret_cast<const Bytef*>(raw.data()),
             static_cast<uLong>(raw.size()));
    return std::string("\x89PNG\r\n\x1a\n", 8) +
           Chunk("IHDR", Be32(2) + Be32(1) + std::string("\x08\x02\0\0\0", 5)) +
           Chunk("IDAT", std::string(reinterpret_cast<char*>(packed.data()), size)) +
           Chunk("IEND", "");
}

struct Decoded {
    const char* name;
    std::string bytes;
    std::uint32_t first;   // 0xRRGGBB of the top-left pixel
    std::uint32_t second;  // and of the one right of it
};

void PrintTo(const Decoded& c, std::ostream* os) {
    *os << c.name;
}

class PictureDecodeTest : public ::testing::TestWithParam<Decoded> {};

TEST_P(PictureDecodeTest, GivesTheColoursTopRowFirst) {
    std::string why;
    auto picture = DecodePicture(GetParam().bytes, kScenarioPictureLimits, &why);
    ASSERT_TRUE(picture) << why;
    ASSERT_EQ(picture->width, 2);
    auto colour = [&](int x) {
        const std::uint8_t* p = picture->Pixel(x, 0);
        return static_cast<std::uint32_t>(p[0] << 16 | p[1] << 8 | p[2]);
    };
    EXPECT_EQ(colour(0), GetParam().first);
    EXPECT_EQ(colour(1), GetParam().second);
}

const std::string kTwoRows8 = std::string("\0\0\0\0\x01\0\0\0", 8);  // bottom row first

INSTANTIATE_TEST_SUITE_P(
    Formats, PictureDecodeTest,
    ::testing::Values(
        Decoded{"OneBit", Bmp(2, 1, 1, std::string("\x40\0\0\0", 4), {0xFFFFFF, 0}, 2), 0xFFFFFF,
                0},
        Decoded{"FourBit", Bmp(2, 1, 4, std::string("\x21\0\0\0", 4), {0, 0x111111, 0x222222}, 3),
                0x222222, 0x111111},
        Decoded{"EightBitBottomUp", Bmp(2, 2, 8, kTwoRows8, {0xFFFFFF, 0}, 2), 0, 0xFFFFFF},
        Decoded{"EightBitTopDown", Bmp(2, -2, 8, kTwoRows8, {0xFFFFFF, 0}, 2), 0xFFFFFF, 0xFFFFFF},
        Decoded{"TwentyFourBit", Bmp(2, 1, 24, std::string("\x03\x02\x01\x06\x05\x04\0\0", 8)),
                0x010203, 0x040506},
        Decoded{"SixteenBit", Bmp(2, 1, 16, std::string("\x00\x7C\x1F\x00", 4)), 0xFF0000,
                0x0000FF},
        Decoded{"ThirtyTwoBit", Bmp(2, 1, 32, std::string("\x03\x02\x01\0\x06\x05\x04\0", 8)),
                0x010203, 0x040506},
        Decoded{"Png", Png(), 0xFF0000, 0x0000FF}),
    [](const auto& info) { return std::string(info.param.name); });

struct Refused {
    const char* name;
    std::string bytes;
    std::string reason;  // the start of it
};

void PrintTo(const Refused& c, std::ostream* os) {
    *os << c.name;
}

class PictureRefusalTest : public ::testing::TestWithParam<Refused> {};

TEST_P(PictureRefusalTest, SaysWhy) {
    std::string why;
    EXPECT_FALSE(DecodePicture(GetParam().bytes, {100, 100}, &why));
    EXPECT_EQ(why.rfind(GetParam().reason, 0), 0u) << why;
}

INSTANTIATE_TEST_SUITE_P(
    Damaged, PictureRefusalTest,
    ::testing::Values(
        Refused{"Pgm", "P5\n2 2\n65535\n" + std::string(8, '\x7F'), "BMP か PNG の画像ではありません"},
        Refused{"Empty", "", "BMP か PNG の画像ではありません"},
        Refused{"HeaderCut", Bmp(2, 2, 8, kTwoRows8, {0, 0}, 2).substr(0, 30),
                "BMP のヘッダが途中で切れています"},
        Refused{"RowsCut", Bmp(2, 2, 8, kTwoRows8, {0, 0}, 2).substr(0, 66),
                "BMP の画素データが途中で切れています"},
        Refused{"IndexPastPalette", Bmp(2, 1, 8, std::string("\0\x05\0\0", 4), {0, 0}, 2),
                "BMP の色番号 5 がパレット (2 色) の外です"},
        Refused{"PaletteLargerThanDepth", Bmp(2, 1, 1, std::string(4, '\0'), {0, 0, 0}, 3),
                "BMP のパレットの色数 3 が"},
        Refused{"PaletteCut", Bmp(2, 1, 8, std::string(4, '\0'), {0, 0}, 0),
                "BMP のパレットが途中で切れています"},
        Refused{"TooWide", Bmp(101, 1, 24, std::string(304, '\0')), "画像が大きすぎます"},
        Refused{"NegativeWidth", Bmp(-2, 1, 24, std::string(8, '\0')), "画像の大きさ -2 × 1"},
        Refused{"ZeroHeight", Bmp(2, 0, 24, ""), "画像の大きさ 2 × 0"},
        Refused{"RunLength", [] {
                    std::string b = Bmp(2, 1, 8, std::string(4, '\0'), {0, 0}, 2);
                    b[30] = 1;
                    return b;
                }(),
                "圧縮された BMP は読めません"},
        Refused{"PngCut", Png().substr(0, 40), "PNG として読めません"},
        Refused{"PngBadDepth", [] {
                    std::string p = Png();
                    p[24] = 3;
                    return p;
                }(),
                "PNG として読めません"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora
