#include "scenario/unit_data.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scenario/test_support.h"

namespace velmora {
namespace {

using testing::FixtureFolder;
using testing::TempFolder;
using Columns = std::vector<std::string>;

struct SplitCase {
    const char* line;
    bool skip_leading;
    Columns expected;
};

class SplitColumnsCases : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitColumnsCases, SplitsAtSpaceAndCarriageReturn) {
    EXPECT_EQ(SplitColumns(GetParam().line, GetParam().skip_leading), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitColumnsCases,
    ::testing::Values(SplitCase{"a b", false, {"a", "b"}}, SplitCase{"a     b", false, {"a", "b"}},
                      SplitCase{"a \r b", false, {"a", "b"}},
                      SplitCase{" a b", false, {"", "a", "b"}},  // ship class and side files
                      SplitCase{"   a b", false, {"", "a", "b"}},
                      SplitCase{" a b", true, {"a", "b"}},  // aircraft file
                      SplitCase{"a b   ", false, {"a", "b"}},
                      SplitCase{"a\tb c", false, {"a\tb", "c"}},
                      SplitCase{"空母　天鷹 x", false, {"空母　天鷹", "x"}},  // full-width space
                      SplitCase{"", false, {}}, SplitCase{"", true, {}},
                      SplitCase{"   ", true, {}}));

struct IntCase {
    const char* text;
    std::int32_t expected;
};

class ColumnIntCases : public ::testing::TestWithParam<IntCase> {};

TEST_P(ColumnIntCases, ReadsSignedDecimalOrZero) {
    EXPECT_EQ(ColumnInt(Columns{GetParam().text}, 0), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ColumnIntCases,
                         ::testing::Values(IntCase{"42", 42}, IntCase{"-7", -7}, IntCase{"+5", 5},
                                           IntCase{"007", 7}, IntCase{"2147483647", 2147483647},
                                           IntCase{"-2147483648", -2147483647 - 1},
                                           IntCase{"2147483648", 0}, IntCase{"12x", 0},
                                           IntCase{"x12", 0}, IntCase{"1.5", 0}, IntCase{"", 0},
                                           IntCase{"-", 0}, IntCase{"+-3", 0},
                                           IntCase{"０", 0}));  // full-width digit

TEST(ColumnIntTest, MissingColumnReadsZero) {
    EXPECT_EQ(ColumnInt(Columns{"1", "2"}, 2), 0);
    EXPECT_EQ(ColumnInt(Columns{}, 0), 0);
}

class UnitDataTest : public ::testing::Test {
  protected:
    UnitDataTest() : state_(std::make_unique<GameState>()) {}

    std::filesystem::path Write(const std::string& name, const std::vector<std::string>& lines) {
        return folder_.WriteShiftJis(name, lines);
    }

    const TShip& Class(int i) const { return state_->ShipClassTable[static_cast<std::size_t>(i)]; }
    const AircraftType& Type(int i) const {
        return state_->AircraftTypeTable[static_cast<std::size_t>(i)];
    }
    TFleet& Fleet(int i) { return state_->FleetTable[static_cast<std::size_t>(i)]; }

    // Fleets as the set-up leaves them before the side files.
    void PrepareFleets() {
        for (auto& fleet : state_->FleetTable) fleet.Speed = 255;
    }

    // ship.dat with a carrier (speed 30), a destroyer (34) and a transport (16).
    void LoadClasses() {
        auto path =
            Write("ship.dat",
                  {"1 天鷹 天鷹型 CV 5 2 0 0 120 60 20 0 0 2 5 0 0 4 6 8 12 30 4 SSM-7 a.mqo",
                   "4 霞雲 霞雲型 DD 4 6 5 4 50 1 0 1 15 2 8 8 0 4 2 6 10 34 0 SSM-7 b.mqo",
                   "5 豊浦丸 豊浦丸型 AK 0 0 0 0 40 0 0 0 0 0 0 0 0 1 1 0 2 16 0 SSM-7 c.mqo"});
        ReadShipClasses(*state_, path, diag_);
    }

    std::vector<std::string> Warnings() const {
        std::vector<std::string> lines;
        for (const auto& f : diag_.Findings()) lines.push_back(FormatFinding(f));
        return lines;
    }

    TempFolder folder_;
    std::unique_ptr<GameState> state_;
    Diagnostics diag_;
};

TEST_F(UnitDataTest, AircraftColumnsFillTheirFields) {
    auto path = Write("plane.dat", {"5 SSM-7 AAM-3 99 七式誘導弾 2 爆弾 77 ステルス 説明文 m.mqo "
                                    "11 12 13 14 15 16 17 18 19 20"});
    ReadAircraftTypes(*state_, path, diag_);
    const AircraftType& t = Type(0);
    EXPECT_EQ(state_->AircraftTypeCount, 1);
    EXPECT_EQ(t.TypeNumber, 5);
    EXPECT_EQ(t.Name.str(), "SSM-7");
    EXPECT_EQ(t.TypeText1.str(), "AAM-3");
    EXPECT_EQ(t.DisplayName.str(), "七式誘導弾");
    EXPECT_EQ(t.MissilesPerAircraft, 2);
    EXPECT_EQ(t.OrdnanceName.str(), "爆弾");
    EXPECT_EQ(t.Column7, 77);
    EXPECT_EQ(t.StealthClass.str(), "ステルス");
    EXPECT_EQ(t.Description.str(), "説明文");
    EXPECT_EQ(t.AircraftModelFile.str(), "m.mqo");
    EXPECT_EQ(t.Evasion, 11);
    EXPECT_EQ(t.AttackPower, 12);
    EXPECT_EQ(t.Range, 13);
    EXPECT_EQ(t.BombPower, 14);
    EXPECT_EQ(t.BombAccuracy, 15);
    EXPECT_EQ(t.TorpedoPower, 16);
    EXPECT_EQ(t.TorpedoAccuracy, 17);
    EXPECT_EQ(t.ElectronicWarfare, 18);
    EXPECT_EQ(t.ElectronicWarfareCopy, 18);
    EXPECT_EQ(t.AswSensor, 19);
    EXPECT_EQ(t.AswPower, 20);
    EXPECT_TRUE(diag_.Findings().empty());
}

TEST_F(UnitDataTest, AircraftColumnThreeAndLeadingSpacesChangeNothing) {
    auto path =
        Write("plane.dat", {"1 F-7 AAM 0 なし 0 なし 0 非ステルス 戦闘機 f.mqo 5 8 220",
                            "1 F-7 AAM 12345 なし 0 なし 0 非ステルス 戦闘機 f.mqo 5 8 220",
                            "   1 F-7 AAM 0 なし 0 なし 0 非ステルス 戦闘機 f.mqo 5 8 220"});
    ReadAircraftTypes(*state_, path, diag_);
    EXPECT_TRUE(Type(0) == Type(1));
    EXPECT_TRUE(Type(0) == Type(2));
    EXPECT_EQ(Type(2).Range, 220);
}

TEST_F(UnitDataTest, ShipClassColumnsFillTheTemplate) {
    auto path = Write("ship.dat", {"3 白嶺 白嶺型巡洋艦 CG 6 4 3 2 90 1 7 2 20 4 10 16 61 10 8 "
                                   "12 14 32 1 SSM-7 hakurei.mqo"});
    ReadShipClasses(*state_, path, diag_);
    const TShip& c = Class(0);
    EXPECT_EQ(state_->ShipClassLast, 0);
    EXPECT_EQ(c.ShipType(), 3);
    EXPECT_EQ(c.Name.str(), "白嶺");
    EXPECT_EQ(c.ClassTitle.str(), "白嶺型巡洋艦");
    EXPECT_EQ(c.ClassCode.str(), "CG");
    EXPECT_EQ(c.ElectronicWarfare, 6);
    EXPECT_EQ(c.ElectronicWarfareNow, 6);
    EXPECT_EQ(c.AswSensor, 4);
    EXPECT_EQ(c.AswAttackPatrol, 3);
    EXPECT_EQ(c.AswAttackMoving, 2);
    EXPECT_EQ(c.Durability, 90);
    EXPECT_EQ(c.AircraftCapacity, 1);
    EXPECT_EQ(c.DeckStandby, 7);
    EXPECT_EQ(c.MainGun, 2);
    EXPECT_EQ(c.MainGunRange, 20);
    EXPECT_EQ(c.SecondaryGun, 4);
    EXPECT_EQ(c.SecondaryGunRange, 10);
    EXPECT_EQ(c.MissileLoad, 16);
    EXPECT_EQ(c.ClassValue16, 61);
    EXPECT_EQ(c.SideArmour, 10);
    EXPECT_EQ(c.DeckArmour, 8);
    EXPECT_EQ(c.AreaDefence, 12);
    EXPECT_EQ(c.PointDefence, 14);
    EXPECT_EQ(c.Speed, 32);
    EXPECT_EQ(c.ReconAircraft, 1);
    EXPECT_EQ(c.WeaponKey.str(), "SSM-7");
    EXPECT_EQ(c.ModelFile.str(), "hakurei.mqo");
    EXPECT_EQ(c.Loaded, 1);
}

TEST_F(UnitDataTest, ByteColumnsKeepTheLowEightBits) {
    // DeckStandby 300, MainGun -1, MainGunRange 256, Speed 290.
    auto path = Write("ship.dat", {"1 X X X 0 0 0 0 0 0 300 -1 256 0 0 0 0 0 0 0 0 290 0 W m"});
    ReadShipClasses(*state_, path, diag_);
    EXPECT_EQ(Class(0).DeckStandby, 300 & 0xFF);
    EXPECT_EQ(Class(0).MainGun, 255);
    EXPECT_EQ(Class(0).MainGunRange, 0);
    EXPECT_EQ(Class(0).Speed, 290 & 0xFF);
}

TEST_F(UnitDataTest, LeadingSpaceInShipFileShiftsTheColumns) {
    auto path = Write("ship.dat", {" 霞雲 霞雲型 DD"});
    ReadShipClasses(*state_, path, diag_);
    EXPECT_EQ(Class(0).ShipType(), 0);
    EXPECT_EQ(Class(0).Name.str(), "霞雲");
    EXPECT_EQ(Class(0).ClassTitle.str(), "霞雲型");
}

TEST_F(UnitDataTest, EmptyLinesAreRecordsInTheClassAndTypeFiles) {
    auto ships = Write("ship.dat", {"1 天鷹", "", "4 霞雲"});
    auto planes = Write("plane.dat", {"1 F-7", "", "3 E-2"});
    state_->ShipClassTable[1].Durability = 99;  // stale: the empty line must clear it
    ReadShipClasses(*state_, ships, diag_);
    ReadAircraftTypes(*state_, planes, diag_);
    EXPECT_EQ(state_->ShipClassLast, 2);
    EXPECT_EQ(Class(1).Name.str(), "");
    EXPECT_EQ(Class(1).Durability, 0);
    EXPECT_EQ(Class(1).Loaded, 1);
    EXPECT_EQ(Class(2).Name.str(), "霞雲");
    EXPECT_EQ(state_->AircraftTypeCount, 3);
    EXPECT_EQ(Type(2).Name.str(), "E-2");
}

TEST_F(UnitDataTest, TextColumnsAreCutToTheirFieldAtACharacterBoundary) {
    // 22 kanji are 44 bytes: the class name keeps 20 (40 bytes); 12 bytes
    // of class code keep 10.
    std::string long_name;
    for (int i = 0; i < 22; ++i) long_name += "艦";
    auto path = Write("ship.dat", {"1 " + long_name + " T ABCDEFGHIJKL"});
    ReadShipClasses(*state_, path, diag_);
    EXPECT_EQ(Cp932Length(Class(0).Name.str()), 40u);
    EXPECT_EQ(Class(0).ClassCode.str(), "ABCDEFGHIJ");
}

TEST_F(UnitDataTest, FileInUtf8WithByteOrderMarkIsRead) {
    auto path = folder_.WriteBytes("ship.dat",
                                   "\xEF\xBB\xBF"
                                   "1 天鷹 天鷹型\r\n");
    ReadShipClasses(*state_, path, diag_);
    EXPECT_EQ(Class(0).Name.str(), "天鷹");
}

TEST_F(UnitDataTest, LineEndsMayBeCrLfCrOrLf) {
    auto path = folder_.WriteBytes("plane.dat", "1 A\r\n2 B\r3 C\n4 D");
    ReadAircraftTypes(*state_, path, diag_);
    EXPECT_EQ(state_->AircraftTypeCount, 4);
    EXPECT_EQ(Type(3).Name.str(), "D");
}

struct OverflowCase {
    const char* file;
    std::function<void(GameState&, const std::filesystem::path&, Diagnostics&)> read;
    std::function<int(const GameState&)> stored;
};

class TableOverflow : public UnitDataTest, public ::testing::WithParamInterface<OverflowCase> {};

TEST_P(TableOverflow, LinesPast201AreSkippedWithAWarningEach) {
    std::vector<std::string> lines;
    for (int i = 0; i < 204; ++i) lines.push_back("1 N" + std::to_string(i));
    auto path = Write(GetParam().file, lines);
    GetParam().read(*state_, path, diag_);
    EXPECT_EQ(GetParam().stored(*state_), 201);
    std::string file = path.string();
    EXPECT_EQ(
        Warnings(),
        (std::vector<std::string>{
            file + ":202: warning: 表には 201 件までしか入らないため、この行は読み込みません",
            file + ":203: warning: 表には 201 件までしか入らないため、この行は読み込みません",
            file + ":204: warning: 表には 201 件までしか入らないため、この行は読み込みません"}));
}

INSTANTIATE_TEST_SUITE_P(
    Files, TableOverflow,
    ::testing::Values(OverflowCase{"plane.dat", ReadAircraftTypes,
                                   [](const GameState& s) { return s.AircraftTypeCount; }},
                      OverflowCase{"ship.dat", ReadShipClasses,
                                   [](const GameState& s) { return s.ShipClassLast + 1; }}),
    [](const auto& info) { return info.index == 0 ? "Aircraft" : "ShipClasses"; });

using Reader = void (*)(GameState&, const std::filesystem::path&, Diagnostics&);

class MissingFile : public UnitDataTest, public ::testing::WithParamInterface<Reader> {};

TEST_P(MissingFile, ThrowsNamingTheFileAndReadsNothing) {
    auto path = folder_.path() / "ShipData" / "j3.dat";
    state_->AircraftTypeCount = 4;
    state_->ShipClassLast = 2;
    try {
        GetParam()(*state_, path, diag_);
        FAIL() << "no error for a missing file";
    } catch (const ScenarioError& e) {
        EXPECT_EQ(e.file(), path.string());
        EXPECT_EQ(e.line(), 0);
        EXPECT_EQ(e.message(), "ファイルがありません");
        EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos);
    }
    EXPECT_EQ(state_->AircraftTypeCount, 4);
    EXPECT_EQ(state_->ShipClassLast, 2);
    EXPECT_EQ(Fleet(0).ShipCount, 0);
}

INSTANTIATE_TEST_SUITE_P(Readers, MissingFile,
                         ::testing::Values(ReadAircraftTypes, ReadShipClasses, ReadSideFile));

TEST_F(UnitDataTest, FolderInPlaceOfAFileIsAnError) {
    std::filesystem::create_directories(folder_.path() / "ship.dat");
    EXPECT_THROW(ReadShipClasses(*state_, folder_.path() / "ship.dat", diag_), ScenarioError);
}

TEST_F(UnitDataTest, SideFileLineCreatesAShipWithItsColumns) {
    LoadClasses();
    PrepareFleets();
    auto path = Write("j0.dat", {"2 天鷹 蒼天 300 3 6 20 0 18 1 4 2"});
    ReadSideFile(*state_, path, diag_);
    TFleet& fleet = Fleet(2);
    ASSERT_EQ(fleet.ShipCount, 1);
    const TShip& s = fleet.Ships[0];
    EXPECT_EQ(fleet.Active, 1);
    EXPECT_EQ(fleet.Speed, 30);
    EXPECT_EQ(fleet.CapType, 0);
    EXPECT_EQ(s.ClassIndex, 0);
    EXPECT_EQ(s.Name.str(), "蒼天");
    EXPECT_EQ(s.Durability, 120);
    EXPECT_EQ(s.Supplies, 300);
    EXPECT_EQ(s.SuppressionResistance, 3);
    EXPECT_EQ(s.FireControl, 6);
    EXPECT_EQ(s.AircraftAboard, (std::array<std::int32_t, kCategories>{20, 18, 4, 0, 0, 0}));
    EXPECT_EQ(s.AircraftAboardAtStart, (std::array<std::int32_t, kCategories>{20, 18, 4, 0, 0, 0}));
    EXPECT_EQ(s.AircraftTypesAboard, (std::array<std::int32_t, 3>{0, 1, 2}));
    EXPECT_EQ(Fleet(0).Active, 0);
    EXPECT_TRUE(diag_.Findings().empty());
}

TEST_F(UnitDataTest, FiveLinesForOneFleetGiveFiveShipsAtTheLowestSpeed) {
    LoadClasses();
    PrepareFleets();
    auto path =
        Write("a0.dat", {"13 霞雲 一 0 0 0 0 7", "13 天鷹 二 0 0 0 0 7", "13 豊浦丸 三 0 0 0 0 7",
                         "13 霞雲 四 0 0 0 0 7", "13 霞雲 五 0 0 0 0 9"});
    ReadSideFile(*state_, path, diag_);
    TFleet& fleet = Fleet(13);
    ASSERT_EQ(fleet.ShipCount, 5);
    EXPECT_EQ(fleet.Speed, 16);
    EXPECT_EQ(fleet.Ships[0].Name.str(), "一");
    EXPECT_EQ(fleet.Ships[4].Name.str(), "五");
    EXPECT_EQ(fleet.CapType, 9);  // the last line decides
}

TEST_F(UnitDataTest, SideFileShipNameKeepsItsFirst40Bytes) {
    LoadClasses();
    auto path = Write("j0.dat", {"0 霞雲 " + std::string(45, 'n')});
    ReadSideFile(*state_, path, diag_);
    EXPECT_EQ(Fleet(0).Ships[0].Name.str(), std::string(40, 'n'));
}

TEST_F(UnitDataTest, SideFileLeadingSpaceMakesAnEmptyFleetColumn) {
    LoadClasses();
    auto path = Write("j0.dat", {" 5 霞雲 名"});
    ReadSideFile(*state_, path, diag_);
    // Column 0 is empty (fleet 0) and the class column holds "5".
    ASSERT_EQ(Fleet(0).ShipCount, 1);
    EXPECT_EQ(Fleet(0).Ships[0].Name.str(), "霞雲");
    EXPECT_EQ(Fleet(0).Ships[0].ClassIndex, 0);
    EXPECT_EQ(Fleet(5).ShipCount, 0);
}

struct BadFleetCase {
    const char* fleet;
    const char* message;
};

class SideFileBadFleet : public UnitDataTest, public ::testing::WithParamInterface<BadFleetCase> {};

TEST_P(SideFileBadFleet, LineIsSkippedWithAWarningNamingFileAndLine) {
    LoadClasses();
    auto path =
        Write("a0.dat", {"13 霞雲 前", std::string(GetParam().fleet) + " 霞雲 迷走", "13 霞雲 後"});
    ReadSideFile(*state_, path, diag_);
    EXPECT_EQ(Fleet(13).ShipCount, 2);
    EXPECT_EQ(Fleet(13).Ships[1].Name.str(), "後");
    EXPECT_EQ(Warnings(),
              (std::vector<std::string>{path.string() + ":2: warning: " + GetParam().message}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SideFileBadFleet,
    ::testing::Values(
        BadFleetCase{"30", "艦隊番号 30 は 0～24 の範囲外のため、この行は読み込みません"},
        BadFleetCase{"25", "艦隊番号 25 は 0～24 の範囲外のため、この行は読み込みません"},
        BadFleetCase{"-1", "艦隊番号 -1 は 0～24 の範囲外のため、この行は読み込みません"}));

TEST_F(UnitDataTest, A42ndShipIsSkippedWithAWarning) {
    LoadClasses();
    std::vector<std::string> lines;
    for (int i = 0; i < 43; ++i) lines.push_back("24 霞雲 s" + std::to_string(i));
    auto path = Write("a0.dat", lines);
    ReadSideFile(*state_, path, diag_);
    EXPECT_EQ(Fleet(24).ShipCount, kShipSlots);
    EXPECT_EQ(Fleet(24).Ships[40].Name.str(), "s40");
    std::string warning = ": warning: 艦隊 24 は既に 41 隻のため、この行は読み込みません";
    EXPECT_EQ(Warnings(), (std::vector<std::string>{path.string() + ":42" + warning,
                                                    path.string() + ":43" + warning}));
}

TEST_F(UnitDataTest, UnknownClassGivesClassZeroAndAWarning) {
    LoadClasses();
    auto path = Write("j0.dat", {"1 幻影 まぼろし"});
    ReadSideFile(*state_, path, diag_);
    ASSERT_EQ(Fleet(1).ShipCount, 1);
    EXPECT_EQ(Fleet(1).Ships[0].ClassIndex, 0);
    EXPECT_EQ(Fleet(1).Ships[0].Durability, 120);
    EXPECT_EQ(Warnings(),
              (std::vector<std::string>{
                  path.string() +
                  ":1: warning: 艦級「幻影」が艦船データにないため、最初の艦級を使います"}));
}

TEST_F(UnitDataTest, BlankSideFileLinesAddNoShip) {
    LoadClasses();
    auto path = Write("j0.dat", {"", "1 霞雲 一", "   ", ""});
    ReadSideFile(*state_, path, diag_);
    EXPECT_EQ(Fleet(0).ShipCount, 0);
    EXPECT_EQ(Fleet(0).Active, 0);
    EXPECT_EQ(Fleet(1).ShipCount, 1);
    EXPECT_TRUE(diag_.Findings().empty());
}

class GarbageFile : public UnitDataTest, public ::testing::WithParamInterface<Reader> {};

// Broken files of any content load what they can and never fail or overrun.
TEST_P(GarbageFile, IsReadWithoutFailing) {
    LoadClasses();
    std::uint32_t x = 12345;
    std::string bytes;
    for (int i = 0; i < 20000; ++i) {
        x = x * 1103515245u + 12345u;
        std::uint8_t b = static_cast<std::uint8_t>(x >> 16);
        // Plenty of separators, line ends, digits and Shift-JIS lead bytes.
        const char pick[] = {' ', ' ', '\r', '\n', '1', '2', '-', '\x82', '\x81'};
        bytes += (b % 3 == 0) ? pick[b % sizeof pick] : static_cast<char>(b);
    }
    auto path = folder_.WriteBytes("garbage.dat", bytes);
    EXPECT_NO_THROW(GetParam()(*state_, path, diag_));
    EXPECT_LE(state_->AircraftTypeCount, kTableSize);
    EXPECT_LE(state_->ShipClassLast, kTableSize - 1);
    for (const TFleet& fleet : state_->FleetTable) EXPECT_LE(fleet.ShipCount, kShipSlots);
}

INSTANTIATE_TEST_SUITE_P(Readers, GarbageFile,
                         ::testing::Values(ReadAircraftTypes, ReadShipClasses, ReadSideFile));

// The committed test scenario reads as its generator meant it.
TEST_F(UnitDataTest, FixtureScenarioLoads) {
    auto root = FixtureFolder();
    ReadAircraftTypes(*state_, root / "plane.dat", diag_);
    ReadShipClasses(*state_, root / "ship.dat", diag_);
    PrepareFleets();
    ReadSideFile(*state_, root / "Fixture" / "ShipData" / "j0.dat", diag_);
    ReadSideFile(*state_, root / "Fixture" / "ShipData" / "a0.dat", diag_);

    EXPECT_EQ(state_->AircraftTypeCount, 5);
    EXPECT_EQ(state_->ShipClassLast, 7);
    std::vector<int> active;
    for (int i = 0; i < kFleetCount; ++i) {
        if (Fleet(i).Active) active.push_back(i);
    }
    EXPECT_EQ(active, (std::vector<int>{0, 1, 12, 13, 14, 15, 24}));
    for (int type = 1; type <= 7; ++type) {
        bool found = false;
        for (int c = 0; c <= state_->ShipClassLast; ++c)
            found = found || Class(c).ShipType() == type;
        EXPECT_TRUE(found) << "no class of type " << type;
    }
    // The computer's base: 300 supplies on its first ship.
    EXPECT_EQ(state_->ShipTypeOf(Fleet(24).Ships[0]), kGroundBase);
    EXPECT_EQ(Fleet(24).Ships[0].Supplies, 300);
    // The ships' missile is an aircraft type named by the class weapon key.
    EXPECT_EQ(Type(4).Name.str(), Class(0).WeaponKey.str());
    // Only the fleet-30 line of a0.dat is refused.
    ASSERT_EQ(diag_.Findings().size(), 1u);
    EXPECT_NE(diag_.Findings()[0].file.find("a0.dat"), std::string::npos);
    EXPECT_NE(diag_.Findings()[0].message.find("30"), std::string::npos);
}

}  // namespace
}  // namespace velmora
