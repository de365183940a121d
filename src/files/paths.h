// The one way into a scenario's files, for the game and the checker alike.
// Names read from a scenario may use "\" as separator and any letter case
// (folders made on Windows); they resolve inside the scenario folder only,
// to regular files of a size fit for their kind, and reading never blocks.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The message for a scenario file that cannot be found.
inline constexpr const char* kMissingFileMessage = "ファイルがありません";

// What a file is for; each kind has its own size limit.
enum class FileKind {
    kScript,   // *.snr
    kData,     // plane.dat, ship.dat, side files
    kPicture,  // map, mask, textures
    kMusic,    // Midi/*.mid
    kCue,      // Wave/*.wav
    kClip,     // Movie/*.ogg
    kModel,    // 3Dimage/*.mqo
    kArchive,  // packed model folders
};

// Largest file of a kind that is read; a larger one is refused unread.
std::uintmax_t MaxFileBytes(FileKind kind);

// Why a file could not be had: the file as found (or as named, when it was
// not found) and the reason, for "エラー" messages and checker findings.
struct FileProblem {
    std::filesystem::path file;
    std::string reason;
};

// Splits a scenario name at "\" and "/" (a "\" that is the second byte of a
// Shift-JIS character never reaches here: names are UTF-8 inside).
// Returns nothing for an absolute name or one with a ".." component.
std::optional<std::filesystem::path> RelativeScenarioPath(std::string_view name);

// Finds base/relative, matching each component without regard to ASCII
// letter case. Returns the existing path, or nothing.
std::optional<std::filesystem::path> FindCaseInsensitive(const std::filesystem::path& base,
                                                         const std::filesystem::path& relative);

// Finds the scenario name under folder (which lies in root, the scenario
// folder): refuses absolute and ".." names, a file whose real location
// (symlinks resolved) is outside root, anything but a regular file, and a
// file over the kind's limit. The reason in *problem.
std::optional<std::filesystem::path> LocateScenarioFile(const std::filesystem::path& root,
                                                        const std::filesystem::path& folder,
                                                        std::string_view name, FileKind kind,
                                                        FileProblem* problem = nullptr);

// The same checks for a path already known (a script handed in by the
// player, a file found by listing a folder).
bool CheckScenarioPath(const std::filesystem::path& root, const std::filesystem::path& path,
                       FileKind kind, FileProblem* problem = nullptr);

// Reads a whole file without ever blocking: regular files only, at most the
// kind's limit. Nothing, with the reason, otherwise.
std::optional<std::string> ReadLimitedFile(const std::filesystem::path& path, FileKind kind,
                                           FileProblem* problem = nullptr);

// LocateScenarioFile + ReadLimitedFile; the file found goes to *found.
std::optional<std::string> ReadScenarioFile(const std::filesystem::path& root,
                                            const std::filesystem::path& folder,
                                            std::string_view name, FileKind kind,
                                            FileProblem* problem = nullptr,
                                            std::filesystem::path* found = nullptr);

// Splits text into lines at CR LF, CR or LF. A final line end yields no
// extra empty line.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace velmora
