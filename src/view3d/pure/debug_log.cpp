#include "view3d/pure/debug_log.h"

#include <cstdio>
#include <fstream>

namespace velmora::view3d {

DebugLog& DebugLog::Instance() {
    static DebugLog log;
    return log;
}

void DebugLog::SetFile(std::filesystem::path path) {
    file_ = std::move(path);
    Restart();
}

void DebugLog::Restart() {
    counter_ = 0;
    indent_ = 0;
}

void DebugLog::Line(std::string_view text) {
    if (!messages_ || file_.empty()) return;
    ++counter_;
    std::string body =
        text.empty() ? std::string(60, '-')
                     : std::string(static_cast<std::size_t>(indent_) * 2, ' ') + std::string(text);
    char number[32];
    std::snprintf(number, sizeof number, "#%.5d | ", counter_);
    // Opened per line: what was written survives a crash of the driver.
    std::ofstream out(file_, counter_ == 1 ? std::ios::trunc : std::ios::app);
    out << number << body << '\n';
}

void DebugLog::Detail(std::string_view text) {
    if (detailed_) Line(text);
}

int DebugLog::CheckResult(int code, std::string_view text) {
    if (code == 0) return 0;
    const std::string line = std::string(text) + "(Error Code = " + GlErrorName(code) + ")";
    Line(line);
    if (errorHandler_) errorHandler_(line);
    return code;
}

std::string GlErrorName(int code) {
    switch (code) {
        case 0:
            return "GL_NO_ERROR";
        case 0x0500:
            return "GL_INVALID_ENUM";
        case 0x0501:
            return "GL_INVALID_VALUE";
        case 0x0502:
            return "GL_INVALID_OPERATION";
        case 0x0505:
            return "GL_OUT_OF_MEMORY";
        case 0x0506:
            return "GL_INVALID_FRAMEBUFFER_OPERATION";
        default:
            return "UNKNOWN";
    }
}

}  // namespace velmora::view3d
