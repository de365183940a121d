#include <gtest/gtest.h>

#include "model/labels.h"
#include "model/rng.h"
#include "model/short_string.h"
#include "model/text.h"

namespace velmora {
namespace {

TEST(Cp932, RoundTripsJapaneseAndAscii) {
    std::string utf8 = "第一艦隊 Alpha ｱｲｳ";
    std::string sjis = Cp932FromUtf8(utf8);
    EXPECT_EQ(sjis.size(), 8u + 1 + 5 + 1 + 3);  // kanji 2 bytes, half-width kana 1
    EXPECT_EQ(Utf8FromCp932(sjis), utf8);
}

TEST(Cp932, FileTextWithByteOrderMarkIsUtf8) {
    EXPECT_EQ(DecodeFileText("\xEF\xBB\xBF空母"), "空母");
    EXPECT_EQ(DecodeFileText(Cp932FromUtf8("空母")), "空母");
}

TEST(Cp932, BrokenBytesDoNotStopDecoding) {
    std::string decoded = Utf8FromCp932(std::string("A\x81") + "\x20" + "B");
    EXPECT_NE(decoded.find('A'), std::string::npos);
    EXPECT_NE(decoded.find('B'), std::string::npos);
}

struct TruncationCase {
    const char* text;
    std::size_t capacity;
    const char* expected;
};

class ShortStringTruncation : public ::testing::TestWithParam<TruncationCase> {};

TEST_P(ShortStringTruncation, KeepsWholeCharactersWithinCapacity) {
    const auto& c = GetParam();
    EXPECT_EQ(TruncateCp932(c.text, c.capacity), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    MixedText, ShortStringTruncation,
    ::testing::Values(TruncationCase{"abcdef", 4, "abcd"},
                      TruncationCase{"空母赤城", 4, "空母"},
                      TruncationCase{"空母赤城", 5, "空母"},  // never half a kanji
                      TruncationCase{"a空母", 2, "a"},
                      TruncationCase{"a空母", 3, "a空"},
                      TruncationCase{"ｱｲｳｴｵ", 3, "ｱｲｳ"},    // half-width kana take one byte
                      TruncationCase{"", 3, ""}, TruncationCase{"短い", 10, "短い"}));

TEST(ShortString, AssignmentCutsToCapacity) {
    ShortString<10> s = "第一潜水隊司令部";
    EXPECT_EQ(s.str(), "第一潜水隊");
    ShortString<40> name(std::string(50, 'x'));
    EXPECT_EQ(name.str().size(), 40u);
}

TEST(Rng, RandomIsInRangeAndZeroForNonPositive) {
    Rng rng;
    rng.Seed(7);
    for (int i = 0; i < 1000; ++i) {
        int r = rng.Random(12);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 12);
    }
    EXPECT_EQ(rng.Random(0), 0);
    EXPECT_EQ(rng.Random(-5), 0);
}

TEST(Rng, StateRestoresTheSameSequence) {
    Rng a;
    a.Seed(12345);
    a.Random(100);
    RngState saved = a.State();
    std::vector<int> expected;
    for (int i = 0; i < 20; ++i) expected.push_back(a.Random(1000));
    Rng b;
    ASSERT_TRUE(b.Restore(saved));
    for (int v : expected) EXPECT_EQ(b.Random(1000), v);
    EXPECT_FALSE(b.Restore(RngState{1, 2}));  // even increments are not PCG32 states
}

TEST(Labels, TablesHoldTheirTexts) {
    EXPECT_EQ(ShipTypeLabels[0], "");
    EXPECT_EQ(ShipTypeLabels[7], "対空砲");
    EXPECT_EQ(FleetNameLabels[12], "基地");
    EXPECT_EQ(LabelAt(DeckStateLabels, 4), "");  // destroyed installation: no text
    EXPECT_EQ(IrohaTable.back(), "ス");
    EXPECT_EQ(ScriptSectionWords[6], "");
    EXPECT_EQ(ScriptCommandWords[18], "setvtfuse");
}

}  // namespace
}  // namespace velmora
