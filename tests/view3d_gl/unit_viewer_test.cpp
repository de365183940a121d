#include "view3d/gl/unit_viewer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QMessageBox>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>

#include "model/fleet_ops.h"
#include "view3d/gl/model_view.h"

namespace velmora::view3d {
namespace {

using ::testing::ElementsAre;

bool HaveGl() {
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    context.setFormat(format);
    return context.create() && context.format().majorVersion() >= 3;
}

class UnitViewerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!HaveGl()) GTEST_SKIP() << "no OpenGL 3.3 here (run under Xvfb with Mesa)";
        const std::filesystem::path folder = dir.path().toStdString();
        std::filesystem::create_directories(folder / "3Dimage");
        const std::filesystem::path demo =
            std::filesystem::path(VELMORA_SOURCE_DIR) / "scenarios/demo/3Dimage";
        std::filesystem::copy_file(demo / "rapiel_dd.mqo", folder / "3Dimage/Rapiel.MQO");
        std::filesystem::copy_file(demo / "scf7_alven.mqo", folder / "3Dimage/plane.mqo");
        state = std::make_unique<GameState>();
        state->ScenarioFolder = folder.string() + "/";
        TShip& destroyer = state->ShipClassTable[1];
        destroyer.Name = "ラピエル";
        destroyer.ClassIndex = 4;
        destroyer.Durability = 30;
        destroyer.ModelFile = "rapiel.mqo";  // found whatever the case
        TShip& lost = state->ShipClassTable[2];
        lost.Name = "幻";
        lost.ClassIndex = 3;
        lost.ModelFile = "nothing.mqo";
        state->AircraftTypeTable[4].Name = "アルヴェン";
        state->AircraftTypeTable[4].AircraftModelFile = "plane.mqo";
        state->AircraftTypeTable[4].AttackPower = 3;
        TFleet& fleet = state->FleetTable[0];
        fleet.Active = 1;
        fleet.Side = state->PlayerSide;
        fleet.Name = "第一艦隊";
        fleet.AirTypes = {4, 255, 255, 0, 0, 0};
        for (int i = 0; i < 35; ++i)
            AddShip(*state, fleet, i == 2 ? 2 : 1, "艦" + std::to_string(i), {});
        viewer = std::make_unique<UnitViewer>(*state, dir.path().toStdString());
        viewer->resize(790, 545);
        viewer->setMessageHandler([this](const QString& caption, const QString& text) {
            messages.push_back((caption + " " + text).toStdString());
        });
    }

    // Closes the next modal box ("ok1") as the player would.
    void CloseNextBox() {
        QTimer::singleShot(0, [] {
            if (QWidget* box = QApplication::activeModalWidget()) box->close();
        });
    }

    QTemporaryDir dir;
    std::unique_ptr<GameState> state;
    std::unique_ptr<UnitViewer> viewer;
    std::vector<std::string> messages;
};

TEST_F(UnitViewerTest, OwnFleetViewLoadsEveryShipAndTellsTheMissingModelOnce) {
    viewer->showOwnFleetView();
    EXPECT_THAT(messages, ElementsAre("エラー 艦船モデリングデータがありません"));
    // More ships than the 31 model slots each get a model.
    EXPECT_EQ(viewer->loadedShipModels(), 35);
    ASSERT_EQ(viewer->tree()->topLevelItemCount(), 1);
    EXPECT_EQ(viewer->tree()->topLevelItem(0)->childCount(), 35);
    EXPECT_TRUE(viewer->modelView()->drawing());
}

TEST_F(UnitViewerTest, ShipAndAircraftStripsAndTheWayBack) {
    viewer->showOwnFleetView();
    viewer->show();
    // A double click on a fleet node does nothing.
    viewer->doubleClickSelected();
    EXPECT_FALSE(viewer->shipStrip()->isVisibleTo(viewer.get()));
    CloseNextBox();
    viewer->selectNode(2);  // the second ship: "ok1", the picture stays
    viewer->doubleClickSelected();
    ASSERT_TRUE(viewer->shipStrip()->isVisibleTo(viewer.get()));
    EXPECT_EQ(viewer->shipValue("艦名"), "艦1");
    EXPECT_EQ(viewer->shipValue("艦型"), "ラピエル型駆逐艦");
    EXPECT_EQ(viewer->aircraftButton(0)->text(), "アルヴェン");
    EXPECT_EQ(viewer->aircraftButton(1)->text(), "");
    viewer->aircraftButton(1)->click();  // type 255: nothing
    EXPECT_FALSE(viewer->aircraftStrip()->isVisibleTo(viewer.get()));
    viewer->aircraftButton(0)->click();
    ASSERT_TRUE(viewer->aircraftStrip()->isVisibleTo(viewer.get()));
    EXPECT_FALSE(viewer->shipStrip()->isVisibleTo(viewer.get()));
    EXPECT_EQ(viewer->aircraftValue("機種名"), "アルヴェン");
    EXPECT_EQ(viewer->aircraftValue("攻撃力"), "3");
    viewer->aircraftBackButton()->click();
    EXPECT_TRUE(viewer->shipStrip()->isVisibleTo(viewer.get()));
    EXPECT_FALSE(viewer->aircraftStrip()->isVisibleTo(viewer.get()));
    viewer->shipBackButton()->click();
    EXPECT_FALSE(viewer->shipStrip()->isVisibleTo(viewer.get()));
    EXPECT_TRUE(viewer->modelView()->drawing());
    viewer->closeOwnFleetView();
    EXPECT_FALSE(viewer->modelView()->drawing());
    EXPECT_FALSE(viewer->tree()->isVisibleTo(viewer.get()));
    EXPECT_EQ(viewer->loadedShipModels(), 0);
    EXPECT_THAT(messages, ElementsAre("エラー 艦船モデリングデータがありません"));
}

}  // namespace
}  // namespace velmora::view3d
