// Pictures stored compressed (the windows' backgrounds): a 4-byte
// little-endian length N, then N bytes of zlib stream. Inflated, the stream
// is one byte d (the delta distance) followed by a Windows BMP file whose
// bytes were delta-coded with distance d (byte[i] -= byte[i - d], from the
// end down) before compression.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// The BMP file bytes held in stored data, or nothing when the data is
// damaged: too short, a length that does not fit, a broken or truncated
// zlib stream, or a result larger than any background picture can be.
std::optional<std::string> DecodeCompressedBitmap(std::string_view data);

}  // namespace velmora
