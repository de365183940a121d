#include "view3d/pure/archive.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velmora::view3d {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct Entry {
    std::string name;
    std::string data;
    std::uint32_t original = 0;
    bool atZero = false;  // directory says offset 0
};

void PutU32(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i) & 0xFF);
}

std::string MakeArchive(const std::vector<Entry>& entries, bool compressed) {
    std::string file(256 + entries.size() * 268, '\0');
    file[0] = compressed ? 1 : 0;
    file.replace(4, 4, "ZVA0");
    PutU32(file, 8, static_cast<std::uint32_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t at = 256 + i * 268;
        PutU32(file, at, entries[i].atZero ? 0 : static_cast<std::uint32_t>(file.size()));
        PutU32(file, at + 4, static_cast<std::uint32_t>(entries[i].data.size()));
        PutU32(file, at + 8,
               entries[i].original ? entries[i].original
                                   : static_cast<std::uint32_t>(entries[i].data.size()));
        file.replace(at + 12, entries[i].name.size(), entries[i].name);
        file += entries[i].data;
    }
    return file;
}

std::string Text(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

TEST(Archive, FindsEntriesWhateverTheLetterCase) {
    const std::string archive = MakeArchive({{"Hull.BMP", "hull"}, {"deck.bmp", "deck"}}, false);
    EXPECT_EQ(Text(ReadArchiveEntry(std::string_view(archive), "hull.bmp")), "hull");
    EXPECT_EQ(Text(ReadArchiveEntry(std::string_view(archive), "DECK.BMP")), "deck");
}

TEST(Archive, RefusesWhatItCannotFindOrRead) {
    struct Case {
        std::string archive;
        std::string id;
        std::string message;
    };
    std::string outside = MakeArchive({{"a", "data"}}, false);
    PutU32(outside, 256 + 8, 1000);  // original size past the end of the file
    std::string hugeCount = MakeArchive({{"a", "data"}}, false);
    PutU32(hugeCount, 8, 0x7FFFFFFF);
    const Case cases[] = {
        {std::string(300, 'x'), "a", "Zorvane Archiveの扱えるデータではありません"},
        {"ZVA", "a", "Zorvane Archiveの扱えるデータではありません"},
        {MakeArchive({{"a", "data"}}, false), "b", "指定されたID 'b' を持つデータが見つかりません"},
        // Offset 0 is the not-found marker: such an entry cannot be read.
        {MakeArchive({{"a", "data", 0, true}}, false), "a",
         "指定されたID 'a' を持つデータが見つかりません"},
        {outside, "a", "ファイルの外"},
        {hugeCount, "z", "見つかりません"},
    };
    for (const Case& c : cases) {
        try {
            ReadArchiveEntry(std::string_view(c.archive), c.id);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const EZVAError& e) {
            EXPECT_THAT(e.what(), HasSubstr(c.message));
        }
    }
    EXPECT_THROW(ReadArchiveEntry(std::filesystem::path("/nonexistent/x.zva"), "a"), EZVAError);
}

// Pair table: count byte 255 skips 128 literal codes, then code 128 = "ab",
// code 129 = (128, 'c'); 253 skips the remaining 126 codes.
std::string PairBlock(const std::string& data) {
    std::string block = "\xFF\x61\x62";
    block += '\0';
    block += "\x80\x63\xFD";
    std::string length(4, '\0');
    PutU32(length, 0, static_cast<std::uint32_t>(data.size()));
    return block + length + data;
}

TEST(Archive, ExpandsBytePairsLeftFirstAcrossBlocks) {
    const std::string input = PairBlock("\x80x\x81") + PairBlock("\x81");
    EXPECT_EQ(Text(DecodeBytePairs(input)), "abxabcabc");
    const std::string archive = MakeArchive({{"tex", input, 9}}, true);
    EXPECT_EQ(Text(ReadArchiveEntry(std::string_view(archive), "TEX")), "abxabcabc");
    // Expanding past the size the directory gives is an error, not a flood.
    const std::string shortEntry = MakeArchive({{"tex", input, 5}}, true);
    EXPECT_THROW(ReadArchiveEntry(std::string_view(shortEntry), "tex"), EZVAError);
}

TEST(Archive, TruncatedOrSelfReferringPairDataIsAnError) {
    // Codes 128 and 129 expand into each other.
    std::string selfLoop("\xFF\x81\x61\0\x80\x61\xFD\x01\0\0\0\x80", 12);
    for (const std::string& bad :
         {std::string("\xFF\x61"), PairBlock("abc").substr(0, 9), selfLoop}) {
        EXPECT_THROW(DecodeBytePairs(bad), EZVAError);
    }
    EXPECT_THAT(DecodeBytePairs(""), ElementsAre());
}

}  // namespace
}  // namespace velmora::view3d
