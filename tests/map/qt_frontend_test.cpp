#include "map/qt_frontend.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMouseEvent>
#include <QTimer>

#include "map/main_window.h"
#include "map/map_view.h"
#include "media/media_player.h"
#include "ui/flat_button.h"
#include "ui/target_windows.h"

namespace velmora::map {
namespace {

// The whole desktop front end over a game in normal mode with a computer
// fleet seen at (400, 300).
class QtFrontendTest : public ::testing::Test {
  protected:
    QtFrontendTest() : window(state), media(&window), frontend(state, window, media) {
        window.setFrontend(&frontend);
        state.MapMode = kMapModeNormal;
        state.MapPicture = VELMORA_TEST_DATA "/fixture/Fixture/ShipData/MAP.Bmp";
        TFleet& enemy = state.FleetTable[13];
        enemy.Active = 1;
        enemy.Side = 1;
        enemy.DetectLevel = 2;
        enemy.Position = {400, 300};
        enemy.Designation = "イ";
        window.show();
        window.redrawMap();
    }

    void ClickMap(Point at) {
        const QPointF local(at.X, at.Y);
        QMouseEvent press(QEvent::MouseButtonPress, local, window.mapView()->mapToGlobal(local),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.mapView(), &press);
    }

    GameState state;
    MainWindow window;
    media::MediaPlayer media;
    QtFrontend frontend;
};

TEST_F(QtFrontendTest, InspectionClickListsTheFleetAndShowsWhatSearchKnows) {
    QStringList listed;
    QTimer::singleShot(0, [&listed] {
        auto* list = qobject_cast<ui::TargetListWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < list->list()->count(); ++i) listed << list->list()->item(i)->text();
        list->okButton()->click();
    });
    ClickMap({405, 310});
    EXPECT_EQ(listed, QStringList{QStringLiteral("イ")});
    const auto infos = window.findChildren<ui::SearchInfoWindow*>();
    ASSERT_EQ(infos.size(), 1);
    EXPECT_TRUE(infos.front()->isVisible());
    infos.front()->cancelButton()->click();
    EXPECT_FALSE(infos.front()->isVisible());
}

TEST_F(QtFrontendTest, CaptionLineWaitsWithTheWindowsLiveThenDrawsOnTheMap) {
    frontend.setCaptionInterval(200);
    bool timerRan = false;
    QTimer::singleShot(20, [&timerRan] { timerRan = true; });
    QElapsedTimer clock;
    clock.start();
    frontend.ShowCaptionLine("二日目 敵影あり");
    EXPECT_GE(clock.elapsed(), 190);
    EXPECT_TRUE(timerRan);
    EXPECT_EQ(window.mapView()->picture().pixelColor(10, 10), Qt::black);
    window.redrawMap();
    EXPECT_NE(window.mapView()->picture().pixelColor(10, 10), Qt::black);
}

TEST_F(QtFrontendTest, CaptionAndTurnEndButtonFollowTheEngine) {
    frontend.SetCaption("Velmora 1ターン 1時 夜間 X:0 Y:0");
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Velmora 1ターン 1時 夜間 X:0 Y:0"));
    frontend.SetTurnEndEnabled(false);
    EXPECT_FALSE(window.palette()->button(PaletteOrder::kEndTurn)->isEnabled());
}

TEST_F(QtFrontendTest, AfterShutDownQuestionsTakeTheirDefaultWithoutWindows) {
    frontend.shutDown();
    frontend.setCaptionInterval(10000);
    QElapsedTimer clock;
    clock.start();
    frontend.MessageOk("エラー", "x");
    EXPECT_FALSE(frontend.MessageAsk("撤退確認", "x", "はい", "いいえ"));
    frontend.ShowCaptionLine("x");
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace velmora::map
