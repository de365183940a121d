#include "files/compressed_bitmap.h"

#include <zlib.h>

#include <cstdint>

namespace velmora {
namespace {

constexpr std::size_t kLengthFieldBytes = 4;
// Generous bound on an inflated picture, so damaged data cannot make us
// allocate without limit (a 4096 x 4096 32-bit picture is 64 MiB).
constexpr std::size_t kMaxInflatedBytes = 80 * 1024 * 1024;

std::optional<std::string> InflateStream(std::string_view data) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());

    std::string out;
    char chunk[64 * 1024];
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        status = inflate(&stream, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END) break;
        out.append(chunk, sizeof chunk - stream.avail_out);
        if (out.size() > kMaxInflatedBytes) {
            status = Z_MEM_ERROR;
            break;
        }
        // No progress possible: the stream ended before its end mark.
        if (status == Z_OK && stream.avail_in == 0 && stream.avail_out != 0) {
            status = Z_DATA_ERROR;
        }
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END) return std::nullopt;
    return out;
}

}  // namespace

std::optional<std::string> DecodeCompressedBitmap(std::string_view data) {
    if (data.size() < kLengthFieldBytes) return std::nullopt;
    std::uint32_t length = 0;
    for (int k = 3; k >= 0; --k) length = (length << 8) | static_cast<unsigned char>(data[k]);
    if (length == 0 || length > data.size() - kLengthFieldBytes) return std::nullopt;

    std::optional<std::string> plain = InflateStream(data.substr(kLengthFieldBytes, length));
    if (!plain || plain->empty()) return std::nullopt;
    const std::size_t distance = static_cast<unsigned char>(plain->front());
    std::string bmp = plain->substr(1);
    if (distance > 0) {
        for (std::size_t i = distance; i < bmp.size(); ++i) {
            bmp[i] = static_cast<char>(static_cast<unsigned char>(bmp[i]) +
                                       static_cast<unsigned char>(bmp[i - distance]));
        }
    }
    return bmp;
}

}  // namespace velmora
