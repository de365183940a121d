// Zorvane archives (".zva"): one file holding named entries, optionally
// byte-pair encoded. Textures reloaded after a device rebuild can come from
// one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::view3d {

class EZVAError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The entry's original bytes. Throws EZVAError for a file that is not an
// archive, an ID that is not in it, or offsets and sizes that point outside
// the file; and when the file cannot be read.
std::vector<std::uint8_t> ReadArchiveEntry(const std::filesystem::path& archive,
                                           std::string_view id);
// The same over an archive already in memory.
std::vector<std::uint8_t> ReadArchiveEntry(std::string_view archive, std::string_view id);

// Expands byte-pair encoded blocks until the input is used up. Throws
// EZVAError when a table or a block runs past the end of the input, or the
// output would grow beyond maxOutput bytes.
std::vector<std::uint8_t> DecodeBytePairs(std::string_view input, std::size_t maxOutput = 16u << 20);

}  // namespace velmora::view3d
