// velmora-check on copies of the fixture scenario with one thing broken:
// each finding names the file and line an author has to mend.
#include "scenario/scenario_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "model/game_state.h"
#include "model/labels.h"
#include "model/text.h"
#include "scenario/script.h"
#include "test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::FixtureCopy;
using testing::FixtureFolder;
using testing::TempFolder;

constexpr const char* kFleet30Warning =
    "Fixture/ShipData/a0.dat:10: warning: 艦隊番号 30 は 0～24 "
    "の範囲外のため、この行は読み込みません";

struct CheckOutput {
    int status = 0;
    std::string text;

    bool HasLine(const std::string& start) const {
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind(start, 0) == 0) return true;
        }
        return false;
    }
};

CheckOutput Check(const fs::path& target, CheckOptions options = {}) {
    std::ostringstream out;
    CheckOutput result;
    result.status = RunScenarioCheck(target, out, options);
    result.text = out.str();
    return result;
}

// A 24-bit bitmap of one colour.
std::string Bitmap(int width, int height, std::uint8_t grey) {
    auto le32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8),
                           static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
    };
    auto le16 = [](std::uint16_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8)};
    };
    std::uint32_t row = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    std::uint32_t pixels = row * static_cast<std::uint32_t>(height);
    std::string bmp = "BM" + le32(54 + pixels) + le32(0) + le32(54);
    bmp += le32(40) + le32(static_cast<std::uint32_t>(width)) +
           le32(static_cast<std::uint32_t>(height)) + le16(1) + le16(24) + le32(0) + le32(pixels) +
           le32(2835) + le32(2835) + le32(0) + le32(0);
    bmp += std::string(pixels, static_cast<char>(grey));
    return bmp;
}

TEST(ScenarioCheckTest, CleanFixtureHasOnlyTheDeliberateWarning) {
    CheckOutput out = Check(FixtureFolder());
    EXPECT_EQ(out.status, 0);
    EXPECT_EQ(out.text, std::string(kFleet30Warning) + "\n0 errors, 1 warnings\n");
}

TEST(ScenarioCheckTest, ScriptFolderAndFolderAboveGiveTheSameReport) {
    CheckOutput from_script = Check(FixtureFolder() / "Fixture" / "fixture.snr");
    EXPECT_EQ(from_script.text, Check(FixtureFolder() / "Fixture").text);
    EXPECT_EQ(from_script.text, Check(FixtureFolder()).text);
}

TEST(ScenarioCheckTest, VerboseAddsWhatWasLoaded) {
    CheckOptions verbose;
    verbose.Verbose = true;
    CheckOutput out = Check(FixtureFolder(), verbose);
    EXPECT_TRUE(out.HasLine("plane.dat: 5 aircraft types: F-7蒼燕")) << out.text;
    EXPECT_TRUE(out.HasLine("Fixture/ShipData/j0.dat: 3 fleets, 11 ships")) << out.text;
    EXPECT_TRUE(out.HasLine("0 errors, 1 warnings")) << out.text;
}

// Folders made on Windows: other letter cases and "\" inside names.
TEST(ScenarioCheckTest, FindsNamesInAnyLetterCaseAndWithBackslashes) {
    FixtureCopy copy;
    fs::rename(copy.root() / "Wave", copy.root() / "WAVE");
    fs::rename(copy.root() / "WAVE" / "hit.wav", copy.root() / "WAVE" / "HIT.WAV");
    fs::rename(copy.root() / "ship.dat", copy.root() / "Ship.Dat");
    fs::create_directories(copy.root() / "Movie" / "Clips");
    fs::rename(copy.root() / "Movie" / "opening.ogv",
               copy.root() / "Movie" / "Clips" / "opening.ogv");
    copy.Edit("Fixture/fixture.snr", "movie opening.ogv", "movie clips\\Opening.OGV");
    CheckOutput out = Check(copy.Script());
    EXPECT_EQ(out.status, 0) << out.text;
    EXPECT_TRUE(out.HasLine("0 errors, 1 warnings")) << out.text;
}

