#include "scenario/save_game.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "frontend/recording_frontend.h"
#include "scenario/setup.h"
#include "scenario/test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::FixtureFolder;
using testing::TempFolder;

constexpr const char* kRefused = "MessageOk\tエラー\tこのファイルはセーブファイルではありません。";
constexpr std::size_t kHeaderBytes = 16;

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Makes the checksum fit again, so that a test reaches the checks behind it.
void Reseal(std::vector<std::uint8_t>& bytes) {
    std::size_t body = bytes.size() - 4;
    PutU32(bytes, body,
           static_cast<std::uint32_t>(crc32(0L, bytes.data(), static_cast<uInt>(body))));
}

class SaveGameTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        set_up_ = std::make_unique<GameState>().release();
        RecordingFrontend quiet;
        ASSERT_TRUE(SetupScenario(*set_up_, quiet, FixtureFolder() / "Fixture" / "fixture.snr", 3));
    }
    static void TearDownTestSuite() {
        delete set_up_;
        set_up_ = nullptr;
    }
    // The fixture scenario as set up with seed 3.
    static std::unique_ptr<GameState> FreshGame() { return std::make_unique<GameState>(*set_up_); }

    fs::path Slot(int n) const { return SlotPath(folder_.path(), n); }

    static GameState* set_up_;
    TempFolder folder_;
    RecordingFrontend frontend_;
};

GameState* SaveGameTest::set_up_ = nullptr;

// A game some turns on: everything a later turn reads differs from set-up.
void PlaySomeTurns(GameState& s) {
    s.Hour = 9;
    s.Turn = 5;
    s.MapMode = 2;
    s.DesignationCounter = 12;
    s.ScuttleTally = {3, 4};
    s.InterceptTally = {7, 8};
    s.PlayerScore = 1500;
    s.ComputerScore = 250;
    s.InitialLandingPoints = {100, 300};
    s.EventIndex = 5;
    s.TalkCursor = 2;
    s.TelopTick = 1;
    s.FleetTable[0].Position = {321, 123};
    s.FleetTable[0].Ships[0].MainGunTarget = "敵旗艦";
    s.FleetTable[0].Ships[1].ShipNote = "大破";
    s.FleetTable[0].MissileSalvo.WeaponKey = "SSM-7";
    s.FleetTable[0].FlagshipWeapon = "AAM-3";
    s.FleetTable[13].CapLaunched[4] = 6;
    s.FleetTable[24].Designation = "イ";
    s.ContactTable[3].Position = {50, 60};
    s.ContactTable[3].MissileSalvo.WeaponKey = "ASM-2";
    s.LostShipsPlayer.Ships[0] = s.FleetTable[1].Ships[2];
    s.LostShipsPlayer.Ships[0].ShipNote = "撃沈";
    s.LostShipsPlayer.Count = 1;
    s.LostShipsComputer.Count = 0;
    s.EventTable[7].SpeechText[0] = "新しい台詞";
    s.EventTable[7].LineCount = 1;
    s.TelopTable[7].Lines[0] = "字幕";
    s.TelopTable[7].LineCount = 1;
    s.TelopTable[7].NextLine = 1;
    s.StormCells[5] = {400, 300, 1};
    s.WindDirections[1][2] = 45;
    s.Random.Random(100);
    s.VictoryShown = true;
    s.Victory.PlayerTotal = 77;
    s.Victory.Sunk[1][3] = 2;
    s.Victory.Damaged[0][1] = 1;
    s.ScenarioFile = "/elsewhere/Strait/strait.snr";
    s.MessageLog = {{4, 8, "エラー: 弾薬がありません"}, {5, 9, "敵機来襲\t二波"}, {5, 9, ""}};
}

TEST_F(SaveGameTest, LoadRestoresTheSavedGame) {
    auto played = FreshGame();
    PlaySomeTurns(*played);
    ASSERT_TRUE(SaveGame(*played, frontend_, folder_.path(), 2));
    EXPECT_TRUE(frontend_.CallsOf("MessageOk").empty());

    auto loaded = FreshGame();
    ASSERT_TRUE(LoadGame(*loaded, frontend_, folder_.path(), 2));
    EXPECT_TRUE(*loaded == *played);
    EXPECT_EQ(loaded->Random.Random(1000), played->Random.Random(1000));
    EXPECT_EQ(frontend_.Transcript().back(), "RedrawMap");
    EXPECT_EQ(frontend_.CallsOf("SetCaption").size(), 1u);
}

