// Helpers for tests that read scenario files: a temporary folder that is
// removed afterwards, and writers for Shift-JIS text files as a Windows
// author leaves them (CR LF line ends).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "model/text.h"

namespace velmora::testing {

// The committed test scenario (tests/data/fixture).
inline std::filesystem::path FixtureFolder() {
    return std::filesystem::path(VELMORA_TEST_DATA) / "fixture";
}

// The lines joined with CR LF (one after the last line too), in CP932.
inline std::string ShiftJisLines(const std::vector<std::string>& utf8_lines) {
    std::string text;
    for (const auto& line : utf8_lines) text += line + "\r\n";
    return Cp932FromUtf8(text);
}

class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velmora-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "cannot create a temporary folder from " << pattern;
        }
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes raw bytes at folder/relative, creating folders on the way.
    std::filesystem::path WriteBytes(const std::filesystem::path& relative,
                                     std::string_view bytes) const {
        std::filesystem::path file = path_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) ADD_FAILURE() << "cannot write " << file;
        return file;
    }

    // Writes the UTF-8 lines as a Shift-JIS file with CR LF line ends.
    std::filesystem::path WriteShiftJis(const std::filesystem::path& relative,
                                        const std::vector<std::string>& utf8_lines) const {
        return WriteBytes(relative, ShiftJisLines(utf8_lines));
    }

  private:
    std::filesystem::path path_;
};

// A private copy of the fixture scenario.
class FixtureCopy {
  public:
    FixtureCopy() {
        std::filesystem::copy(FixtureFolder(), root(), std::filesystem::copy_options::recursive);
    }

    const std::filesystem::path& root() const { return folder_.path(); }
    std::filesystem::path Script() const { return root() / "Fixture" / "fixture.snr"; }

    std::string ReadText(const std::filesystem::path& relative) const {
        std::ifstream in(root() / relative, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return Utf8FromCp932(bytes.str());
    }

    void WriteText(const std::filesystem::path& relative, const std::string& utf8) const {
        folder_.WriteBytes(relative, Cp932FromUtf8(utf8));
    }

    void WriteBytes(const std::filesystem::path& relative, const std::string& bytes) const {
        folder_.WriteBytes(relative, bytes);
    }

    // Replaces the first occurrence of from; the test fails when there is none.
    void Edit(const std::filesystem::path& relative, const std::string& from,
              const std::string& to) const {
        std::string text = ReadText(relative);
        std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from << " is not in " << relative;
        text.replace(at, from.size(), to);
        WriteText(relative, text);
    }

    void Append(const std::filesystem::path& relative, const std::string& line) const {
        WriteText(relative, ReadText(relative) + line + "\r\n");
    }

    void Remove(const std::filesystem::path& relative) const {
        ASSERT_TRUE(std::filesystem::remove(root() / relative));
    }

  private:
    TempFolder folder_;
};

}  // namespace velmora::testing