struct BrokenCopy {
    const char* name;
    std::function<void(const FixtureCopy&)> breaks;
    std::string finding;  // the start of the line the checker must print
};

void PrintTo(const BrokenCopy& c, std::ostream* os) {
    *os << c.name;
}

class BrokenCopyCheckTest : public ::testing::TestWithParam<BrokenCopy> {};

TEST_P(BrokenCopyCheckTest, NamesFileAndLine) {
    FixtureCopy copy;
    GetParam().breaks(copy);
    CheckOutput out = Check(copy.Script());
    EXPECT_TRUE(out.HasLine(GetParam().finding)) << out.text;
    bool is_error = GetParam().finding.find(": error: ") != std::string::npos;
    EXPECT_EQ(out.status, is_error ? 1 : 0) << out.text;
}

const fs::path kScript = "Fixture/fixture.snr";
const fs::path kJ0 = "Fixture/ShipData/j0.dat";
const fs::path kMask = "Fixture/ShipData/BMAP.Bmp";
const std::string kCreateFleet0 = "create 0 0 山本 第一艦隊 直進 普通 150 70 0 1 2 255 255 255";

INSTANTIATE_TEST_SUITE_P(
    OneThingBroken, BrokenCopyCheckTest,
    ::testing::Values(
        // Side files.
        BrokenCopy{"UnknownClass",
                   [](const FixtureCopy& c) { c.Edit(kJ0, "0 翠鳳 翠鳳", "0 翠凰 翠鳳"); },
                   "Fixture/ShipData/j0.dat:2: error: 艦級「翠凰」が ship.dat にありません"},
        BrokenCopy{"FleetIndex30",
                   [](const FixtureCopy& c) { c.Append(kJ0, "30 霞雲 迷子 0 3 6 0 0 0 1 0 2"); },
                   "Fixture/ShipData/j0.dat:12: warning: 艦隊番号 30 は 0～24 の範囲外"},
        BrokenCopy{"ComputerFleetInPlayerFile",
                   [](const FixtureCopy& c) { c.Append(kJ0, "13 霞雲 越境 0 3 6 0 0 0 1 0 2"); },
                   "Fixture/ShipData/j0.dat:12: error: 艦隊番号 13 は j ファイルの艦隊 (0～12) "
                   "ではありません"},
        BrokenCopy{"MoreAircraftThanTheClassCarries",
                   [](const FixtureCopy& c) {
                       c.Edit(kJ0, "0 翠鳳 翠鳳 0 3 6 12", "0 翠鳳 翠鳳 0 3 6 40");
                   },
                   "Fixture/ShipData/j0.dat:2: error: 搭載機数 48 が艦級「翠鳳」の搭載能力 30 "
                   "を超えています"},
        BrokenCopy{
            "AircraftTypeOutsidePlaneDat",
            [](const FixtureCopy& c) { c.Edit(kJ0, "0 3 6 20 0 18 1", "0 3 6 20 9 18 1"); },
            "Fixture/ShipData/j0.dat:1: error: 列 7 の機種番号 9 は plane.dat にありません (0～4)"},
        BrokenCopy{
            "SideFileWordForANumber",
            [](const FixtureCopy& c) { c.Edit(kJ0, "0 天鷹 天鷹 0 3 6", "0 天鷹 天鷹 0 三 6"); },
            "Fixture/ShipData/j0.dat:1: error: 列 4 の「三」は整数ではありません"},
        BrokenCopy{"FortySecondShip",
                   [](const FixtureCopy& c) {
                       for (int i = 0; i < 37; ++i) c.Append(kJ0, "0 霞雲 増派 0 3 6 0 0 0 1 0 2");
                   },
                   "Fixture/ShipData/j0.dat:48: warning: 艦隊 0 は既に 41 "
                   "隻のため、この行は読み込みません"},
        // Unit data.
        BrokenCopy{"ByteColumnOver255",
                   [](const FixtureCopy& c) { c.Edit("ship.dat", "6 10 27 2", "6 10 300 2"); },
                   "ship.dat:2: error: 列 21 の 300 は 0～255 の範囲外です (下位 8 ビットの 44 "
                   "になります)"},
        BrokenCopy{"DuplicateClassName",
                   [](const FixtureCopy& c) {
                       c.Edit("ship.dat", "1 翠鳳 翠鳳型軽空母", "1 天鷹 翠鳳型軽空母");
                   },
                   "ship.dat:8: error: 艦級名「天鷹」は 1 行目と重複しています"},
        BrokenCopy{
            "WeaponKeyWithoutAircraftType",
            [](const FixtureCopy& c) { c.Edit("ship.dat", "SSM-7 raiho.mqo", "SSM-9 raiho.mqo"); },
            "ship.dat:2: error: 兵装キー「SSM-9」に当たる機種が plane.dat にありません"},
        BrokenCopy{"ShortAircraftLine",
                   [](const FixtureCopy& c) { c.Edit("plane.dat", " 4 0 0\r\n", "\r\n"); },
                   "plane.dat:1: error: 列が足りません: 21 列必要ですが 18 列です"},
        // Models.
        BrokenCopy{"MissingModel", [](const FixtureCopy& c) { c.Remove("3Dimage/raiho.mqo"); },
                   "ship.dat:2: error: 3Dimage/raiho.mqo: ファイルがありません"},
        BrokenCopy{"ModelWithoutHeader",
                   [](const FixtureCopy& c) {
                       c.WriteBytes("3Dimage/f7.mqo", "Object \"f7\" {\r\n}\r\n");
                   },
                   "3Dimage/f7.mqo:1: error: Metasequoia Document の見出しがありません"},
        BrokenCopy{
            "ModelChunkNotClosed",
            [](const FixtureCopy& c) { c.Edit("3Dimage/e2.mqo", "\t}\r\n}\r\nEof", "\t}\r\nEof"); },
            "3Dimage/e2.mqo:7: error: チャンクが「}」で閉じられていません"},
        BrokenCopy{"ModelTextureMissing",
                   [](const FixtureCopy& c) {
                       c.Edit("3Dimage/a4.mqo", "amb(0.6)", "amb(0.6) tex(\"skin.png\")");
                   },
                   "3Dimage/a4.mqo:5: warning: テクスチャ「skin.png」: ファイルがありません"},
        // Media.
        BrokenCopy{"MissingCue", [](const FixtureCopy& c) { c.Remove("Wave/hit.wav"); },
                   "Fixture/fixture.snr:13: error: Wave/hit.wav: ファイルがありません"},
        BrokenCopy{"CueThatIsNoWave",
                   [](const FixtureCopy& c) { c.WriteBytes("Wave/bomb.wav", "MThd not a wave"); },
                   "Wave/bomb.wav: error: WAVE として読めません"},
        BrokenCopy{
            "CueOutsideTheScenario",
            [](const FixtureCopy& c) { c.Edit(kScript, "attack.wav", "..\\..\\attack.wav"); },
            "Fixture/fixture.snr:13: error: Wave/..\\..\\attack.wav: "
            "名前がシナリオフォルダの外を指しています"},
        BrokenCopy{
            "NineCues", [](const FixtureCopy& c) { c.Edit(kScript, "sonar.wav ", ""); },
            "Fixture/fixture.snr:13: error: seteffect には効果音が 10 個必要ですが 9 個です"},
        BrokenCopy{"MissingMusic", [](const FixtureCopy& c) { c.Remove("Midi/battle.mid"); },
                   "Fixture/fixture.snr:24: error: Midi/battle.mid: ファイルがありません"},
        BrokenCopy{"MovieThatIsNoOgg",
                   [](const FixtureCopy& c) { c.WriteBytes("Movie/opening.ogv", "RIFF....AVI "); },
                   "Movie/opening.ogv: error: Ogg (OggS) のファイルではありません"},
        // Script.
        BrokenCopy{"TurnHeaderNotANumber",
                   [](const FixtureCopy& c) { c.Edit(kScript, "ターン 2:", "ターン 二:"); },
                   "Fixture/fixture.snr:17: error: 数値ではありません: 二"},
        BrokenCopy{"CreateLineOf14Words",
                   [](const FixtureCopy& c) {
                       c.Edit(kScript, kCreateFleet0,
                              kCreateFleet0.substr(0, kCreateFleet0.size() - 4));
                   },
                   "Fixture/fixture.snr:34: error: create 行は 15 語のはずですが 14 語です"},
        BrokenCopy{"CreateLineWithWordForPosition",
                   [](const FixtureCopy& c) { c.Edit(kScript, "普通 150 70", "普通 百五十 70"); },
                   "Fixture/fixture.snr:34: error: X 座標「百五十」は整数ではありません"},
        BrokenCopy{"FleetStartsOnLand",
                   [](const FixtureCopy& c) { c.Edit(kScript, "普通 150 70", "普通 395 272"); },
                   "Fixture/fixture.snr:34: error: 艦隊 0 の位置 (395, 272) は陸の上です"},
        BrokenCopy{"FleetOutsideTheMap",
                   [](const FixtureCopy& c) { c.Edit(kScript, "普通 150 70", "普通 150 600"); },
                   "Fixture/fixture.snr:34: error: 位置 (150, 600) が地図 (790 × 545) の外です"},
        BrokenCopy{"BaseFarFromLand",
                   [](const FixtureCopy& c) { c.Edit(kScript, "防御 640 60", "防御 500 200"); },
                   "Fixture/fixture.snr:36: warning: 基地 (艦隊 12) の位置 (500, 200) から 5 "
                   "画素以内に陸がありません"},
        BrokenCopy{"FleetCreatedTwice",
                   [](const FixtureCopy& c) {
                       c.Append(kScript,
                                "create 0 0 山本 第一艦隊 直進 普通 152 72 0 1 2 255 255 255");
                   },
                   "Fixture/fixture.snr:34: warning: 編成 0 の艦隊 0 は 118 行目の create "
                   "行で上書きされます"},
        BrokenCopy{"FleetWithoutCreateLine",
                   [](const FixtureCopy& c) { c.Edit(kScript, kCreateFleet0 + "\r\n", ""); },
                   "Fixture/ShipData/j0.dat:1: error: 艦隊 0 に編成 0 の create 行がありません"},
        BrokenCopy{"VariantWithoutCreateLines",
                   [](const FixtureCopy& c) {
                       std::string text = c.ReadText(kScript);
                       std::string kept;
                       std::istringstream lines(text);
                       for (std::string line; std::getline(lines, line);) {
                           if (line.rfind("create 5 ", 0) != 0) kept += line + "\n";
                       }
                       c.WriteText(kScript, kept);
                   },
                   "Fixture/fixture.snr: error: 敵軍の編成 5 (a5.dat) の create 行がありません"},
        BrokenCopy{"NoEndSection",
                   [](const FixtureCopy& c) { c.Edit(kScript, "終了: 12", "追記:"); },
                   "Fixture/fixture.snr: error: 終了の節 (「終了: 最終ターン」) がありません"},
        BrokenCopy{"ConversationNotClosed",
                   [](const FixtureCopy& c) {
                       c.Edit(kScript, "敵の索敵機を確認しました。\r\nend",
                              "敵の索敵機を確認しました。");
                   },
                   "Fixture/fixture.snr:22: error: 会話が end "
                   "で閉じられていないため、この節見出しは台詞として読まれます"},
        BrokenCopy{"CommandWordInsideSpeech",
                   [](const FixtureCopy& c) {
                       c.Edit(kScript, "増援が到着した。", "増援のfriendが到着した。");
                   },
                   "Fixture/fixture.snr:28: warning: "
                   "命令語「end」を含むため、この行はその命令としても読まれます"},
        BrokenCopy{"TurnAfterTheLastTurn",
                   [](const FixtureCopy& c) { c.Edit(kScript, "ターン 6 :", "ターン 16 :"); },
                   "Fixture/fixture.snr:23: warning: ターン 16 は最終ターン 12 より後です"},
        BrokenCopy{"CloudCountNotANumber",
                   [](const FixtureCopy& c) { c.Edit(kScript, "setcloud 3", "setcloud 三"); },
                   "Fixture/fixture.snr:15: warning: setcloud の嵐の数「三」は整数ではないため 0 "
                   "(嵐なし) になります"},
        BrokenCopy{"FuseFactorLostToATrailingBlank",
                   [](const FixtureCopy& c) {
                       c.Edit(kScript, "setvtfuse 1.5 1.2", "setvtfuse 1.5 1.2 ");
                   },
                   "Fixture/fixture.snr:16: warning: 行末の空白のため敵軍の信管係数が読まれません"},
        BrokenCopy{"FuseFactorNotANumber",
                   [](const FixtureCopy& c) { c.Edit(kScript, "setvtfuse 1.5", "setvtfuse 一"); },
                   "Fixture/fixture.snr:16: warning: 信管係数「一」は数ではないため使われません"},
        BrokenCopy{"TwentySecondCaption",
                   [](const FixtureCopy& c) {
                       std::string line = "telop 第一日 演習開始 \r\n";
                       std::string many;
                       for (int i = 0; i < 22; ++i) many += line;
                       c.Edit(kScript, line, many);
                   },
                   "Fixture/fixture.snr:33: warning: 字幕は 1 イベントに 21 行まで"},
        // Map and mask.
        BrokenCopy{"MaskOf2100Pixels",
                   [](const FixtureCopy& c) { c.WriteBytes(kMask, Bitmap(2100, 4, 255)); },
                   "Fixture/ShipData/BMAP.Bmp: error: 画像が大きすぎます (2100 × 4、最大 "
                   "2001 × 2001)"},
        BrokenCopy{"GreyMask",
                   [](const FixtureCopy& c) { c.WriteBytes(kMask, Bitmap(790, 545, 128)); },
                   "Fixture/ShipData/BMAP.Bmp: warning: 黒でも白でもない画素が 430550 個あります "
                   "(最初は (0, 0))"},
        BrokenCopy{"SmallMap",
                   [](const FixtureCopy& c) {
                       c.WriteBytes("Fixture/ShipData/MAP.Bmp", Bitmap(400, 300, 90));
                   },
                   "Fixture/ShipData/MAP.Bmp: warning: 地図の大きさが 400 × 300 です"},
        BrokenCopy{"MissingMask", [](const FixtureCopy& c) { c.Remove(kMask); },
                   "Fixture/ShipData/BMAP.Bmp: error: ファイルがありません"}),
    [](const ::testing::TestParamInfo<BrokenCopy>& info) { return std::string(info.param.name); });

