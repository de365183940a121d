// Sound cues: read from memory, mixed to stereo and resampled.
#include <string_view>

#include "files/wave_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmora::media::DecodeSound(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
