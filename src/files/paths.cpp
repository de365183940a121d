#include "files/paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace velmora {
namespace fs = std::filesystem;

namespace {

constexpr std::uintmax_t kMiB = 1024 * 1024;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool Fail(FileProblem* problem, const fs::path& file, std::string reason) {
    if (problem) *problem = {file, std::move(reason)};
    return false;
}

std::string TooLargeReason(std::uintmax_t size, FileKind kind) {
    return "ファイルが大きすぎます (" + std::to_string(size) + " バイト、上限 " +
           std::to_string(MaxFileBytes(kind)) + " バイト)";
}

// True when inside (already canonical) lies at or below root (canonical).
bool IsWithin(const fs::path& inside, const fs::path& root) {
    return std::mismatch(root.begin(), root.end(), inside.begin(), inside.end()).first ==
           root.end();
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

std::uintmax_t MaxFileBytes(FileKind kind) {
    switch (kind) {
        case FileKind::kScript:
        case FileKind::kData:
        case FileKind::kMusic:
            return 4 * kMiB;
        case FileKind::kPicture:
        case FileKind::kCue:
        case FileKind::kModel:
            return 64 * kMiB;
        case FileKind::kClip:
        case FileKind::kArchive:
            return 256 * kMiB;
    }
    return 0;
}

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
        // A dangling symlink exists too: it is found, and refused as what it is.
        if (fs::exists(fs::symlink_status(exact, ec))) {
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

bool CheckScenarioPath(const fs::path& root, const fs::path& path, FileKind kind,
                       FileProblem* problem) {
    std::error_code ec;
    fs::path real = fs::canonical(path, ec);
    if (ec) return Fail(problem, path, kMissingFileMessage);
    fs::path real_root = fs::canonical(root.empty() ? fs::path(".") : root, ec);
    if (ec || !IsWithin(real, real_root)) {
        return Fail(problem, path,
                    "シナリオフォルダの外にあるファイルは読みません (" + real.string() + ")");
    }
    fs::file_status status = fs::status(real, ec);
    if (ec || !fs::is_regular_file(status)) {
        return Fail(problem, path, "通常のファイルではありません");
    }
    std::uintmax_t size = fs::file_size(real, ec);
    if (ec) return Fail(problem, path, "ファイルを読めません");
    if (size > MaxFileBytes(kind)) return Fail(problem, path, TooLargeReason(size, kind));
    return true;
}

std::optional<fs::path> LocateScenarioFile(const fs::path& root, const fs::path& folder,
                                           std::string_view name, FileKind kind,
                                           FileProblem* problem) {
    auto relative = RelativeScenarioPath(name);
    if (!relative) {
        Fail(problem, fs::path(std::string(name)), "名前がシナリオフォルダの外を指しています");
        return std::nullopt;
    }
    auto found = FindCaseInsensitive(folder, *relative);
    if (!found) {
        Fail(problem, folder / *relative, kMissingFileMessage);
        return std::nullopt;
    }
    if (!CheckScenarioPath(root, *found, kind, problem)) return std::nullopt;
    return found;
}

std::optional<std::string> ReadLimitedFile(const fs::path& path, FileKind kind,
                                           FileProblem* problem) {
    // O_NONBLOCK: opening a FIFO returns at once and is then refused below.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        Fail(problem, path, errno == ENOENT ? kMissingFileMessage : "ファイルを読めません");
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        Fail(problem, path, "通常のファイルではありません");
        return std::nullopt;
    }
    const std::uintmax_t limit = MaxFileBytes(kind);
    if (static_cast<std::uintmax_t>(info.st_size) > limit) {
        Fail(problem, path, TooLargeReason(static_cast<std::uintmax_t>(info.st_size), kind));
        return std::nullopt;
    }
    // Back to blocking reads: a regular file never waits for long.
    ::fcntl(fd.get(), F_SETFL, 0);
    std::string bytes;
    char chunk[64 * 1024];
    while (true) {
        ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            Fail(problem, path, "ファイルを読めません");
            return std::nullopt;
        }
        if (got == 0) break;
        bytes.append(chunk, static_cast<std::size_t>(got));
        // A file that grows while it is read is held to the limit all the same.
        if (bytes.size() > limit) {
            Fail(problem, path, TooLargeReason(bytes.size(), kind));
            return std::nullopt;
        }
    }
    return bytes;
}

std::optional<std::string> ReadScenarioFile(const fs::path& root, const fs::path& folder,
                                            std::string_view name, FileKind kind,
                                            FileProblem* problem, fs::path* found) {
    auto path = LocateScenarioFile(root, folder, name, kind, problem);
    if (!path) return std::nullopt;
    if (found) *found = *path;
    return ReadLimitedFile(*path, kind, problem);
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