// Mistakes an author makes that the game silently absorbs: each is reported
// at its file and line with the cause and the fix.
INSTANTIATE_TEST_SUITE_P(
    AuthoringMistakes, BrokenCopyCheckTest,
    ::testing::Values(
        // Side files.
        BrokenCopy{"PatrolFighterChangesOnTheLastLine",
                   [](const FixtureCopy& c) {
                       c.Edit(kJ0, "0 霞雲 夕凪 0 3 6 0 0", "0 霞雲 夕凪 0 3 6 0 2");
                   },
                   "Fixture/ShipData/j0.dat:5: warning: 艦隊 0 の直衛戦闘機は最後の行の列 7 "
                   "の機種 2 になります (1 行目は機種 0)"},
        BrokenCopy{"BaseShipNotFirst",
                   [](const FixtureCopy& c) {
                       c.Edit(kJ0, "12 北浜基地", "12 霞雲 護衛 0 3 6 0 0 0 1 0 2\r\n12 北浜基地");
                   },
                   "Fixture/ShipData/j0.dat:10: warning: 基地艦隊 12 "
                   "の最初の艦が基地でも防空陣地でもありません"},
        BrokenCopy{"BaseWithoutSupplies",
                   [](const FixtureCopy& c) {
                       c.Edit(kJ0, "12 北浜基地 北浜基地 200", "12 北浜基地 北浜基地 0");
                   },
                   "Fixture/ShipData/j0.dat:10: warning: 基地艦隊 12 の最初の艦の物資 (列 3) が 0"},
        BrokenCopy{"ComputerBaseOutsideFleets13To20", [](const FixtureCopy&) {},
                   "Fixture/ShipData/a0.dat:11: warning: 敵軍の基地は艦隊 13～20 に置いてください"},
        BrokenCopy{"TabBetweenColumns",
                   [](const FixtureCopy& c) { c.Edit(kJ0, "0 白嶺 白嶺", "0\t白嶺 白嶺"); },
                   "Fixture/ShipData/j0.dat:3: error: タブ文字は列の区切りになりません"},
        BrokenCopy{"LeadingBlank",
                   [](const FixtureCopy& c) { c.Edit(kJ0, "0 白嶺 白嶺", " 0 白嶺 白嶺"); },
                   "Fixture/ShipData/j0.dat:3: error: 行頭の空白のため列 0 が空になり"},
        // Data files.
        BrokenCopy{"BaseSlowerThan10", [](const FixtureCopy&) {},
                   "ship.dat:6: warning: 基地・防空陣地の速力 0 は 10 未満です"},
        BrokenCopy{"WarshipOfSpeed0",
                   [](const FixtureCopy& c) {
                       c.Edit("ship.dat", "10 34 0 SSM-7 kasumo", "10 0 0 SSM-7 kasumo");
                   },
                   "ship.dat:4: warning: 戦闘艦の速力が 0 です"},
        BrokenCopy{"EvasionOutOfRange",
                   [](const FixtureCopy& c) { c.Edit("plane.dat", "f7.mqo 5 8", "f7.mqo 9 8"); },
                   "plane.dat:1: warning: 列 11 の回避 (防御力) 9 は 1～6 の外です"},
        BrokenCopy{"UnknownStealthText",
                   [](const FixtureCopy& c) {
                       c.Edit("plane.dat", "0 非ステルス 艦上戦闘機", "0 ステルス機 艦上戦闘機");
                   },
                   "plane.dat:1: warning: 列 8 のステルス区分「ステルス機」は"},
        BrokenCopy{"EightBitCue",
                   [](const FixtureCopy& c) {
                       auto le = [](std::uint32_t v, int n) {
                           std::string out;
                           for (int i = 0; i < n; ++i) out += static_cast<char>(v >> (8 * i));
                           return out;
                       };
                       std::string fmt = le(1, 2) + le(1, 2) + le(8000, 4) + le(8000, 4) +
                                         le(1, 2) + le(8, 2);
                       std::string data(200, '\x90');
                       c.WriteBytes("Wave/hit.wav", "RIFF" + le(36 + 200, 4) + "WAVEfmt " +
                                                        le(16, 4) + fmt + "data" + le(200, 4) +
                                                        data);
                   },
                   "Wave/hit.wav: warning: 8 ビットの音です (16 ビット PCM で保存してください)"},
        // Script.
        BrokenCopy{"CaptionOfSixWords",
                   [](const FixtureCopy& c) {
                       c.Edit(kScript, "telop 決戦 ", "telop 一 二 三 四 五 六 ");
                   },
                   "Fixture/fixture.snr:25: warning: 字幕は 5 語までです: 6 語目「六」"},
        BrokenCopy{"CaptionWithoutTrailingBlank",
                   [](const FixtureCopy& c) { c.Edit(kScript, "telop 決戦 ", "telop 決戦 開始"); },
                   "Fixture/fixture.snr:25: warning: 行末に空白がないため、最後の語「開始」の前に"
                   "空きが入ります"},
        BrokenCopy{"TooManyStorms",
                   [](const FixtureCopy& c) { c.Edit(kScript, "setcloud 3", "setcloud 40"); },
                   "Fixture/fixture.snr:15: warning: setcloud の嵐の数 40 は 0～23 の外です"},
        BrokenCopy{"MisspelledCommand",
                   [](const FixtureCopy& c) {
                       c.Edit(kScript, "startbgm battle.mid", "startbmg battle.mid");
                   },
                   "Fixture/fixture.snr:24: warning: 命令語も節見出しもないため"},
        BrokenCopy{"TwoEndSections", [](const FixtureCopy& c) { c.Append(kScript, "終了: 20"); },
                   "Fixture/fixture.snr:118: warning: 終了の節が 2 つあります (30 行目"},
        BrokenCopy{"NoStartSection",
                   [](const FixtureCopy& c) { c.Edit(kScript, "スタート:\r\n", ""); },
                   "Fixture/fixture.snr: warning: スタートの節 (「スタート:」) がありません"},
        BrokenCopy{"FullWidthColonInTurnHeader",
                   [](const FixtureCopy& c) { c.Edit(kScript, "ターン3:", "ターン3："); },
                   "Fixture/fixture.snr:19: error: 全角の「：」では節見出しになりません"},
        BrokenCopy{"HeaderInsideCaption",
                   [](const FixtureCopy& c) {
                       c.Edit(kScript, "telop 決戦 ", "telop ターン9:00 決戦 ");
                   },
                   "Fixture/fixture.snr:25: warning: 「telop」の行ですが「ターン」と「:」を含むため"},
        BrokenCopy{"EndHeaderWithoutBlank",
                   [](const FixtureCopy& c) { c.Edit(kScript, "終了: 12", "終了:12"); },
                   "Fixture/fixture.snr:30: error: 最終ターンが読めません"},
        BrokenCopy{"CreateOf14Words",
                   [](const FixtureCopy& c) {
                       c.Edit(kScript, kCreateFleet0, kCreateFleet0.substr(0, kCreateFleet0.size() - 4));
                   },
                   "Fixture/fixture.snr:34: error: create 行は 15 語のはずですが 14 語です"}),
    [](const ::testing::TestParamInfo<BrokenCopy>& info) { return std::string(info.param.name); });

