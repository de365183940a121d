#include "ui/compressed_image.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QtEndian>

#include <cstdint>
#include <zlib.h>

namespace velmora::ui {
namespace {

// A BMP file of the given depth with a BITMAPINFOHEADER, a grey palette for
// the indexed depths and a pixel pattern that varies along each row.
QByteArray makeBmp(int bitsPerPixel, int width, int height) {
    const int paletteEntries = bitsPerPixel <= 8 ? (1 << bitsPerPixel) : 0;
    const int stride = ((width * bitsPerPixel + 31) / 32) * 4;
    const int pixelOffset = 14 + 40 + 4 * paletteEntries;
    QByteArray bmp;
    auto put16 = [&bmp](quint16 v) { bmp.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto put32 = [&](quint32 v) {
        put16(quint16(v & 0xFFFF));
        put16(quint16(v >> 16));
    };
    bmp.append("BM");
    put32(quint32(pixelOffset + stride * height));
    put32(0);
    put32(quint32(pixelOffset));
    put32(40);
    put32(quint32(width));
    put32(quint32(height));
    put16(1);
    put16(quint16(bitsPerPixel));
    put32(0);
    put32(quint32(stride * height));
    put32(2835);
    put32(2835);
    put32(quint32(paletteEntries));
    put32(0);
    for (int i = 0; i < paletteEntries; ++i) {
        const char grey = char(i * 255 / std::max(1, paletteEntries - 1));
        bmp.append(grey).append(grey).append(grey).append('\0');
    }
    for (int y = 0; y < height; ++y) {
        for (int b = 0; b < stride; ++b) bmp.append(char((b * 7 + y * 13) & 0xFF));
    }
    return bmp;
}

struct DepthCase {
    int bitsPerPixel;
    int delta;
};

void PrintTo(const DepthCase& c, std::ostream* os) { *os << c.bitsPerPixel << " bits"; }

class CompressedImageDepth : public ::testing::TestWithParam<DepthCase> {};

TEST_P(CompressedImageDepth, RoundTripKeepsEveryByteAndStoresTheDelta) {
    const DepthCase c = GetParam();
    const QByteArray bmp = makeBmp(c.bitsPerPixel, 37, 11);
    EXPECT_EQ(deltaDistanceForBitmap(bmp), c.delta);

    const QByteArray stored = encodeCompressedImage(bmp);
    ASSERT_GT(stored.size(), 4);
    const quint32 length = qFromLittleEndian<quint32>(stored.constData());
    EXPECT_EQ(length, quint32(stored.size() - 4));

    // The inflated stream starts with the delta byte.
    QByteArray plain(bmp.size() + 1, '\0');
    uLongf plainSize = uLongf(plain.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(plain.data()), &plainSize,
                         reinterpret_cast<const Bytef*>(stored.constData() + 4), length),
              Z_OK);
    EXPECT_EQ(int(static_cast<unsigned char>(plain[0])), c.delta);

    const std::optional<QByteArray> back = decodeCompressedBitmap(stored);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, bmp);

    const std::optional<QImage> image = decodeCompressedImage(stored);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->size(), QSize(37, 11));
}

INSTANTIATE_TEST_SUITE_P(Depths, CompressedImageDepth,
                         ::testing::Values(DepthCase{1, 1}, DepthCase{4, 1}, DepthCase{8, 1},
                                           DepthCase{16, 2}, DepthCase{24, 3}, DepthCase{32, 4}));

TEST(CompressedImage, UnusualDepthIsStoredWithoutDelta) {
    QByteArray bmp = makeBmp(24, 5, 5);
    bmp[28] = 2;  // a depth no delta distance belongs to
    EXPECT_EQ(deltaDistanceForBitmap(bmp), 0);
    const std::optional<QByteArray> back = decodeCompressedBitmap(encodeCompressedImage(bmp));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, bmp);
}

TEST(CompressedImage, OnlyBitmapsAreStored) {
    EXPECT_TRUE(encodeCompressedImage(QByteArray("\x89PNG\r\n\x1a\n0123456789012345678", 27)).isEmpty());
    EXPECT_TRUE(encodeCompressedImage(QByteArray("BM")).isEmpty());
}

