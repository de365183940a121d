// Text encoding: scenario files and record images are Shift-JIS (CP932);
// everything inside the program is UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// Decodes CP932 bytes to UTF-8. Undecodable bytes become U+FFFD.
std::string Utf8FromCp932(std::string_view cp932);

// Encodes UTF-8 to CP932. Characters CP932 cannot hold become "?".
std::string Cp932FromUtf8(std::string_view utf8);

// Decodes a file's bytes as DetectFileEncoding (model/file_encoding.h)
// says: UTF-8 with a byte-order mark (the mark dropped), UTF-8 that is not
// CP932, CP932 otherwise.
std::string DecodeFileText(std::string_view bytes);

// Number of bytes the UTF-8 text takes in CP932.
std::size_t Cp932Length(std::string_view utf8);

// The longest prefix of the UTF-8 text whose CP932 form fits in max_bytes,
// cut at a character boundary.
std::string TruncateCp932(std::string_view utf8, std::size_t max_bytes);

// True when the byte is the first byte of a CP932 double-byte character.
constexpr bool IsCp932LeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace velmora