// One finding where the reader used to give two or a cascade.
TEST(ScenarioCheckTest, MistakesGiveOneFindingNotACascade) {
    {
        FixtureCopy copy;
        copy.Edit(kScript, "終了: 12", "終了:12");
        CheckOutput out = Check(copy.Script());
        EXPECT_FALSE(out.HasLine("Fixture/fixture.snr:30: error: 数値ではありません")) << out.text;
        EXPECT_FALSE(out.HasLine("Fixture/fixture.snr: error: 最終ターン")) << out.text;
    }
    {
        FixtureCopy copy;
        copy.Edit(kScript, kCreateFleet0, kCreateFleet0.substr(0, kCreateFleet0.size() - 4));
        CheckOutput out = Check(copy.Script());
        EXPECT_FALSE(out.HasLine("Fixture/ShipData/j0.dat:1: error: 艦隊 0 に編成 0")) << out.text;
    }
    {
        // Every variant starts the base at one place far from land: said once.
        FixtureCopy copy;
        std::string text = copy.ReadText(kScript);
        text = std::regex_replace(text, std::regex("(create [0-9]+ 12 [^ ]+ [^ ]+ [^ ]+ [^ ]+) [0-9]+ [0-9]+"),
                                  "$1 400 300");
        copy.WriteText(kScript, text);
        CheckOutput out = Check(copy.Script());
        std::size_t count = 0;
        for (std::size_t at = out.text.find("基地 (艦隊 12)"); at != std::string::npos;
             at = out.text.find("基地 (艦隊 12)", at + 1)) {
            ++count;
        }
        EXPECT_EQ(count, 1u) << out.text;
    }
}

