// The stored background pictures: inflated, delta-decoded, then read as BMP.
#include <string_view>

#include "files/compressed_bitmap.h"
#include "files/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto bmp = velmora::DecodeCompressedBitmap(
        std::string_view(reinterpret_cast<const char*>(data), size));
    if (bmp) velmora::DecodePicture(*bmp, velmora::kScenarioPictureLimits);
    return 0;
}
