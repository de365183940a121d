// The message log: every notice, question and report line the game shows,
// with the turn and hour it was shown at. It is saved with the game.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/game_state.h"

namespace velmora {

// Older lines give way beyond this many, so a long game keeps its saves small.
inline constexpr std::size_t kMessageLogLimit = 5000;

// Adds a line stamped with the state's turn and hour. A caption, when given,
// heads the line ("エラー: ..."); empty texts are not kept.
void AddToMessageLog(GameState& state, std::string_view caption, std::string_view text);

// "5ターン 5時  text" for the log window.
std::string MessageLogLine(const LogEntry& entry);

}  // namespace velmora
