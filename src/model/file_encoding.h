// How a scenario text file is read: Shift-JIS as Windows authors write it,
// or UTF-8 as Linux editors save it.
#pragma once

#include <string_view>

namespace velmora {

enum class FileEncoding { kCp932, kUtf8WithMark, kUtf8 };

// UTF-8 when the bytes start with a UTF-8 byte-order mark, or when they are
// valid UTF-8 and not valid CP932; CP932 otherwise (plain ASCII included).
FileEncoding DetectFileEncoding(std::string_view bytes);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

}  // namespace velmora
