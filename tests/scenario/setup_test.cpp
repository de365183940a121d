#include "scenario/setup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "frontend/recording_frontend.h"
#include "scenario/test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::FixtureFolder;
using testing::TempFolder;

struct FolderCase {
    const char* file;
    const char* snr_folder;
    const char* scenario_folder;
};

void PrintTo(const FolderCase& c, std::ostream* os) {
    *os << c.file;
}

class DeriveFoldersTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(DeriveFoldersTest, SplitsAtTheLastTwoDelimiters) {
    ScenarioFolders folders = DeriveFolders(GetParam().file);
    EXPECT_EQ(folders.SnrFolder, GetParam().snr_folder);
    EXPECT_EQ(folders.ScenarioFolder, GetParam().scenario_folder);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DeriveFoldersTest,
    ::testing::Values(FolderCase{"/home/a/B/s.snr", "/home/a/B/", "/home/a/"},
                      FolderCase{"C:\\Games\\A\\B\\s.snr", "C:\\Games\\A\\B\\", "C:\\Games\\A\\"},
                      FolderCase{"A/表示/s.snr", "A/表示/", "A/"}, FolderCase{"B/s.snr", "B/", ""},
                      FolderCase{"s.snr", "", ""}));

TEST(MarkerFleetTest, MarkersStandForTheirFleets) {
    const int expected[] = {6, 12, 12, 13, 13, 14, 14, 14, 14, 15, 15, 16, 16, 16};
    for (int u = 1; u <= 14; ++u) EXPECT_EQ(MarkerFleet(u), expected[u - 1]) << "marker " << u;
}

// A private copy of the fixture scenario that a test may break.
class SetupTest : public ::testing::Test {
  protected:
    SetupTest() {
        fs::copy(FixtureFolder(), folder_.path(), fs::copy_options::recursive);
        snr_ = folder_.path() / "Fixture" / "fixture.snr";
    }
    bool Setup(std::uint64_t seed = 1) {
        return SetupScenario(*state_, frontend_, snr_, seed, &diag_);
    }
    fs::path ShipData(const std::string& name) const {
        return folder_.path() / "Fixture" / "ShipData" / name;
    }
    const TFleet& Fleet(int i) const { return state_->FleetTable[static_cast<std::size_t>(i)]; }
    void ExpectFleetsCleared() const {
        for (const TFleet& f : state_->FleetTable) {
            EXPECT_EQ(f.Active, 0);
            EXPECT_EQ(f.ShipCount, 0);
        }
    }

    TempFolder folder_;
    fs::path snr_;
    std::unique_ptr<GameState> state_ = std::make_unique<GameState>();
    RecordingFrontend frontend_;
    Diagnostics diag_;
};

TEST_F(SetupTest, BuildsBothSidesFromTheFixture) {
    ASSERT_TRUE(Setup());
    EXPECT_EQ(diag_.ErrorCount(), 0);
    EXPECT_EQ(state_->Turn, 1);
    EXPECT_EQ(state_->MapMode, 1);
    EXPECT_EQ(state_->LastTurn, 12);
    EXPECT_EQ(state_->SnrFolder, (folder_.path() / "Fixture").string() + "/");
    EXPECT_EQ(state_->ScenarioFolder, folder_.path().string() + "/");
    EXPECT_EQ(state_->MapPicture, ShipData("MAP.Bmp").string());
    for (int i : {0, 1, 12}) {
        EXPECT_EQ(Fleet(i).Active, 1) << i;
        EXPECT_EQ(Fleet(i).Side, 0) << i;
    }
    for (int i : {13, 14, 15, 24}) {
        EXPECT_EQ(Fleet(i).Active, 1) << i;
        EXPECT_EQ(Fleet(i).Side, 1) << i;
    }
    EXPECT_EQ(state_->SelectedFleet, 0);
    EXPECT_GT(state_->AircraftTypeCount, 0);
    EXPECT_GE(state_->ShipClassLast, 0);
    EXPECT_DOUBLE_EQ(Fleet(0).VtFuseFactor, 1.5);
    EXPECT_DOUBLE_EQ(Fleet(13).VtFuseFactor, 1.2);
    EXPECT_EQ(state_->EffectFile[10], "sink.wav");
    EXPECT_EQ(state_->MovieFile, "opening.ogv");
    // The start events of turn 1 played.
    EXPECT_EQ(frontend_.CallsOf("PlayMusic").size(), 1u);
}