TEST_F(SaveGameTest, SlotWithoutAFileSaysItIsEmptyAndChangesNothing) {
    auto game = FreshGame();
    EXPECT_FALSE(LoadGame(*game, frontend_, folder_.path(), 3));
    EXPECT_TRUE(*game == *set_up_);
    EXPECT_EQ(
        frontend_.CallsOf("MessageOk"),
        std::vector<std::string>{"MessageOk\tロード\tセーブ3にはまだ何もセーブされていません。"});
    EXPECT_FALSE(LoadGame(*game, frontend_, folder_.path(), kAutoSaveSlot));
    EXPECT_EQ(frontend_.CallsOf("MessageOk").back(),
              "MessageOk\tロード\tオートセーブにはまだ何もセーブされていません。");
}

TEST_F(SaveGameTest, TheAutosaveHasItsOwnSlotAndEverySlotDescribesItself) {
    auto played = FreshGame();
    PlaySomeTurns(*played);
    ASSERT_TRUE(SaveGame(*played, frontend_, folder_.path(), kAutoSaveSlot));
    EXPECT_EQ(Slot(kAutoSaveSlot).filename(), "AutoSave.dat");
    WriteAll(Slot(2), {'n', 'o'});

    const SlotSummary autosave = DescribeSlot(folder_.path(), kAutoSaveSlot);
    EXPECT_EQ(autosave.What, SlotSummary::Kind::kSave);
    EXPECT_EQ(autosave.Turn, 5);
    EXPECT_EQ(autosave.Hour, 9);
    EXPECT_EQ(autosave.ScenarioFile, "/elsewhere/Strait/strait.snr");
    EXPECT_EQ(DescribeSlot(folder_.path(), 1).What, SlotSummary::Kind::kEmpty);
    EXPECT_EQ(DescribeSlot(folder_.path(), 2).What, SlotSummary::Kind::kNotASave);
    EXPECT_EQ(DescribeSlot(folder_.path(), 9).What, SlotSummary::Kind::kEmpty);
}

TEST_F(SaveGameTest, SavingTwiceGivesTheSameBytes) {
    auto game = FreshGame();
    ASSERT_TRUE(SaveGame(*game, frontend_, folder_.path(), 1));
    ASSERT_TRUE(SaveGame(*game, frontend_, folder_.path(), 4));
    EXPECT_EQ(ReadAll(Slot(1)), ReadAll(Slot(4)));
    EXPECT_FALSE(fs::exists(fs::path(Slot(1)) += ".tmp"));
}

struct RefusedCase {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> spoil;
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.name;
}

class RefusedLoadTest : public SaveGameTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedLoadTest, RefusesAndLeavesTheGameUntouched) {
    auto saved = FreshGame();
    PlaySomeTurns(*saved);
    ASSERT_TRUE(SaveGame(*saved, frontend_, folder_.path(), 3));
    std::vector<std::uint8_t> bytes = ReadAll(Slot(3));
    GetParam().spoil(bytes);
    WriteAll(Slot(3), bytes);
    auto game = FreshGame();
    EXPECT_FALSE(LoadGame(*game, frontend_, folder_.path(), 3));
    EXPECT_TRUE(*game == *set_up_);
    ASSERT_EQ(frontend_.Transcript().size(), 2u);
    EXPECT_EQ(frontend_.Transcript()[0], kRefused);
    EXPECT_EQ(frontend_.Transcript()[1], "RedrawMap");
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedLoadTest,
    ::testing::Values(RefusedCase{"Empty", [](auto& b) { b.clear(); }},
                      RefusedCase{"OneByteShort", [](auto& b) { b.pop_back(); }},
                      RefusedCase{"OneByteLonger", [](auto& b) { b.push_back(0); }},
                      RefusedCase{"ForeignSignature", [](auto& b) { b[0] = 'X'; }},
                      RefusedCase{"FlippedByte", [](auto& b) { b[b.size() / 2] ^= 0x01; }},
                      RefusedCase{"UnknownVersion",
                                  [](auto& b) {
                                      PutU32(b, 8, kSaveFormatVersion + 1);
                                      Reseal(b);
                                  }},
                      RefusedCase{"ShipCountPastSlots",
                                  [](auto& b) {
                                      PutU32(b, kHeaderBytes + 19844, 42);  // fleet 0's ShipCount
                                      Reseal(b);
                                  }},
                      RefusedCase{"StrayByteAfterTexts",
                                  [](auto& b) {
                                      // Sizes and checksum agree, but the texts do not fill the
                                      // room.
                                      b.insert(b.end() - 4, 0);
                                      PutU32(b, 12, static_cast<std::uint32_t>(b.size()));
                                      Reseal(b);
                                  }}),
    [](const ::testing::TestParamInfo<RefusedCase>& info) { return std::string(info.param.name); });