// A script saved by a Linux editor (UTF-8, no mark) reads as written.
TEST(ScenarioCheckTest, Utf8ScriptReadsLikeTheShiftJisOne) {
    FixtureCopy copy;
    std::string clean = Check(copy.Script()).text;
    copy.WriteBytes(kScript, copy.ReadText(kScript));
    CheckOptions verbose;
    verbose.Verbose = true;
    CheckOutput out = Check(copy.Script(), verbose);
    EXPECT_TRUE(out.HasLine("Fixture/fixture.snr: read as UTF-8")) << out.text;
    EXPECT_EQ(Check(copy.Script()).text, clean);
}

// The script reader tells a listener how it read every line, and with a
// listener goes on past a word that must be a number.
class RecordingListener : public ScriptListener {
  public:
    void Speech(int line, const std::string&) override { Add(line, "speech"); }
    void Section(int line, int section, const std::string&) override {
        Add(line, std::string(ScriptSectionWords[static_cast<std::size_t>(section)]));
    }
    void Command(int line, int command, const std::string&) override {
        Add(line, std::string(ScriptCommandWords[static_cast<std::size_t>(command)]));
    }
    std::vector<std::string> seen;

  private:
    void Add(int line, const std::string& what) {
        seen.push_back(std::to_string(line) + " " + what);
    }
};

