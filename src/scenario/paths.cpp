#include "scenario/paths.h"

#include "scenario/diagnostics.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>
#include <vector>

namespace velmora {
namespace fs = std::filesystem;

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

std::optional<fs::path> RelativeScenarioPath(std::string_view name) {
    if (name.empty()) return std::nullopt;
    if (name.front() == '/' || name.front() == '\\') return std::nullopt;
    if (name.size() >= 2 && name[1] == ':') return std::nullopt;  // "C:\..."
    fs::path out;
    std::string part;
    auto flush = [&]() -> bool {
        if (part == "..") return false;
        if (!part.empty() && part != ".") out /= part;
        part.clear();
        return true;
    };
    for (char c : name) {
        if (c == '\\' || c == '/') {
            if (!flush()) return std::nullopt;
        } else {
            part += c;
        }
    }
    if (!flush()) return std::nullopt;
    if (out.empty()) return std::nullopt;
    return out;
}

std::optional<fs::path> FindCaseInsensitive(const fs::path& base, const fs::path& relative) {
    fs::path current = base;
    for (const auto& component : relative) {
        fs::path exact = current / component;
        std::error_code ec;
        if (fs::exists(exact, ec)) {
            current = exact;
            continue;
        }
        std::optional<fs::path> match;
        for (fs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
            if (EqualsIgnoringCase(it->path().filename().string(), component.string())) {
                match = it->path();
                break;
            }
        }
        if (!match) return std::nullopt;
        current = *match;
    }
    return current;
}

std::optional<fs::path> ResolveScenarioFile(const fs::path& base, std::string_view name,
                                            std::string* why) {
    auto relative = RelativeScenarioPath(name);
    if (!relative) {
        if (why) *why = "名前がシナリオフォルダの外を指しています";
        return std::nullopt;
    }
    auto found = FindCaseInsensitive(base, *relative);
    if (!found) {
        if (why) *why = kMissingFileMessage;
        return std::nullopt;
    }
    return found;
}

std::optional<std::string> ReadFileBytes(const fs::path& path) {
    // A folder opens like a file here and would read as an empty one.
    std::error_code ec;
    if (fs::is_directory(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return bytes.str();
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

}  // namespace velmora