TEST_F(SetupTest, AircraftOfTheShipsGoIntoTheHangars) {
    ASSERT_TRUE(Setup());
    const TFleet& f = Fleet(0);
    int aboard = 0;
    for (const TShip& ship : f.Ships) aboard += ship.AircraftAboardAtStart[0];
    EXPECT_EQ(aboard, 0);
    EXPECT_GT(f.HangarCounts[0] + f.HangarCounts[1] + f.HangarCounts[2], 0);
}

TEST_F(SetupTest, BaseSuppliesBecomeLandingPoints) {
    ASSERT_TRUE(Setup());
    const TFleet& base = Fleet(24);  // every computer variant has a base with 300 supplies
    ASSERT_EQ(base.Active, 1);
    EXPECT_EQ(base.LandingPoints[1], 300);
    EXPECT_EQ(base.LandingPoints[0], 0);
    EXPECT_EQ(base.Ships[0].Supplies, 0);
    EXPECT_EQ(base.Designation.str(), base.Ships[0].Name.str());
    EXPECT_EQ(state_->InitialLandingPoints[1], 300);
    EXPECT_EQ(state_->InitialLandingPoints[0], Fleet(12).LandingPoints[0]);
}

TEST_F(SetupTest, ContactMarkersStartNearTheirFleets) {
    ASSERT_TRUE(Setup());
    for (int u = 1; u <= 14; ++u) {
        const TFleet& marker = state_->ContactTable[static_cast<std::size_t>(u)];
        const TFleet& fleet = Fleet(MarkerFleet(u));
        EXPECT_EQ(marker.Side, 1) << u;
        EXPECT_EQ(marker.Number, u + 25) << u;
        if (!fleet.Active) {
            EXPECT_EQ(marker.Active, 0) << u;
            continue;
        }
        EXPECT_EQ(marker.Active, 1) << u;
        EXPECT_EQ(marker.TrackedFleet, MarkerFleet(u)) << u;
        EXPECT_LT(std::abs(marker.Position.X - fleet.Position.X), 30) << u;
        EXPECT_LT(std::abs(marker.Position.Y - fleet.Position.Y), 30) << u;
        EXPECT_EQ(marker.Speed, fleet.Speed) << u;
    }
}

TEST_F(SetupTest, LandMaskMarksTheIslands) {
    ASSERT_TRUE(Setup());
    EXPECT_TRUE(state_->LandMask.IsLand(395, 272));
    EXPECT_FALSE(state_->LandMask.IsLand(10, 10));
    for (const TFleet& f : state_->FleetTable) {
        if (f.Active) {
            EXPECT_FALSE(state_->LandMask.IsLand(f.Position.X, f.Position.Y));
        }
    }
}

TEST_F(SetupTest, PaletteTextsNameTheFleets) {
    ASSERT_TRUE(Setup());
    std::vector<std::string> items = FleetTreeTexts(*state_);
    ASSERT_EQ(items.size(), 13u);
    const TFleet& first = Fleet(0);
    EXPECT_EQ(items[0], first.Name.str() + " " + first.Commander.str() + "指揮 速力" +
                            std::to_string(first.Speed));
    EXPECT_EQ(items[2], "第三艦隊");
    EXPECT_EQ(items[6], "第一潜水隊");
    EXPECT_EQ(ToolCaptionText(*state_), first.Name.str() + " " + first.Commander.str() +
                                            "指揮 艦隊速力" + std::to_string(first.Speed));
    state_->SelectedFleet = kNoFleet;
    EXPECT_EQ(ToolCaptionText(*state_), "");
}

TEST_F(SetupTest, SameSeedGivesSameGame) {
    ASSERT_TRUE(Setup(7));
    auto again = std::make_unique<GameState>();
    RecordingFrontend other;
    ASSERT_TRUE(SetupScenario(*again, other, snr_, 7));
    EXPECT_TRUE(*again == *state_);
    EXPECT_EQ(other.Transcript(), frontend_.Transcript());
}

