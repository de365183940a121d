// The MIDI reader every piece passes before the synthesiser plays it.
#include <string_view>

#include "files/midi_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmora::media::IsPlayableMidi(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
