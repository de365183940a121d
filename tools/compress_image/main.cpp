// compress_image: turns a BMP file into the compressed picture format the
// windows keep their backgrounds in.
//
//   compress_image INPUT.bmp OUTPUT.vci
#include "ui/compressed_image.h"

#include <QByteArray>
#include <QFile>

#include <cstdio>

namespace {

int fail(const char* what, const char* path) {
    std::fprintf(stderr, "compress_image: %s: %s\n", path, what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: compress_image INPUT.bmp OUTPUT.vci\n");
        return 2;
    }
    QFile input(QString::fromLocal8Bit(argv[1]));
    if (!input.open(QIODevice::ReadOnly)) return fail("cannot open", argv[1]);
    const QByteArray bmp = input.readAll();

    const QByteArray packed = velmora::ui::encodeCompressedImage(bmp);
    if (packed.isEmpty()) return fail("not a BMP file", argv[1]);
    // Never write a picture the windows could not read back.
    const auto back = velmora::ui::decodeCompressedBitmap(packed);
    if (!back || *back != bmp) return fail("does not decode back to the same bytes", argv[1]);

    QFile output(QString::fromLocal8Bit(argv[2]));
    if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        output.write(packed) != packed.size() || !output.flush()) {
        return fail("cannot write", argv[2]);
    }
    std::printf("%s: %lld -> %lld bytes, delta %d\n", argv[2], static_cast<long long>(bmp.size()),
                static_cast<long long>(packed.size()), velmora::ui::deltaDistanceForBitmap(bmp));
    return 0;
}