TEST(ScriptListenerTest, SeesEveryLineAndGoesOnPastBadNumbers) {
    TempFolder folder;
    fs::path script =
        folder.WriteShiftJis("s.snr", {"ターン 二:", "Talk 参謀", "台詞です", "end", "終了: 9"});
    auto state = std::make_unique<GameState>();
    Diagnostics diag;
    RecordingListener listener;
    ParseScenarioScript(*state, script, 0, 0, diag, listener);
    EXPECT_EQ(listener.seen,
              (std::vector<std::string>{"1 ターン", "2 talk", "3 speech", "4 end", "5 終了"}));
    ASSERT_EQ(diag.ErrorCount(), 1);
    EXPECT_EQ(diag.Findings()[0].line, 1);
    EXPECT_EQ(state->LastTurn, 9);
}

struct SplitCase {
    const char* line;
    std::vector<std::string> stored;
    const char* final_word;
};

class SplitScriptLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitScriptLineTest, FinalWordIsEmptyAfterATrailingBlank) {
    ScriptLineWords words = SplitScriptLine(GetParam().line);
    EXPECT_EQ(words.stored, GetParam().stored);
    EXPECT_EQ(words.final_word, GetParam().final_word);
}

INSTANTIATE_TEST_SUITE_P(Lines, SplitScriptLineTest,
                         ::testing::Values(SplitCase{"movie a.ogv", {"movie"}, "a.ogv"},
                                           SplitCase{"movie a.ogv ", {"movie", "a.ogv"}, ""},
                                           SplitCase{"movie  a.ogv", {"movie"}, "a.ogv"},
                                           SplitCase{"stopbgm", {}, "stopbgm"}));

