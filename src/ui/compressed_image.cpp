#include "ui/compressed_image.h"

#include <zlib.h>

#include <QFile>
#include <QPainter>
#include <cstdint>

#include "files/compressed_bitmap.h"
#include "files/picture.h"

// The pictures are compiled into a static library, so their registration
// must be pulled in by name.
static void registerBackgroundPictures() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(backgrounds);
        return true;
    }();
    (void)registered;
}

namespace velmora::ui {
namespace {

constexpr int kLengthFieldBytes = 4;
constexpr int kBmpFileHeaderBytes = 14;

quint32 readLittleEndian32(const QByteArray& bytes, qsizetype at) {
    quint32 value = 0;
    for (int k = 3; k >= 0; --k) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + k]);
    }
    return value;
}

quint16 readLittleEndian16(const QByteArray& bytes, qsizetype at) {
    return static_cast<quint16>(static_cast<unsigned char>(bytes[at]) |
                                (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

bool looksLikeBmp(const QByteArray& bytes) {
    return bytes.size() >= kBmpFileHeaderBytes + 12 && bytes.startsWith("BM");
}

// Bits per pixel from the info header: the old 12-byte core header keeps it
// at offset 10 of the header, every later header at offset 14.
int bitsPerPixel(const QByteArray& bmp) {
    const quint32 headerSize = readLittleEndian32(bmp, kBmpFileHeaderBytes);
    const qsizetype at = kBmpFileHeaderBytes + (headerSize == 12 ? 10 : 14);
    if (at + 2 > bmp.size()) return 0;
    return readLittleEndian16(bmp, at);
}

void deltaEncode(QByteArray& bytes, int distance) {
    if (distance <= 0) return;
    for (qsizetype i = bytes.size() - 1; i >= distance; --i) {
        bytes[i] = static_cast<char>(static_cast<unsigned char>(bytes[i]) -
                                     static_cast<unsigned char>(bytes[i - distance]));
    }
}

}  // namespace

int deltaDistanceForBitmap(const QByteArray& bmpFile) {
    if (!looksLikeBmp(bmpFile)) return 0;
    switch (bitsPerPixel(bmpFile)) {
        case 1:
        case 4:
        case 8: return 1;
        case 16: return 2;
        case 24: return 3;
        case 32: return 4;
        default: return 0;
    }
}

QByteArray encodeCompressedImage(const QByteArray& bmpFile) {
    if (!looksLikeBmp(bmpFile)) return {};
    const int distance = deltaDistanceForBitmap(bmpFile);
    QByteArray plain = bmpFile;
    deltaEncode(plain, distance);
    plain.prepend(static_cast<char>(distance));

    uLongf packedSize = compressBound(static_cast<uLong>(plain.size()));
    QByteArray packed(static_cast<qsizetype>(packedSize) + kLengthFieldBytes, Qt::Uninitialized);
    const int status = compress2(reinterpret_cast<Bytef*>(packed.data() + kLengthFieldBytes), &packedSize,
                                 reinterpret_cast<const Bytef*>(plain.constData()),
                                 static_cast<uLong>(plain.size()), Z_BEST_COMPRESSION);
    if (status != Z_OK) return {};
    packed.resize(static_cast<qsizetype>(packedSize) + kLengthFieldBytes);
    const auto length = static_cast<quint32>(packedSize);
    for (int k = 0; k < kLengthFieldBytes; ++k) {
        packed[k] = static_cast<char>((length >> (8 * k)) & 0xFF);
    }
    return packed;
}

std::optional<QByteArray> decodeCompressedBitmap(const QByteArray& data) {
    std::optional<std::string> bmp = DecodeCompressedBitmap(
        std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
    if (!bmp) return std::nullopt;
    return QByteArray(bmp->data(), static_cast<qsizetype>(bmp->size()));
}

// The same BMP reader as every scenario picture.
std::optional<QImage> decodeCompressedImage(const QByteArray& data) {
    const std::optional<QByteArray> bmp = decodeCompressedBitmap(data);
    if (!bmp || !looksLikeBmp(*bmp)) return std::nullopt;
    std::optional<Picture> picture =
        DecodePicture(std::string_view(bmp->constData(), static_cast<std::size_t>(bmp->size())),
                      kScenarioPictureLimits);
    if (!picture) return std::nullopt;
    QImage image(picture->rgb.data(), picture->width, picture->height, picture->width * 3,
                 QImage::Format_RGB888);
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage loadBackground(const QString& resourceName) {
    registerBackgroundPictures();
    QFile file(resourceName);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return decodeCompressedImage(file.readAll()).value_or(QImage());
}

CompressedImageWidget::CompressedImageWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

bool CompressedImageWidget::setCompressedData(const QByteArray& data) {
    setPicture(decodeCompressedImage(data).value_or(QImage()));
    return !picture_.isNull();
}

bool CompressedImageWidget::loadResource(const QString& resourceName) {
    setPicture(loadBackground(resourceName));
    return !picture_.isNull();
}

void CompressedImageWidget::setPicture(const QImage& picture) {
    picture_ = picture;
    if (!picture_.isNull()) resize(picture_.size());
    updateGeometry();
    update();
}

QSize CompressedImageWidget::sizeHint() const {
    return picture_.isNull() ? QSize(0, 0) : picture_.size();
}

void CompressedImageWidget::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

}  // namespace velmora::ui
