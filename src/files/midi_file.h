// Standard MIDI Files as the synthesiser plays them. The game checks a
// piece with this before playing it and the checker with the same reader,
// so a piece the synthesiser would refuse (and play as silence) is told.
#pragma once

#include <string>
#include <string_view>

namespace velmora::media {

// True when bytes are a Standard MIDI File whose every event can be read:
// an "MThd" header with at least one track and a non-zero time division,
// "MTrk" chunks inside the file, delta times of at most four bytes, channel
// messages with their data bytes (running status only after a status),
// system exclusive and meta events whose lengths fit the track, the fixed
// lengths of the tempo, time and key meta events, and no system common or
// real-time bytes. The reason, with the track and byte, goes to *why.
bool IsPlayableMidi(std::string_view bytes, std::string* why = nullptr);

}  // namespace velmora::media
