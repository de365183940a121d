#include "model/file_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "model/text.h"

namespace velmora {
namespace {

struct EncodingCase {
    const char* name;
    std::string bytes;
    FileEncoding encoding;
};

void PrintTo(const EncodingCase& c, std::ostream* os) {
    *os << c.name;
}

class FileEncodingTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(FileEncodingTest, ReadsTheFileAsItWasSaved) {
    EXPECT_EQ(DetectFileEncoding(GetParam().bytes), GetParam().encoding);
}

const std::string kLines = "スタート:\r\ntelop 第一日 演習開始 \r\nTalk 艦隊司令\r\n全艦、出撃せよ。\r\n";

INSTANTIATE_TEST_SUITE_P(
    Files, FileEncodingTest,
    ::testing::Values(EncodingCase{"Ascii", "create 0 0\r\n", FileEncoding::kCp932},
                      EncodingCase{"ShiftJis", Cp932FromUtf8(kLines), FileEncoding::kCp932},
                      EncodingCase{"Utf8FromALinuxEditor", kLines, FileEncoding::kUtf8},
                      EncodingCase{"Utf8WithMark", "\xEF\xBB\xBF" + kLines,
                                   FileEncoding::kUtf8WithMark},
                      EncodingCase{"NeitherIsShiftJisAsAlways", "\xFF\xFE\x80", FileEncoding::kCp932}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileEncodingTest, Utf8TextDecodesUnchanged) {
    EXPECT_EQ(DecodeFileText(kLines), kLines);
    EXPECT_EQ(DecodeFileText(Cp932FromUtf8(kLines)), kLines);
}

}  // namespace
}  // namespace velmora
