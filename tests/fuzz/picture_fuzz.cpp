// Scenario pictures: BMP and PNG.
#include <string_view>

#include "files/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    velmora::DecodePicture(bytes, {256, 256});
    return 0;
}
