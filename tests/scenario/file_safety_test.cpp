// Files a scenario hands the game that must be refused, each with a message
// naming the file and the reason, in the game's set-up and in the checker
// alike: pictures that cannot be read whole, files outside the scenario
// folder, FIFOs and devices, files too large for their kind, damaged media.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "frontend/recording_frontend.h"
#include "model/game_state.h"
#include "scenario/scenario_check.h"
#include "scenario/setup.h"
#include "test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::FixtureCopy;
using testing::TempFolder;

const fs::path kMask = "Fixture/ShipData/BMAP.Bmp";
const fs::path kMap = "Fixture/ShipData/MAP.Bmp";

std::string Le32(std::uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
            static_cast<char>(v >> 24)};
}

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void Truncate(const FixtureCopy& c, const fs::path& relative, std::size_t keep) {
    c.WriteBytes(relative, ReadBytes(c.root() / relative).substr(0, keep));
}

void Patch(const FixtureCopy& c, const fs::path& relative, std::size_t at,
           const std::string& bytes) {
    std::string all = ReadBytes(c.root() / relative);
    all.replace(at, bytes.size(), bytes);
    c.WriteBytes(relative, all);
}

void MakeFifo(const FixtureCopy& c, const fs::path& relative) {
    fs::remove(c.root() / relative);
    ASSERT_EQ(mkfifo((c.root() / relative).c_str(), 0644), 0);
}

void LinkTo(const FixtureCopy& c, const fs::path& relative, const fs::path& target) {
    fs::remove_all(c.root() / relative);
    fs::create_symlink(target, c.root() / relative);
}

// Somewhere outside every copy, holding what the links point at.
const TempFolder& Outside() {
    static TempFolder* folder = [] {
        auto* f = new TempFolder;
        fs::copy(testing::FixtureFolder() / "Midi", f->path() / "Midi");
        fs::copy(testing::FixtureFolder() / "plane.dat", f->path() / "plane.dat");
        return f;
    }();
    return *folder;
}

struct BadFile {
    const char* name;
    std::function<void(const FixtureCopy&)> breaks;
    std::string reason;     // in the game's message and the checker's finding
    std::string game_file;  // the file the game's message names; empty when set-up does not read it
    std::string check_finding;  // the start of the checker's line
};

void PrintTo(const BadFile& c, std::ostream* os) {
    *os << c.name;
}

class BadFileTest : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadFileTest, CheckerReportsItWithoutCrashOrHang) {
    FixtureCopy copy;
    GetParam().breaks(copy);
    std::ostringstream out;
    int status = RunScenarioCheck(copy.Script(), out);
    EXPECT_EQ(status, 1) << out.str();
    std::string wanted = GetParam().check_finding;
    EXPECT_NE(out.str().find(wanted), std::string::npos) << wanted << "\n" << out.str();
    EXPECT_NE(out.str().find(GetParam().reason), std::string::npos) << out.str();
}

class GameSetupTest : public BadFileTest {};

TEST_P(GameSetupTest, RefusesItWithAMessageNamingTheFile) {
    FixtureCopy copy;
    GetParam().breaks(copy);
    auto state = std::make_unique<GameState>();
    RecordingFrontend ui;
    EXPECT_FALSE(SetupScenario(*state, ui, copy.Script(), 1));
    auto messages = ui.CallsOf("MessageOk");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("エラー"), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find(GetParam().game_file), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find(GetParam().reason), std::string::npos) << messages[0];
}

const std::string kNotRegular = "通常のファイルではありません";
const std::string kOutside = "シナリオフォルダの外にあるファイルは読みません";

