// The one way into scenario files: what is found, and what is refused why.
#include "files/paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "scenario/test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

class ScenarioFilesTest : public ::testing::Test {
  protected:
    ScenarioFilesTest() {
        root_.WriteBytes("Scenario/Midi/Start.MID", "MThd");
        root_.WriteBytes("elsewhere.mid", "MThd");
    }
    fs::path Root() const { return root_.path() / "Scenario"; }

    FileProblem Refusal(std::string_view name, FileKind kind = FileKind::kMusic) const {
        FileProblem problem;
        EXPECT_FALSE(LocateScenarioFile(Root(), Root(), name, kind, &problem)) << name;
        return problem;
    }

    TempFolder root_;
};

TEST_F(ScenarioFilesTest, FindsNamesInAnyLetterCaseWithEitherSeparator) {
    auto found = LocateScenarioFile(Root(), Root(), "midi\\start.mid", FileKind::kMusic);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->filename(), "Start.MID");
    auto bytes = ReadScenarioFile(Root(), Root(), "MIDI/START.mid", FileKind::kMusic);
    EXPECT_EQ(bytes.value_or(""), "MThd");
}

TEST_F(ScenarioFilesTest, RefusesNamesAndFilesOutsideTheFolderWithTheReason) {
    fs::create_symlink(root_.path() / "elsewhere.mid", Root() / "Midi" / "link.mid");
    fs::create_symlink("/dev/zero", Root() / "Midi" / "zero.mid");
    fs::create_symlink(root_.path(), Root() / "up");
    ASSERT_EQ(mkfifo((Root() / "Midi" / "pipe.mid").c_str(), 0644), 0);
    fs::create_directories(Root() / "Midi" / "folder.mid");
    fs::resize_file(root_.WriteBytes("Scenario/Midi/big.mid", ""),
                    MaxFileBytes(FileKind::kMusic) + 1);

    EXPECT_EQ(Refusal("/etc/passwd").reason, "名前がシナリオフォルダの外を指しています");
    EXPECT_EQ(Refusal("C:\\x.mid").reason, "名前がシナリオフォルダの外を指しています");
    EXPECT_EQ(Refusal("Midi\\..\\..\\elsewhere.mid").reason,
              "名前がシナリオフォルダの外を指しています");
    EXPECT_EQ(Refusal("Midi/none.mid").reason, kMissingFileMessage);
    EXPECT_EQ(Refusal("Midi/none.mid").file, Root() / "Midi" / "none.mid");
    for (const char* outside : {"Midi/link.mid", "Midi/zero.mid", "up/elsewhere.mid"}) {
        EXPECT_EQ(
            Refusal(outside).reason.rfind("シナリオフォルダの外にあるファイルは読みません", 0), 0u)
            << outside;
    }
    EXPECT_EQ(Refusal("Midi/pipe.mid").reason, "通常のファイルではありません");
    EXPECT_EQ(Refusal("Midi/folder.mid").reason, "通常のファイルではありません");
    EXPECT_EQ(Refusal("Midi/big.mid").reason.rfind("ファイルが大きすぎます (4194305 バイト", 0),
              0u);
    // The same file is within the limit of a larger kind.
    EXPECT_TRUE(LocateScenarioFile(Root(), Root(), "Midi/big.mid", FileKind::kCue));
}

// A FIFO, a device or a folder handed straight to a reader returns at once.
TEST_F(ScenarioFilesTest, ReadingNeverBlocksAndReadsOnlyRegularFiles) {
    fs::path pipe = Root() / "pipe.snr";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    for (const fs::path& path : {pipe, fs::path("/dev/zero"), Root()}) {
        FileProblem problem;
        EXPECT_FALSE(ReadLimitedFile(path, FileKind::kScript, &problem)) << path;
        EXPECT_EQ(problem.reason, "通常のファイルではありません") << path;
    }
}

}  // namespace
}  // namespace velmora
