// Fuzz inputs for readers that take a path: the bytes in an anonymous
// in-memory file, named through /proc/self/fd.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace velmora::fuzz {

class MemoryFile {
  public:
    MemoryFile(const std::uint8_t* data, std::size_t size)
        : fd_(memfd_create("velmora-fuzz", MFD_CLOEXEC)) {
        std::size_t done = 0;
        while (fd_ >= 0 && done < size) {
            ssize_t n = ::write(fd_, data + done, size - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
    }
    ~MemoryFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    std::filesystem::path path() const { return "/proc/self/fd/" + std::to_string(fd_); }

  private:
    int fd_;
};

}  // namespace velmora::fuzz