// Files the set-up reads: the game refuses them with one "エラー".
const std::vector<BadFile> kSetupFiles{
    BadFile{"MaskIs16BitPgm",
            [](const FixtureCopy& c) {
                c.WriteBytes(kMask, "P5\n40 40\n65535\n" + std::string(3200, '\x7f'));
            },
            "BMP か PNG の画像ではありません", "BMAP.Bmp", "Fixture/ShipData/BMAP.Bmp: error: "},
    BadFile{"MaskCutInHalf", [](const FixtureCopy& c) { Truncate(c, kMask, 431702 / 2); },
            "BMP の画素データが途中で切れています", "BMAP.Bmp",
            "Fixture/ShipData/BMAP.Bmp: error: "},
    BadFile{"MaskColourPastPalette", [](const FixtureCopy& c) { Patch(c, kMask, 62 + 5, "\x07"); },
            "BMP の色番号 7 がパレット (2 色) の外です", "BMAP.Bmp",
            "Fixture/ShipData/BMAP.Bmp: error: "},
    BadFile{"MapTruncated", [](const FixtureCopy& c) { Truncate(c, kMap, 1000); },
            "BMP の画素データが途中で切れています", "MAP.Bmp", "Fixture/ShipData/MAP.Bmp: error: "},
    BadFile{
        "MapHuge", [](const FixtureCopy& c) { Patch(c, kMap, 18, Le32(3000000) + Le32(2000000)); },
        "画像が大きすぎます (3000000 × 2000000", "MAP.Bmp", "Fixture/ShipData/MAP.Bmp: error: "},
    BadFile{"MapNegativeWidth", [](const FixtureCopy& c) { Patch(c, kMap, 18, Le32(-790)); },
            "画像の大きさ -790 × 545 が正しくありません", "MAP.Bmp",
            "Fixture/ShipData/MAP.Bmp: error: "},
    BadFile{"MapCorruptPng",
            [](const FixtureCopy& c) {
                c.WriteBytes(kMap, std::string("\x89PNG\r\n\x1a\n", 8) + "\0\0\0\rIHDRgarbage");
            },
            "PNG として読めません", "MAP.Bmp", "Fixture/ShipData/MAP.Bmp: error: "},
    BadFile{"ShipDatIsFifo", [](const FixtureCopy& c) { MakeFifo(c, "ship.dat"); }, kNotRegular,
            "ship.dat", "ship.dat: error: "},
    BadFile{"PlaneDatIsDevZero", [](const FixtureCopy& c) { LinkTo(c, "plane.dat", "/dev/zero"); },
            kOutside, "plane.dat", "plane.dat: error: "},
    BadFile{"PlaneDatLinksOutside",
            [](const FixtureCopy& c) { LinkTo(c, "plane.dat", Outside().path() / "plane.dat"); },
            kOutside, "plane.dat", "plane.dat: error: "},
    BadFile{"ShipDatHuge",
            [](const FixtureCopy& c) {
                fs::resize_file(c.root() / "ship.dat", 5u << 20);  // sparse: costs nothing
            },
            "ファイルが大きすぎます (5242880 バイト", "ship.dat", "ship.dat: error: "},
    BadFile{"ScriptIsFifo", [](const FixtureCopy& c) { MakeFifo(c, "Fixture/fixture.snr"); },
            kNotRegular, "fixture.snr", "Fixture/fixture.snr: error: "},
};

// Media: the set-up does not read them; the media player's tests hold the
// game's side.
const std::vector<BadFile> kMediaFiles{
    BadFile{"MusicLinksOutside",
            [](const FixtureCopy& c) {
                LinkTo(c, "Midi/start.mid", Outside().path() / "Midi" / "start.mid");
            },
            kOutside, "", "Fixture/fixture.snr:8: error: Midi/start.mid: "},
    BadFile{"MidiFolderLinksOutside",
            [](const FixtureCopy& c) { LinkTo(c, "Midi", Outside().path() / "Midi"); }, kOutside,
            "", "Fixture/fixture.snr:8: error: Midi/start.mid: "},
    BadFile{"MusicIsFifo", [](const FixtureCopy& c) { MakeFifo(c, "Midi/start.mid"); }, kNotRegular,
            "", "Fixture/fixture.snr:8: error: Midi/start.mid: "},
    BadFile{"MidiWithIllegalEvent",
            [](const FixtureCopy& c) {
                std::string track = std::string("\x00\x90\x3c\x40", 4) + "\x10\xF4" +
                                    std::string("\x00\xFF\x2F\x00", 4);
                c.WriteBytes("Midi/battle.mid", std::string("MThd\0\0\0\x06\0\0\0\x01\0\x60", 14) +
                                                    "MTrk" + std::string("\0\0\0", 3) +
                                                    static_cast<char>(track.size()) + track);
            },
            "ファイルに置けないシステムメッセージ 0xF4", "", "Midi/battle.mid: error: "},
    BadFile{"CueDamaged", [](const FixtureCopy& c) { Truncate(c, "Wave/hit.wav", 30); },
            "WAVE として読めません", "", "Wave/hit.wav: error: "},
    BadFile{"ClipCutShort",
            [](const FixtureCopy& c) {
                Truncate(c, "Movie/opening.ogv",
                         fs::file_size(c.root() / "Movie/opening.ogv") - 10);
            },
            "途中で切れています", "", "Movie/opening.ogv: error: "}};

std::vector<BadFile> AllFiles() {
    std::vector<BadFile> all = kSetupFiles;
    all.insert(all.end(), kMediaFiles.begin(), kMediaFiles.end());
    return all;
}

INSTANTIATE_TEST_SUITE_P(Reproducers, BadFileTest, ::testing::ValuesIn(AllFiles()),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Reproducers, GameSetupTest, ::testing::ValuesIn(kSetupFiles),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora
