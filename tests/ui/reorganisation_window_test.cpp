#include "ui/reorganisation_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include "frontend/recording_frontend.h"
#include "model/fleet_ops.h"
#include "ui/flat_button.h"
#include "ui_test_input.h"

namespace velmora::ui {
namespace {

using testing::clickAt;
using testing::doubleClickAt;

QPoint rowCentre(QListWidget* list, int row) {
    return list->visualItemRect(list->item(row)).center();
}

class ReorganisationWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state = std::make_unique<GameState>();
        TShip& cls = state->ShipClassTable[1];
        cls.ClassIndex = kDestroyer;
        cls.Durability = 10;
        state->ShipClassLast = 1;
        TFleet& fleet = state->Fleet(0);
        fleet.Active = 1;
        fleet.Position = {300, 200};
        fleet.Commander = "山本";
        fleet.Name = "第一艦隊";
        for (const char* name : {"雪風", "時雨", "初霜"}) AddShip(*state, fleet, 1, name, {});
        state->SelectedFleet = 0;
    }
    std::unique_ptr<GameState> state;
    RecordingFrontend ui;
};

TEST_F(ReorganisationWindowTest, SplitByDoubleClickAndButtonThenDecideKeepsTheNames) {
    testing::HangGuard guard;
    ReorganisationWindow window;
    QTimer::singleShot(0, &window, [&] {
        EXPECT_EQ(window.windowTitle(), QStringLiteral("艦隊再編"));
        EXPECT_EQ(window.leftCommander()->text(), QStringLiteral("山本"));
        ASSERT_EQ(window.leftList()->count(), 3);
        EXPECT_EQ(window.rightList()->count(), 0);
        doubleClickAt(window.leftList()->viewport(), rowCentre(window.leftList(), 1));
        QCoreApplication::processEvents();
        EXPECT_EQ(window.rightList()->item(0)->text(), QStringLiteral("時雨"));
        // The pick stays: ">" moves the ship that moved up into row 1.
        window.moveRightButton()->click();
        EXPECT_EQ(window.leftList()->count(), 1);
        EXPECT_EQ(window.rightList()->item(1)->text(), QStringLiteral("初霜"));
        clickAt(window.rightList()->viewport(), rowCentre(window.rightList(), 0));
        window.moveLeftButton()->click();
        clickAt(window.leftList()->viewport(), rowCentre(window.leftList(), 1));
        window.moveRightButton()->click();
        EXPECT_EQ(window.rightList()->item(1)->text(), QStringLiteral("時雨"));
        window.rightName()->setText(QStringLiteral("第二艦隊"));
        window.decideButton()->click();
    });
    window.run(*ReorganisationSession::Split(*state), *state, ui);
    EXPECT_FALSE(window.isVisible());
    const TFleet& made = state->Fleet(1);
    EXPECT_EQ(made.Active, 1);
    EXPECT_EQ(made.ShipCount, 2);
    EXPECT_EQ(made.Position, (Point{300, 200}));
    EXPECT_EQ(made.Name.str(), "第二艦隊");
    EXPECT_EQ(window.leftList()->count(), 0);  // both lists are emptied at closing
}

TEST_F(ReorganisationWindowTest, ClosingFromTheFrameKeepsTheOldNames) {
    testing::HangGuard guard;
    ReorganisationWindow window;
    QTimer::singleShot(0, &window, [&] {
        clickAt(window.leftList()->viewport(), rowCentre(window.leftList(), 0));
        window.moveRightButton()->click();
        window.leftName()->setText(QStringLiteral("changed"));
        window.reject();
    });
    window.run(*ReorganisationSession::Split(*state), *state, ui);
    EXPECT_EQ(state->Fleet(0).Name.str(), "第一艦隊");
    EXPECT_EQ(state->Fleet(1).ShipCount, 1);
    EXPECT_EQ(state->Fleet(1).Active, 1);
}

}  // namespace
}  // namespace velmora