QByteArray withLength(quint32 length, const QByteArray& rest) {
    QByteArray data(4, '\0');
    qToLittleEndian(length, data.data());
    return data + rest;
}

struct DamageCase {
    const char* name;
    QByteArray (*make)(const QByteArray& good);
};

void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }

class CompressedImageDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(CompressedImageDamage, IsRefusedWithoutReadingPastTheData) {
    const QByteArray good = encodeCompressedImage(makeBmp(24, 20, 20));
    const QByteArray bad = GetParam().make(good);
    EXPECT_FALSE(decodeCompressedBitmap(bad).has_value());
    EXPECT_FALSE(decodeCompressedImage(bad).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompressedImageDamage,
    ::testing::Values(
        DamageCase{"empty", [](const QByteArray&) { return QByteArray(); }},
        DamageCase{"shorter_than_length_field", [](const QByteArray& g) { return g.left(3); }},
        DamageCase{"zero_length", [](const QByteArray& g) { return withLength(0, g.mid(4)); }},
        DamageCase{"length_past_end",
                   [](const QByteArray& g) { return withLength(quint32(g.size()), g.mid(4)); }},
        DamageCase{"huge_length", [](const QByteArray& g) { return withLength(0xFFFFFFFFu, g.mid(4)); }},
        DamageCase{"stream_cut_short", [](const QByteArray& g) { return g.left(g.size() / 2); }},
        DamageCase{"length_shorter_than_stream",
                   [](const QByteArray& g) { return withLength(quint32(g.size() / 2), g.mid(4)); }},
        DamageCase{"not_zlib", [](const QByteArray&) { return withLength(6, QByteArray("garbage")); }},
        DamageCase{"corrupted_stream",
                   [](const QByteArray& g) {
                       QByteArray d = g;
                       for (qsizetype i = 10; i < d.size(); i += 3) d[i] = char(d[i] ^ 0x5A);
                       return d;
                   }}),
    [](const ::testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.name); });

TEST(CompressedImage, StreamThatIsNoBitmapGivesNoPicture) {
    QByteArray plain("\x03not a bitmap at all", 20);
    QByteArray packed(int(compressBound(uLong(plain.size()))), '\0');
    uLongf size = uLongf(packed.size());
    ASSERT_EQ(compress(reinterpret_cast<Bytef*>(packed.data()), &size,
                       reinterpret_cast<const Bytef*>(plain.constData()), uLong(plain.size())),
              Z_OK);
    packed.resize(qsizetype(size));
    const QByteArray stored = withLength(quint32(size), packed);
    EXPECT_TRUE(decodeCompressedBitmap(stored).has_value());
    EXPECT_FALSE(decodeCompressedImage(stored).has_value());
}

struct BackgroundCase {
    const char* resource;
    QSize size;
};

void PrintTo(const BackgroundCase& c, std::ostream* os) { *os << c.resource; }

class Backgrounds : public ::testing::TestWithParam<BackgroundCase> {};

TEST_P(Backgrounds, ResourceDecodesAtItsStatedSize) {
    const QImage picture = loadBackground(QString::fromUtf8(GetParam().resource));
    EXPECT_EQ(picture.size(), GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(Pictures, Backgrounds,
                         ::testing::Values(BackgroundCase{":/backgrounds/message.vci", {289, 81}},
                                           BackgroundCase{":/backgrounds/number.vci", {241, 113}},
                                           BackgroundCase{":/backgrounds/panel.vci", {400, 300}},
                                           BackgroundCase{":/backgrounds/title.vci", {790, 545}}));

TEST(CompressedImage, MissingResourceGivesNullPicture) {
    EXPECT_TRUE(loadBackground(QStringLiteral(":/backgrounds/no_such.vci")).isNull());
    CompressedImageWidget widget;
    EXPECT_FALSE(widget.loadResource(QStringLiteral(":/backgrounds/no_such.vci")));
    EXPECT_TRUE(widget.loadResource(QStringLiteral(":/backgrounds/message.vci")));
    EXPECT_EQ(widget.size(), QSize(289, 81));
}

}  // namespace
}  // namespace velmora::ui
