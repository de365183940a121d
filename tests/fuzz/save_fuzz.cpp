// The save decoder, over a base state as a running game has one. Each input
// is decoded as given, then sealed with its own size and checksum so that
// mutations reach the records behind the header.
#include <zlib.h>

#include <memory>
#include <vector>

#include "scenario/save_game.h"

namespace {

constexpr std::size_t kSizeField = 12;
constexpr std::size_t kChecksumBytes = 4;

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void Seal(std::vector<std::uint8_t>& bytes) {
    PutU32(bytes, kSizeField, static_cast<std::uint32_t>(bytes.size()));
    std::size_t body = bytes.size() - kChecksumBytes;
    auto crc = static_cast<std::uint32_t>(crc32(0L, bytes.data(), static_cast<uInt>(body)));
    PutU32(bytes, body, crc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto base = std::make_unique<velmora::GameState>();
    std::vector<std::uint8_t> bytes(data, data + size);
    velmora::DecodeSave(bytes, *base);
    if (bytes.size() >= kSizeField + 4 + kChecksumBytes) {
        Seal(bytes);
        velmora::DecodeSave(bytes, *base);
    }
    return 0;
}
