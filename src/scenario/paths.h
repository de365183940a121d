// Scenario paths. Names read from a scenario may use "\" as separator and
// any letter case (folders made on Windows); they resolve inside the
// scenario folder only.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Splits a scenario name at "\" and "/" (a "\" that is the second byte of a
// Shift-JIS character never reaches here: names are UTF-8 inside).
// Returns nothing for an absolute name or one with a ".." component.
std::optional<std::filesystem::path> RelativeScenarioPath(std::string_view name);

// Finds base/relative, matching each component without regard to ASCII
// letter case. Returns the existing path, or nothing.
std::optional<std::filesystem::path> FindCaseInsensitive(const std::filesystem::path& base,
                                                         const std::filesystem::path& relative);

// RelativeScenarioPath + FindCaseInsensitive; the reason it failed in *why.
std::optional<std::filesystem::path> ResolveScenarioFile(const std::filesystem::path& base,
                                                         std::string_view name,
                                                         std::string* why = nullptr);

// Reads a whole file; nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// Splits text into lines at CR LF, CR or LF. A final line end yields no
// extra empty line.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace velmora
