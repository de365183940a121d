#include "orders/message_log.h"

#include <algorithm>

namespace velmora {
namespace {

// Line breaks of multi-line notices become spaces: one entry, one line.
std::string OneLine(std::string_view text) {
    std::string line(text);
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

}  // namespace

void AddToMessageLog(GameState& state, std::string_view caption, std::string_view text) {
    if (text.empty()) return;
    std::string line = caption.empty() ? std::string() : std::string(caption) + ": ";
    line += OneLine(text);
    std::vector<LogEntry>& log = state.MessageLog;
    if (log.size() >= kMessageLogLimit) {
        log.erase(log.begin(),
                  log.begin() + static_cast<std::ptrdiff_t>(log.size() - kMessageLogLimit + 1));
    }
    log.push_back({state.Turn, state.Hour, std::move(line)});
}

std::string MessageLogLine(const LogEntry& entry) {
    return std::to_string(entry.Turn) + "ターン " + std::to_string(entry.Hour) + "時  " +
           entry.Text;
}

}  // namespace velmora
