#include "map/map_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTreeWidget>
#include <filesystem>
#include <memory>

#include "frontend/recording_frontend.h"
#include "map/main_window.h"
#include "map/map_painter.h"
#include "map/orders_palette.h"
#include "scenario/save_game.h"
#include "scenario/test_support.h"
#include "ui/flat_button.h"

namespace velmora::map {
namespace {

const QColor kSea(0x20, 0x50, 0x90);

QImage SeaPicture() {
    return makeMapPicture(kBackBufferWidth, kBackBufferHeight, kSea);
}

TEST(MapPainterTest, FleetSymbolCoversSixteenPixelsFromEightAboveLeft) {
    GameState state;
    TFleet& f = state.FleetTable[13];
    f.Active = 1;
    f.Side = 1;
    f.DetectLevel = 1;
    f.Position = {100, 200};
    const QImage buffer = composeBackBuffer(SeaPicture(), state);
    const QImage& symbol = mapSymbols()[kSymbolComputerFleet];
    // Corners of the symbol land on (92, 192) and (107, 207).
    EXPECT_EQ(buffer.pixelColor(92, 192), symbol.pixelColor(0, 0));
    EXPECT_EQ(buffer.pixelColor(107, 207), symbol.pixelColor(15, 15));
    EXPECT_EQ(buffer.pixelColor(91, 192), kSea);
    EXPECT_EQ(buffer.pixelColor(108, 207), kSea);
    EXPECT_NE(symbol.pixelColor(0, 0), kSea);
}

TEST(MapPainterTest, LabelIsDrawnLightOverTheSymbol) {
    GameState state;
    TFleet& f = state.FleetTable[9];
    f.Active = 1;
    f.Position = {300, 300};
    const QImage buffer = composeBackBuffer(SeaPicture(), state);
    QImage symbolOnly = SeaPicture();
    paintDrawing(symbolOnly, MapSymbol{kSymbolPlayerFleet, 292, 292});
    int lighter = 0;
    for (int y = 292; y < 310; ++y) {
        for (int x = 292; x < 310; ++x) {
            lighter +=
                buffer.pixelColor(x, y).lightness() > symbolOnly.pixelColor(x, y).lightness() + 60;
        }
    }
    EXPECT_GT(lighter, 10);
}

// Some pixels of the sea under every sector's wedge.
class XorWedgeTest : public ::testing::TestWithParam<int> {};

TEST_P(XorWedgeTest, DrawingTheWedgeTwiceRestoresThePicture) {
    TFleet fleet;
    fleet.Position = {400, 300};
    QImage picture = SeaPicture();
    // Something under the wedge that must survive: a symbol and a label.
    paintDrawing(picture, MapSymbol{kSymbolPlayerFleet, 392, 292});
    paintDrawing(picture, MapLabel{"9", 396, 292});
    const QImage original = picture.copy();
    const auto wedge = SectorWedge(fleet, 120, GetParam());
    paintDrawings(picture, wedge);
    EXPECT_NE(picture, original);
    paintDrawings(picture, wedge);
    EXPECT_EQ(picture, original);
}

INSTANTIATE_TEST_SUITE_P(AllSectors, XorWedgeTest, ::testing::Range(0, 8));

TEST(XorWedgeGeometryTest, SectorTwoFillsTheEastSouthEast) {
    TFleet fleet;
    fleet.Position = {400, 300};
    QImage picture = SeaPicture();
    paintDrawings(picture, SectorWedge(fleet, 100, 2));
    // Bearing 112 at 50 pixels is inside, bearing 200 is not.
    EXPECT_NE(picture.pixelColor(446, 319), kSea);
    EXPECT_EQ(picture.pixelColor(383, 347), kSea);
}

// A game in normal mode with player fleet 0 at (200, 200) searching 100 far.
class MainWindowTest : public ::testing::Test {
  protected:
    MainWindowTest() : window(state) {
        state.MapMode = kMapModeNormal;
        state.AircraftTypeTable[2].Range = 100;
        TFleet& f = state.FleetTable[0];
        f.Active = 1;
        f.Position = {200, 200};
        f.ScoutType = 2;
        f.SearchSectors = {1, 0, 1, 0, 0, 0, 1, 0};
        window.setFrontend(&ui);
        window.setSaveDirectory(saves.path());
        window.redrawMap();
    }

    GameState state;
    RecordingFrontend ui;
    velmora::testing::TempFolder saves;
    MainWindow window;
};

TEST_F(MainWindowTest, SearchButtonShowsTheSetSectorsHoweverOftenItIsPressed) {
    const QImage before = window.mapView()->picture().copy();
    window.palette()->button(PaletteOrder::kSearch)->click();
    EXPECT_EQ(state.MapMode, kMapModeSearch);
    const QImage shown = window.mapView()->picture().copy();
    EXPECT_NE(shown, before);
    window.palette()->button(PaletteOrder::kSearch)->click();
    EXPECT_EQ(window.mapView()->picture(), shown);
}

TEST_F(MainWindowTest, PaletteShowsItsStoredBackgroundPicture) {
    const QImage& picture = window.palette()->background();
    EXPECT_EQ(picture.size(), QSize(353, 417));
    // On showing, the buttons take their face colour from the picture.
    window.palette()->show();
    EXPECT_EQ(window.palette()->button(PaletteOrder::kMove)->faceColour(),
              picture.pixelColor(picture.width() - 10, 0));
}

TEST_F(MainWindowTest, OrdersWithoutTheirWindowsAreOfferedDisabled) {
    auto enabled = [this](PaletteOrder o) { return window.palette()->button(o)->isEnabled(); };
    for (PaletteOrder o :
         {PaletteOrder::kAirRaid, PaletteOrder::kFormation, PaletteOrder::kSplit,
          PaletteOrder::kJoin, PaletteOrder::kAswSearch, PaletteOrder::kAswAttack}) {
        EXPECT_FALSE(enabled(o)) << static_cast<int>(o);
    }
    for (PaletteOrder o : {PaletteOrder::kMove, PaletteOrder::kDistance, PaletteOrder::kFleetInfo,
                           PaletteOrder::kSearch, PaletteOrder::kWeather, PaletteOrder::kEndTurn}) {
        EXPECT_TRUE(enabled(o)) << static_cast<int>(o);
    }
    EXPECT_TRUE(window.palette()->button(PaletteOrder::kAswSearch)->isHidden());
    EXPECT_TRUE(window.palette()->button(PaletteOrder::kAswAttack)->isHidden());
}

TEST_F(MainWindowTest, TurnEndButtonFollowsTheEngine) {
    window.setTurnEndEnabled(false);
    EXPECT_FALSE(window.palette()->button(PaletteOrder::kEndTurn)->isEnabled());
    window.setTurnEndEnabled(true);
    EXPECT_TRUE(window.palette()->button(PaletteOrder::kEndTurn)->isEnabled());
}

TEST_F(MainWindowTest, PopupTurnEndNeverStartsASecondTurnEnd) {
    state.TurnEndRunning = true;
    window.popupEndTurn()->trigger();
    EXPECT_EQ(state.Turn, 1);
    EXPECT_THAT(ui.Transcript(), ::testing::IsEmpty());

    state.TurnEndRunning = false;
    window.popupEndTurn()->trigger();
    EXPECT_EQ(state.Turn, 2);
    EXPECT_FALSE(state.TurnEndRunning);
}

TEST_F(MainWindowTest, FleetTreeSelectsOnlyFleetsInPlay) {
    window.refreshPalette();
    ASSERT_EQ(window.palette()->fleetTree()->topLevelItemCount(), 13);
    state.FleetTable[2].Active = 1;
    window.palette()->fleetTree()->setCurrentItem(window.palette()->fleetTree()->topLevelItem(2));
    EXPECT_EQ(state.SelectedFleet, 2);
    window.palette()->fleetTree()->setCurrentItem(window.palette()->fleetTree()->topLevelItem(5));
    EXPECT_EQ(state.SelectedFleet, 2);
}

TEST_F(MainWindowTest, NoGameShowsTheTitleAndRefusesOrders) {
    state.MapMode = kMapModeNoGame;
    window.redrawMap();
    EXPECT_TRUE(window.mapView()->showingTitle());
    window.palette()->button(PaletteOrder::kMove)->click();
    EXPECT_EQ(state.MapMode, kMapModeNoGame);
}

// A player who presses "ターン終了" and "ロード1" while the start events of a
// new game wait for them.
class ImpatientFrontend : public RecordingFrontend {
  public:
    MainWindow* window = nullptr;
    void SayText(std::string_view text) override {
        RecordingFrontend::SayText(text);
        if (window == nullptr) return;
        window->endTurn();
        window->loadSlot(1);
    }
};

TEST(NewGameTest, NothingStartsWhileTheSetUpWaitsForThePlayer) {
    auto holder = std::make_unique<GameState>();
    GameState& state = *holder;
    ImpatientFrontend ui;
    MainWindow window(state);
    window.setFrontend(&ui);
    const auto dir = std::filesystem::temp_directory_path() / "velmora-map-test-saves";
    std::filesystem::create_directories(dir);
    window.setSaveDirectory(dir);
    auto other = std::make_unique<GameState>();
    other->Turn = 7;
    ASSERT_TRUE(SaveGame(*other, ui, dir, 1));
    const char* scenario = VELMORA_TEST_DATA "/fixture/Fixture/fixture.snr";
    ASSERT_TRUE(window.startGame(scenario, 1));

    // The second game's start events run while a game is in play.
    ui.window = &window;
    ui.ClearTranscript();
    ASSERT_TRUE(window.startGame(scenario, 2));
    EXPECT_THAT(ui.CallsOf("SayText"), ::testing::Not(::testing::IsEmpty()));
    EXPECT_EQ(state.Turn, 1);
    EXPECT_EQ(state.MapMode, kMapModeNormal);
    EXPECT_FALSE(window.mapView()->showingTitle());
    std::filesystem::remove_all(dir);
}

TEST(CaptionScreenTest, LineIsWhiteOnBlackAroundTheCentre) {
    GameState state;
    MapView view(state);
    view.showCaptionLine(QStringLiteral("第一日 演習開始"));
    const QImage& picture = view.picture();
    EXPECT_EQ(picture.pixelColor(5, 5), Qt::black);
    int white_left = 0;
    int white_right = 0;
    for (int y = 250; y < 295; ++y) {
        for (int x = 300; x < 490; ++x) {
            if (picture.pixelColor(x, y).lightness() > 128) (x < 395 ? white_left : white_right)++;
        }
    }
    EXPECT_GT(white_left, 20);
    EXPECT_GT(white_right, 20);
}

}  // namespace
}  // namespace velmora::map
