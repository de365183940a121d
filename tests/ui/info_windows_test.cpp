#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

#include "ui/about_window.h"
#include "ui/flat_button.h"
#include "ui/fleet_info_window.h"
#include "ui/victory_window.h"
#include "ui_test_input.h"

namespace velmora::ui {
namespace {

// ---- 勝利 -----------------------------------------------------------------

TEST(VictoryWindow, ShowsEveryFigureInItsHalfUnderTheOutcome) {
    VictoryReport report;
    report.Outcome = "プレイヤー側勝利";
    report.Totals = {250, 120};
    report.LandingShown = {-15, 30};
    report.Sunk[0][1] = 1;  // a player's carrier lost: left half
    report.Sunk[1][4] = 3;  // computer destroyers lost: right half
    report.Damaged[0][5] = 2;
    report.Damaged[1][2] = 4;
    report.CapturePoints = {500, 0};
    report.AircraftLosses = {7, 11};
    report.SunkNames[0] = {"赤城"};
    report.SunkNames[1] = {"敵駆逐艦1", "敵駆逐艦2", "敵駆逐艦3"};

    VictoryWindow window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("勝利"));
    QString titleWhileShown;
    QTimer::singleShot(0, &window, [&] {
        titleWhileShown = window.windowTitle();
        window.closeButton()->click();
    });
    window.show(report);
    EXPECT_EQ(titleWhileShown, QStringLiteral("プレイヤー側勝利"));

    struct Expect {
        int half;
        const char* label;
        const char* value;
    };
    for (const Expect& e : {Expect{0, "得点", "250"}, Expect{1, "得点", "120"},
                            Expect{0, "揚陸ポイント", "-15"}, Expect{1, "揚陸ポイント", "30"},
                            Expect{0, "沈没艦空母", "1"}, Expect{1, "沈没艦空母", "0"},
                            Expect{1, "沈没艦駆逐艦", "3"}, Expect{0, "損傷艦輸送船", "2"},
                            Expect{1, "損傷艦戦艦", "4"}, Expect{0, "敵基地制圧得点", "500"},
                            Expect{0, "航空機損害", "7"}, Expect{1, "航空機損害", "11"}}) {
        EXPECT_EQ(window.valueOf(e.half, QString::fromUtf8(e.label)), QString::fromUtf8(e.value))
            << e.half << " " << e.label;
    }
    ASSERT_EQ(window.sunkList(0)->count(), 1);
    EXPECT_EQ(window.sunkList(0)->item(0)->text(), QStringLiteral("赤城"));
    EXPECT_EQ(window.sunkList(1)->count(), 3);

    // A second evaluation shows its own lists, not the old ones as well.
    report.SunkNames[0].clear();
    window.fill(report);
    EXPECT_EQ(window.sunkList(0)->count(), 0);
}

TEST(VictoryWindow, HeadingsAreThoseOfBothSides) {
    VictoryWindow window;
    QStringList texts;
    for (QLabel* label : window.findChildren<QLabel*>()) texts << label->text();
    for (const char* heading :
         {"プレイヤー得点", "コンピュター得点", "揚陸ポイント", "沈没艦", "損傷艦", "空母", "戦艦",
          "巡洋艦", "駆逐艦", "輸送船", "敵基地制圧得点", "航空機損害"}) {
        EXPECT_TRUE(texts.contains(QString::fromUtf8(heading))) << heading;
    }
}

// ---- バージョン情報 ----------------------------------------------------------

TEST(AboutWindow, ShowsTitleVersionAndCreditsAndCloses) {
    AboutWindow window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(window.titleLabel()->text(), QStringLiteral("Velmora"));
    EXPECT_EQ(window.versionLabel()->text(), QString::fromUtf8("Version\u30001.00"));
    EXPECT_EQ(window.creditsLabel()->text(), QStringLiteral("Velmora developers"));
    QTimer::singleShot(0, &window, [&] { window.okButton()->click(); });
    EXPECT_EQ(window.exec(), QDialog::Accepted);
}

// ---- 艦隊情報 / ユニットデ－タ / 航空機データ --------------------------------------

class OwnFleetWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        state = std::make_unique<GameState>();
        for (int type = 1; type <= 7; ++type) {
            TShip& c = state->ShipClassTable[static_cast<std::size_t>(type)];
            c.ClassIndex = type;
            c.Durability = 66;
        }
        state->ShipClassTable[kBattleship].Name = "大和";
        state->AircraftTypeTable[3].Name = "零戦";
        state->AircraftTypeTable[3].AttackPower = 25;
        state->MapMode = 1;
        TFleet& f = state->FleetTable[0];
        f.Active = 1;
        f.Side = 0;
        f.Name = "第一艦隊";
        f.Commander = "伊藤";
        f.Speed = 27;
        f.AirTypes = {0, 0, 0, 255, 255, 255};
        AddShip(f, kBattleship, "大和");
        AddShip(f, kDestroyer, "雪風");
        f.Ships[0].AircraftTypesAboard = {3, 255, 255};
    }

    static void AddShip(TFleet& f, int type, const char* name) {
        TShip& s = f.Ships[static_cast<std::size_t>(f.ShipCount++)];
        s.ClassIndex = type;
        s.Name = name;
        s.Speed = 27;
    }

    std::unique_ptr<GameState> state;
};

