#include "files/ogg_container.h"

#include <array>
#include <cstdint>

namespace velmora::media {
namespace {

constexpr std::size_t kPageHeaderBytes = 27;
constexpr std::size_t kChecksumAt = 22;
constexpr unsigned kBeginsStream = 0x02;

bool Fail(std::string* why, std::string text) {
    if (why) *why = std::move(text);
    return false;
}

// Ogg's CRC-32: polynomial 0x04C11DB7, not reflected, no final xor.
const std::array<std::uint32_t, 256>& CrcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t r = i << 24;
            for (int k = 0; k < 8; ++k) r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
            t[i] = r;
        }
        return t;
    }();
    return table;
}

std::uint32_t PageChecksum(std::string_view page) {
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < page.size(); ++i) {
        // The checksum field counts as zeros.
        unsigned byte =
            (i >= kChecksumAt && i < kChecksumAt + 4) ? 0u : static_cast<unsigned char>(page[i]);
        crc = (crc << 8) ^ CrcTable()[((crc >> 24) ^ byte) & 0xFF];
    }
    return crc;
}

std::uint32_t Le32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(b[at + k]);
    return v;
}

}  // namespace

bool IsWholeOggFile(std::string_view bytes, std::string* why) {
    if (bytes.substr(0, 4) != "OggS") return Fail(why, "Ogg (OggS) のファイルではありません");
    bool begins = false;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::string where = "Ogg のページ (" + std::to_string(at) + " バイト目)";
        std::string_view rest = bytes.substr(at);
        if (rest.size() < kPageHeaderBytes) return Fail(why, where + "が途中で切れています");
        if (rest.substr(0, 4) != "OggS") return Fail(why, where + "の見出しが OggS ではありません");
        if (rest[4] != 0) return Fail(why, where + "の版が 0 ではありません");
        auto flags = static_cast<unsigned char>(rest[5]);
        std::size_t segments = static_cast<unsigned char>(rest[26]);
        if (rest.size() < kPageHeaderBytes + segments) {
            return Fail(why, where + "が途中で切れています");
        }
        std::size_t body = 0;
        for (std::size_t s = 0; s < segments; ++s) {
            body += static_cast<unsigned char>(rest[kPageHeaderBytes + s]);
        }
        std::size_t page_size = kPageHeaderBytes + segments + body;
        if (rest.size() < page_size) return Fail(why, where + "が途中で切れています");
        if (PageChecksum(rest.substr(0, page_size)) != Le32(rest, kChecksumAt)) {
            return Fail(why, where + "のチェックサムが合いません");
        }
        begins = begins || (flags & kBeginsStream) != 0;
        at += page_size;
    }
    if (!begins) return Fail(why, "Ogg のストリームの始まりのページがありません");
    return true;
}

}  // namespace velmora::media