// Damage that keeps the checksum right: each file either loads with every
// count in range or is refused, never read past its end.
TEST_F(SaveGameTest, ResealedDamageLoadsInRangeOrIsRefused) {
    auto played = FreshGame();
    PlaySomeTurns(*played);
    const std::vector<std::uint8_t> good = EncodeSave(*played);
    std::mt19937 pick(99);
    for (int round = 0; round < 30; ++round) {
        std::vector<std::uint8_t> bytes = good;
        for (int k = 0; k < 20; ++k)
            bytes[kHeaderBytes + pick() % (bytes.size() - kHeaderBytes - 4)] =
                static_cast<std::uint8_t>(pick());
        Reseal(bytes);
        std::unique_ptr<GameState> loaded = DecodeSave(bytes, *set_up_);
        if (!loaded) continue;
        for (const TFleet& f : loaded->FleetTable) {
            EXPECT_GE(f.ShipCount, 0);
            EXPECT_LE(f.ShipCount, kShipSlots);
        }
        EXPECT_LE(loaded->LostShipsPlayer.Count, kTableSize);
    }
}

TEST_F(SaveGameTest, HugeFileIsRefusedUnread) {
    ASSERT_TRUE(SaveGame(*set_up_, frontend_, folder_.path(), 1));
    fs::resize_file(Slot(1), std::uintmax_t{1} << 32);  // sparse: takes no disk
    auto game = FreshGame();
    EXPECT_FALSE(LoadGame(*game, frontend_, folder_.path(), 1));
    EXPECT_EQ(frontend_.CallsOf("MessageOk").back(), kRefused);
}

TEST_F(SaveGameTest, FailedSaveReportsAndKeepsTheOldSlot) {
    auto game = FreshGame();
    ASSERT_TRUE(SaveGame(*game, frontend_, folder_.path(), 5));
    std::vector<std::uint8_t> old_slot = ReadAll(Slot(5));
    // The temporary file cannot be created when a folder stands in its place.
    fs::create_directory(fs::path(Slot(5)) += ".tmp");

    PlaySomeTurns(*game);
    EXPECT_FALSE(SaveGame(*game, frontend_, folder_.path(), 5));
    std::vector<std::string> messages = frontend_.CallsOf("MessageOk");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("MessageOk\tエラー\t" + Slot(5).string() + ": ", 0), 0u)
        << messages[0];
    EXPECT_EQ(ReadAll(Slot(5)), old_slot);
}

TEST_F(SaveGameTest, SaveIntoFolderThatCannotExistFails) {
    std::ofstream(folder_.path() / "file") << "x";
    fs::path dir = folder_.path() / "file" / "saves";
    EXPECT_FALSE(SaveGame(*set_up_, frontend_, dir, 1));
    ASSERT_EQ(frontend_.CallsOf("MessageOk").size(), 1u);
    EXPECT_NE(frontend_.CallsOf("MessageOk")[0].find(SlotPath(dir, 1).string() + ": "),
              std::string::npos);
}

TEST_F(SaveGameTest, SaveCreatesTheFolder) {
    fs::path dir = folder_.path() / "a" / "b";
    EXPECT_TRUE(SaveGame(*set_up_, frontend_, dir, 1));
    EXPECT_TRUE(fs::is_regular_file(dir / "Save1.dat"));
}

TEST(SlotPathTest, SaveAndLoadShareOneName) {
    EXPECT_EQ(SlotPath("/d", 1), fs::path("/d/Save1.dat"));
    EXPECT_EQ(SlotPath("/d", 5), fs::path("/d/Save5.dat"));
}

// Sets an environment variable for one test and puts it back afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(DefaultSaveDirectoryTest, FollowsXdgDataHomeElseHome) {
    ScopedEnv home("HOME", "/home/p");
    {
        ScopedEnv xdg("XDG_DATA_HOME", "/data");
        EXPECT_EQ(DefaultSaveDirectory(), fs::path("/data/velmora"));
    }
    ScopedEnv xdg("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(DefaultSaveDirectory(), fs::path("/home/p/.local/share/velmora"));
}

}  // namespace
}  // namespace velmora