TEST_F(OwnFleetWindows, NothingOpensWhileNoGameRuns) {
    state->MapMode = 0;
    FleetInfoWindow window;
    bool opened = false;
    QObject::connect(&window, &FleetInfoWindow::openChanged, [&](bool open) { opened |= open; });
    QTimer guard;  // closes the window should it open after all
    QObject::connect(&guard, &QTimer::timeout, &window, &QDialog::close);
    guard.start(0);
    window.showOwnFleets(*state);
    EXPECT_FALSE(opened);
}

TEST_F(OwnFleetWindows, TreeListsTheFleetAndAShipDoubleClickOpensItsData) {
    testing::HangGuard guard;
    FleetInfoWindow window;
    QStringList fleets;
    QString shipName;
    int marks = -1;
    bool checkMark = false;
    QObject::connect(&window, &FleetInfoWindow::openChanged, [&](bool open) { checkMark = open; });
    QTimer::singleShot(0, &window, [&] {
        QTreeWidget* tree = window.tree();
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            fleets << tree->topLevelItem(i)->text(0);
        marks = static_cast<int>(window.formation()->marks().size());
        QTreeWidgetItem* ship = tree->topLevelItem(0)->child(1);
        tree->setCurrentItem(ship);
        testing::doubleClickAt(tree->viewport(), tree->visualItemRect(ship).center());
        // Runs inside the ship window, which opens once the click is handled.
        QTimer::singleShot(0, &window, [&] {
            shipName = window.unitDataWindow()->valueOf("艦名");
            window.unitDataWindow()->close();
        });
    });
    window.showOwnFleets(*state);
    EXPECT_EQ(fleets, QStringList{QStringLiteral("第一艦隊 伊藤指揮 速力27")});
    EXPECT_EQ(marks, 2);  // battleship and destroyer
    EXPECT_EQ(shipName, QStringLiteral("雪風"));
    EXPECT_FALSE(window.isVisible());  // closes after the ship window
    EXPECT_FALSE(checkMark);
    EXPECT_EQ(window.tree()->topLevelItemCount(), 0);  // emptied on hide
}

TEST_F(OwnFleetWindows, StanceLabelAfterTheButtonAndWhenOpenedAgain) {
    UnitDataWindow window;
    QString afterPatrol, afterAlert, reopened;
    QTimer::singleShot(0, &window, [&] {
        window.patrolButton()->click();
        afterPatrol = window.valueOf("戦闘状態");
        window.alertButton()->click();
        afterAlert = window.valueOf("戦闘状態");
        window.close();
    });
    EXPECT_FALSE(window.showShipData(*state, 0, 1));
    QTimer::singleShot(0, &window, [&] {
        reopened = window.valueOf("戦闘状態");
        window.close();
    });
    window.showShipData(*state, 0, 1);
    EXPECT_EQ(afterPatrol, QStringLiteral("対潜哨戒"));
    EXPECT_EQ(afterAlert, QStringLiteral("対空哨戒"));
    EXPECT_EQ(reopened, QStringLiteral("対空警戒"));
    EXPECT_EQ(state->FleetTable[0].Ships[1].CombatStance, 0);
}

TEST_F(OwnFleetWindows, AircraftButtonsNameTheTypesAndOpenTheirData) {
    testing::HangGuard guard;
    UnitDataWindow window;
    QString caption, attack;
    bool emptyEnabled = true;
    QTimer::singleShot(0, &window, [&] {
        caption = window.aircraftButton(0)->text();
        emptyEnabled =
            window.aircraftButton(1)->isEnabled() || !window.aircraftButton(1)->text().isEmpty();
        // The aircraft window's loop runs this.
        QTimer::singleShot(0, &window, [&] {
            attack = window.aircraftWindow()->valueOf("攻撃力");
            window.aircraftWindow()->closeButton()->click();
            window.close();
        });
        window.aircraftButton(0)->click();
    });
    window.showShipData(*state, 0, 0);
    EXPECT_EQ(caption, QStringLiteral("零戦"));
    EXPECT_FALSE(emptyEnabled);
    EXPECT_EQ(attack, QStringLiteral("25"));
}

// The question's answer: OK scuttles, cancel leaves the ship and the window.
TEST_F(OwnFleetWindows, ScuttleAsksFirstThenAddsThePointsAndClosesTheShipWindow) {
    testing::HangGuard guard;
    UnitDataWindow window;
    QString question;
    auto answer = [&](QMessageBox::StandardButton button) {
        QTimer::singleShot(0, &window, [&question, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            question = box->text();
            box->button(button)->click();
        });
    };
    QTimer::singleShot(0, &window, [&] {
        answer(QMessageBox::Cancel);
        window.scuttleButton()->click();
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(state->FleetTable[0].ShipCount, 2);
        answer(QMessageBox::Ok);
        window.scuttleButton()->click();
    });
    EXPECT_TRUE(window.showShipData(*state, 0, 0));  // the battleship, class durability 66
    EXPECT_TRUE(question.contains(QStringLiteral("自沈させますか"))) << question.toStdString();
    EXPECT_EQ(state->ScuttleTally[1], 60);
    EXPECT_EQ(state->FleetTable[0].ShipCount, 1);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(OwnFleetWindows, AMissingShipOpensNothing) {
    UnitDataWindow window;
    EXPECT_FALSE(window.showShipData(*state, 0, 5));
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace velmora::ui
