// The Ogg container of a movie clip, checked page by page. The streams
// inside are left to the player; this tells a clip cut short or damaged.
#pragma once

#include <string>
#include <string_view>

namespace velmora::media {

// True when bytes are whole Ogg pages from the first byte to the last:
// "OggS", version 0, a segment table and body inside the file, a matching
// checksum, and at least one page that begins a stream. The reason, with
// the page's offset, in *why.
bool IsWholeOggFile(std::string_view bytes, std::string* why = nullptr);

}  // namespace velmora::media
