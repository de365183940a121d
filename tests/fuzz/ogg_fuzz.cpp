// The container check of movie clips.
#include <string_view>

#include "files/ogg_container.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmora::media::IsWholeOggFile(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