TEST_F(SetupTest, NewGameOwesNothingToThePreviousOne) {
    ASSERT_TRUE(Setup());
    auto fresh = std::make_unique<GameState>(*state_);
    state_->Hour = 17;
    state_->Victory.PlayerTotal = 40;
    state_->VictoryShown = true;
    state_->StormCells[20].Active = 1;
    state_->WindDirections[0][0] = 5;
    ASSERT_TRUE(Setup());
    EXPECT_TRUE(*fresh == *state_);  // the event tables were not filled twice either
}

TEST_F(SetupTest, FilesAreFoundInAnyLetterCase) {
    fs::rename(ShipData("MAP.Bmp"), ShipData("map.bmp"));
    fs::rename(folder_.path() / "plane.dat", folder_.path() / "PLANE.DAT");
    ASSERT_TRUE(Setup());
    EXPECT_EQ(state_->MapPicture, ShipData("map.bmp").string());
}

// Broken scenarios: each stops the set-up with "エラー" naming the file.
struct BrokenCase {
    const char* name;
    void (*breaker)(const fs::path& scenario);
    const char* file;  // the start of the message, after the scenario folder
};

void PrintTo(const BrokenCase& c, std::ostream* os) {
    *os << c.name;
}

class BrokenScenarioTest : public SetupTest, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenScenarioTest, StopsWithErrorAndClearedFleets) {
    GetParam().breaker(folder_.path());
    EXPECT_FALSE(Setup());
    std::vector<std::string> errors = frontend_.CallsOf("MessageOk");
    ASSERT_EQ(errors.size(), 1u);
    std::string expected_file = (folder_.path() / GetParam().file).string();
    EXPECT_EQ(errors[0].rfind("MessageOk\tエラー\t" + expected_file, 0), 0u) << errors[0];
    ASSERT_EQ(diag_.ErrorCount(), 1);
    ExpectFleetsCleared();
    EXPECT_EQ(state_->MapMode, 0);
}

void RemoveSideFiles(const fs::path& root) {
    for (int n = 0; n < 12; ++n)
        fs::remove(root / "Fixture" / "ShipData" / ("a" + std::to_string(n) + ".dat"));
}
void RemoveShipData(const fs::path& root) {
    fs::remove(root / "ship.dat");
}
void RemoveMap(const fs::path& root) {
    fs::remove(root / "Fixture" / "ShipData" / "MAP.Bmp");
}
void BreakMask(const fs::path& root) {
    std::ofstream(root / "Fixture" / "ShipData" / "BMAP.Bmp", std::ios::binary)
        << "BM not a picture";
}
// A 2002 x 1 bitmap header is enough: the size is refused before the pixels are read.
void OversizeMask(const fs::path& root) {
    std::string bmp(54 + 2002 * 3 + 2, '\0');
    auto put = [&](std::size_t at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) bmp[at + i] = static_cast<char>(v >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, static_cast<std::uint32_t>(bmp.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, 2002, 4);
    put(22, 1, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    std::ofstream(root / "Fixture" / "ShipData" / "BMAP.Bmp", std::ios::binary) << bmp;
}
void BadTurnNumber(const fs::path& root) {
    std::ofstream(root / "Fixture" / "fixture.snr", std::ios::binary)
        << testing::ShiftJisLines({"プロローグ:", "ターンX:"});
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenScenarioTest,
    ::testing::Values(BrokenCase{"MissingComputerSideFile", RemoveSideFiles, "Fixture/ShipData/a"},
                      BrokenCase{"MissingShipClasses", RemoveShipData, "ship.dat"},
                      BrokenCase{"MissingMap", RemoveMap, "Fixture/ShipData/MAP.Bmp"},
                      BrokenCase{"BrokenMask", BreakMask, "Fixture/ShipData/BMAP.Bmp"},
                      BrokenCase{"OversizeMask", OversizeMask, "Fixture/ShipData/BMAP.Bmp"},
                      BrokenCase{"NotANumber", BadTurnNumber, "Fixture/fixture.snr:2"}),
    [](const ::testing::TestParamInfo<BrokenCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora
