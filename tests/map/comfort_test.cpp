// The main window as a new player meets it: the turn-end guard, a cancelled
// new-game dialog, the sectors after a turn end, skipping the presentation,
// the autosave and the slot labels.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QStyleHints>
#include <QTimer>
#include <memory>

#include "chart/geometry.h"
#include "frontend/recording_frontend.h"
#include "map/main_window.h"
#include "map/map_painter.h"
#include "map/map_view.h"
#include "map/qt_frontend.h"
#include "media/media_player.h"
#include "scenario/save_game.h"
#include "scenario/test_support.h"
#include "ui/conversation_window.h"
#include "ui/flat_button.h"
#include "ui/serif_box.h"

namespace velmora::map {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

const char* const kScenario = VELMORA_TEST_DATA "/fixture/Fixture/fixture.snr";

void PressMap(MapView* view, Point at, Qt::MouseButton button) {
    const QPointF local(at.X, at.Y);
    QMouseEvent press(QEvent::MouseButtonPress, local, view->mapToGlobal(local), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(view, &press);
}

// Records every call and redraws the window as the desktop front end does.
class WindowFrontend : public RecordingFrontend {
  public:
    MainWindow* window = nullptr;
    void RedrawMap() override {
        RecordingFrontend::RedrawMap();
        if (window != nullptr) window->redrawMap();
    }
    void RefreshPalette() override {
        RecordingFrontend::RefreshPalette();
        if (window != nullptr) window->refreshPalette();
    }
};

// The fixture scenario set up in a main window; saves go to a folder of the
// test's own.
class ComfortTest : public ::testing::Test {
  protected:
    ComfortTest() : window(*state) {
        ui.window = &window;
        window.setFrontend(&ui);
        window.setSaveDirectory(saves.path());
    }

    // What the map must show: the composed map with the set sectors over it.
    QImage MapWithSectors(const TFleet& fleet, int radius) const {
        QImage picture(QString::fromStdString(state->MapPicture));
        QImage expected = composeBackBuffer(picture, *state).copy(0, 0, kMapWidth, kMapHeight);
        EXPECT_EQ(ModeOverlay(*state), [&] {
            std::vector<MapDrawing> view{DistanceCircle(fleet, radius)};
            for (MapDrawing& d : SectorWedges(fleet, radius, fleet.SearchSectors))
                view.push_back(std::move(d));
            return view;
        }());
        paintDrawings(expected, ModeOverlay(*state));
        return expected;
    }

    void StartGame() {
        ASSERT_TRUE(window.startGame(kScenario, 3));
        ui.ClearTranscript();
    }

    std::unique_ptr<GameState> state = std::make_unique<GameState>();
    WindowFrontend ui;
    velmora::testing::TempFolder saves;
    MainWindow window;
};

TEST_F(ComfortTest, ASecondClickRightAfterATurnEndIsIgnoredByButtonPopupAndKey) {
    StartGame();
    ui::FlatButton* button = window.palette()->button(PaletteOrder::kEndTurn);
    button->click();
    ASSERT_EQ(state->Turn, 2);
    button->click();  // the second click of a double click
    window.popupEndTurn()->trigger();
    window.orderAction(PaletteOrder::kEndTurn)->trigger();
    EXPECT_EQ(state->Turn, 2);

    // Once the double-click interval has passed, the button works again.
    QStyleHints* hints = QGuiApplication::styleHints();
    const int interval = hints->mouseDoubleClickInterval();
    hints->setMouseDoubleClickInterval(0);
    button->click();
    hints->setMouseDoubleClickInterval(interval);
    EXPECT_EQ(state->Turn, 3);
}

TEST_F(ComfortTest, ACancelledNewGameDialogLeavesTheGameAsItWas) {
    StartGame();
    const auto before = std::make_unique<GameState>(*state);
    const QImage map = window.mapView()->picture().copy();
    QString filter;
    QTimer::singleShot(0, &window, [&filter] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        filter = dialog->nameFilters().join(QLatin1Char(';'));
        dialog->reject();
    });
    window.newGame();
    EXPECT_EQ(filter, QStringLiteral("Velmoraシナリオファイル(*.snr)"));
    EXPECT_TRUE(*state == *before);
    EXPECT_THAT(ui.CallsOf("MessageOk"), IsEmpty());
    EXPECT_EQ(window.mapView()->picture(), map);
    window.palette()->button(PaletteOrder::kEndTurn)->click();
    EXPECT_EQ(state->Turn, before->Turn + 1);  // the game goes on
}

// Whatever redrew the map before (a turn end, the button pressed twice), the
// map shows exactly the sectors that are set.
TEST_F(ComfortTest, TheMapShowsExactlyTheSetSectorsAfterATurnEnd) {
    StartGame();
    TFleet& fleet = state->FleetTable[state->SelectedFleet];
    const int radius = state->AircraftTypeAt(fleet.ScoutType).Range;
    ASSERT_GT(radius, 40);
    fleet.SearchSectors = {1, 0, 0, 0, 0, 0, 0, 0};
    window.palette()->button(PaletteOrder::kSearch)->click();
    window.palette()->button(PaletteOrder::kSearch)->click();
    EXPECT_EQ(window.mapView()->picture(), MapWithSectors(fleet, radius));

    window.palette()->button(PaletteOrder::kEndTurn)->click();
    ASSERT_EQ(state->MapMode, kMapModeSearch);
    EXPECT_EQ(window.mapView()->picture(), MapWithSectors(fleet, radius));
    const Point centre = fleet.Position;
    PressMap(window.mapView(), {centre.X - 2, centre.Y + radius / 2}, Qt::LeftButton);
    ASSERT_EQ(fleet.SearchSectors, (std::array<std::uint8_t, 8>{1, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(window.mapView()->picture(), MapWithSectors(fleet, radius));
    PressMap(window.mapView(), {centre.X + 2, centre.Y - radius / 2}, Qt::LeftButton);
    ASSERT_EQ(fleet.SearchSectors[0], 0);
    EXPECT_EQ(window.mapView()->picture(), MapWithSectors(fleet, radius));
}

TEST_F(ComfortTest, RefusedClicksSayWhyInTheStatusLine) {
    StartGame();
    window.palette()->button(PaletteOrder::kSearch)->click();
    EXPECT_THAT(window.statusLine()->text().toStdString(), HasSubstr("航空索敵"));
    // The map corner farthest from the fleet lies beyond its search radius.
    const TFleet& fleet = state->FleetTable[state->SelectedFleet];
    const Point far{fleet.Position.X < kMapWidth / 2 ? kMapWidth - 2 : 2,
                    fleet.Position.Y < kMapHeight / 2 ? kMapHeight - 2 : 2};
    ASSERT_GT(MapDistance(fleet.Position, far), state->AircraftTypeAt(fleet.ScoutType).Range);
    PressMap(window.mapView(), far, Qt::LeftButton);
    EXPECT_THAT(window.statusBar()->currentMessage().toStdString(), HasSubstr("索敵範囲"));
}

TEST_F(ComfortTest, EveryTurnEndAutosavesAndTheMenusLabelTheSlots) {
    StartGame();
    window.palette()->button(PaletteOrder::kEndTurn)->click();
    ASSERT_TRUE(std::filesystem::exists(SlotPath(saves.path(), kAutoSaveSlot)));
    window.saveSlot(2);
    EXPECT_THAT(window.statusBar()->currentMessage().toStdString(),
                StartsWith("セーブ2 — 2ターン 2時 夜間 — Fixture — "));

    emit window.loadMenu()->aboutToShow();
    QStringList labels;
    for (QAction* action : window.loadMenu()->actions()) labels << action->text();
    ASSERT_EQ(labels.size(), 7);  // five slots, a separator, the autosave
    EXPECT_THAT(labels[0].toStdString(), StartsWith("セーブ1 — （空き）"));
    EXPECT_THAT(labels[1].toStdString(), StartsWith("セーブ2 — 2ターン 2時"));
    EXPECT_THAT(labels[6].toStdString(), StartsWith("オートセーブ — 2ターン 2時"));

    // The autosave brings the game back, even from a fresh program.
    auto fresh = std::make_unique<GameState>();
    MainWindow other(*fresh);
    other.setFrontend(&ui);
    other.setSaveDirectory(saves.path());
    other.loadSlot(kAutoSaveSlot);
    EXPECT_EQ(fresh->Turn, 2);
    EXPECT_FALSE(other.mapView()->showingTitle());
    EXPECT_EQ(fresh->ShipClassTable, state->ShipClassTable);
}

TEST_F(ComfortTest, DisabledButtonsSayWhyInTheirTooltips) {
    StartGame();
    EXPECT_THAT(window.orderTip(PaletteOrder::kMove).toStdString(), HasSubstr("（M）"));
    EXPECT_THAT(window.orderTip(PaletteOrder::kEndTurn).toStdString(),
                ::testing::Not(HasSubstr("使えません")));
    window.setTurnEndEnabled(false);
    state->TurnEndRunning = true;
    EXPECT_THAT(window.orderTip(PaletteOrder::kEndTurn).toStdString(),
                HasSubstr("使えません: ターン終了の処理中です"));
    state->TurnEndRunning = false;
}

// The desktop front end over a game: Esc and a right click end captions and
// conversations at once.
class SkipTest : public ::testing::Test {
  protected:
    SkipTest() : window(state), media(&window), frontend(state, window, media) {
        window.setFrontend(&frontend);
        window.setSaveDirectory(saves.path());
        state.MapMode = kMapModeNormal;
        state.MapPicture = VELMORA_TEST_DATA "/fixture/Fixture/ShipData/MAP.Bmp";
        window.show();
        window.redrawMap();
        frontend.setCaptionInterval(60000);
    }

    GameState state;
    velmora::testing::TempFolder saves;
    MainWindow window;
    media::MediaPlayer media;
    QtFrontend frontend;
};

TEST_F(SkipTest, EscEndsTheCaptionSequenceAndTheMapComesBack) {
    QTimer::singleShot(0, &window, [this] { window.escapePressed(); });
    QElapsedTimer clock;
    clock.start();
    frontend.ShowCaptionLine("第一日 演習開始");
    frontend.ShowCaptionLine("第二日");
    frontend.EndCaptionSequence();
    EXPECT_LT(clock.elapsed(), 30000);
    EXPECT_NE(window.mapView()->picture().pixelColor(10, 10), Qt::black);
    // Both lines are in the log, shown or not.
    ASSERT_EQ(state.MessageLog.size(), 2u);
    EXPECT_EQ(state.MessageLog[1].Text, "第二日");
}

TEST_F(SkipTest, ARightClickOnTheMapEndsTheCaptionsWithoutAPopup) {
    QTimer::singleShot(0, &window, [this] {
        PressMap(window.mapView(), {100, 100}, Qt::RightButton);
    });
    QElapsedTimer clock;
    clock.start();
    frontend.ShowCaptionLine("第一日");
    frontend.EndCaptionSequence();
    EXPECT_LT(clock.elapsed(), 30000);
    EXPECT_FALSE(window.popupMenu()->isVisible());
}

TEST_F(SkipTest, EscEndsTheWholeConversation) {
    auto* conversation = window.findChild<ui::ConversationWindow*>();
    ASSERT_NE(conversation, nullptr);
    conversation->serifBox()->setWaitTime(60000);
    frontend.ConversationOpen();
    QTimer::singleShot(0, &window, [this] { window.escapePressed(); });
    QElapsedTimer clock;
    clock.start();
    frontend.SayText("司令部\r演習海域に敵艦隊が接近しつつある。");
    frontend.SayText("司令部\r全艦隊は直ちに出撃準備に入れ。");
    EXPECT_LT(clock.elapsed(), 30000);
    EXPECT_TRUE(conversation->serifBox()->isStopped());
    frontend.ConversationClose();
    EXPECT_EQ(state.MessageLog.size(), 2u);
    // The next conversation plays again.
    frontend.ConversationOpen();
    conversation->serifBox()->setWaitTime(0);
    QObject::connect(conversation->serifBox(), &ui::SerifBox::idle, conversation->serifBox(),
                     &ui::SerifBox::NextPage);
    frontend.SayText("参謀\r確認しました。");
    EXPECT_GT(conversation->serifBox()->total(), 0);
    frontend.ConversationClose();
}

TEST(SerifBoxFinishTest, AClickWhileAPageTypesShowsThePageAtOnce) {
    ui::SerifBox box;
    box.resize(300, 60);
    box.setWaitTime(5000);
    box.setLines({QStringLiteral("一二三四五六七八九十一二三四五")});
    int cursorAtWait = -1;
    QObject::connect(&box, &ui::SerifBox::flowText, &box, [&box] { box.FinishPage(); });
    QObject::connect(&box, &ui::SerifBox::idle, &box, [&] {
        cursorAtWait = box.cursor();
        box.Stop();
    });
    QElapsedTimer clock;
    clock.start();
    box.Play(true);
    EXPECT_LT(clock.elapsed(), 30000);
    EXPECT_GE(cursorAtWait, 15);
}

}  // namespace
}  // namespace velmora::map
