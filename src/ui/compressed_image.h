// Background pictures stored compressed: a 4-byte little-endian length N,
// then N bytes of zlib stream. Inflated, the stream is one byte d (the delta
// distance) followed by a Windows BMP file whose bytes were delta-coded with
// distance d (byte[i] -= byte[i - d], from the end down) before compression.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QWidget>

#include <optional>

namespace velmora::ui {

// The delta distance for a BMP file: bits per pixel / 8 rounded as stored
// (1 for 1, 4 and 8 bits, 2 for 16, 3 for 24, 4 for 32), 0 for any other
// depth or a header too short to tell.
int deltaDistanceForBitmap(const QByteArray& bmpFile);

// Compresses a BMP file into the stored form. Returns an empty array when
// the bytes are not a BMP file (only bitmaps are stored compressed).
QByteArray encodeCompressedImage(const QByteArray& bmpFile);

// The BMP file bytes held in stored data, or nothing when the data is
// damaged: too short, a length that does not fit, a broken or truncated
// zlib stream, or a result larger than any background picture can be.
std::optional<QByteArray> decodeCompressedBitmap(const QByteArray& data);

// The picture held in stored data, or nothing when the data is damaged or
// the BMP inside cannot be read.
std::optional<QImage> decodeCompressedImage(const QByteArray& data);

// Reads a stored picture from a file or Qt resource (":/backgrounds/...").
// Returns a null image when it is missing or damaged.
QImage loadBackground(const QString& resourceName);

// Shows one stored picture at its own size, like a plain image control.
class CompressedImageWidget : public QWidget {
public:
    explicit CompressedImageWidget(QWidget* parent = nullptr);

    // Returns false (and shows nothing) when the picture cannot be read.
    bool setCompressedData(const QByteArray& data);
    bool loadResource(const QString& resourceName);
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

}  // namespace velmora::ui