TEST(ScenarioCheckTest, MissingSideFileAndDataFileAreErrors) {
    FixtureCopy copy;
    copy.Remove("Fixture/ShipData/a7.dat");
    copy.Remove("ship.dat");
    CheckOutput out = Check(copy.root());
    EXPECT_EQ(out.status, 1);
    EXPECT_TRUE(out.HasLine("Fixture/ShipData/a7.dat: error: ファイルがありません")) << out.text;
    EXPECT_TRUE(out.HasLine("ship.dat: error: ファイルがありません")) << out.text;
}

// Bytes that mean nothing, in every kind of file the checker reads.
TEST(ScenarioCheckTest, GarbageFilesGiveFindingsNotACrash) {
    FixtureCopy copy;
    std::uint32_t seed = 12345;
    auto garbage = [&seed](std::size_t size) {
        std::string bytes(size, '\0');
        for (char& b : bytes) {
            seed = seed * 1664525u + 1013904223u;
            b = static_cast<char>(seed >> 24);
        }
        return bytes;
    };
    for (const char* file :
         {"plane.dat", "ship.dat", "Fixture/ShipData/j0.dat", "Fixture/ShipData/a3.dat",
          "Fixture/fixture.snr", "Fixture/ShipData/BMAP.Bmp", "3Dimage/tenyo.mqo"}) {
        copy.WriteBytes(file, garbage(4096));
    }
    CheckOutput out = Check(copy.root());
    EXPECT_EQ(out.status, 1);
    EXPECT_TRUE(out.HasLine("ship.dat:1: error: ")) << out.text;
    EXPECT_TRUE(out.HasLine("Fixture/ShipData/BMAP.Bmp: error: BMP か PNG の画像ではありません"))
        << out.text;
}

TEST(ScenarioCheckTest, PathThatDoesNotExist) {
    CheckOutput out = Check(FixtureFolder() / "no-such-scenario");
    EXPECT_EQ(out.status, 1);
    EXPECT_TRUE(out.HasLine("1 errors, 0 warnings")) << out.text;
}

}  // namespace
}  // namespace velmora
