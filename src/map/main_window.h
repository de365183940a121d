// The main window: the map, the menu bar, the map's popup menu and the
// orders palette. Every action becomes an order of the engine; the window
// only draws what the orders leave.
#pragma once

#include <QMainWindow>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "frontend/frontend.h"
#include "map/orders_palette.h"
#include "model/game_state.h"
#include "orders/orders.h"

class QAction;
class QMenu;

namespace velmora::ui {
class AboutWindow;
class FleetInfoWindow;
class ReorganisationWindow;
}  // namespace velmora::ui

namespace velmora::view3d {
class UnitViewer;
}  // namespace velmora::view3d

namespace velmora::map {

class MapView;

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(GameState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The front end the orders talk through; set before any game.
    void setFrontend(Frontend* frontend) { frontend_ = frontend; }
    // Adds a menu (the sound menu) before "バージョン情報".
    void addMenuBeforeAbout(QMenu* menu);
    // Called with the scenario folder before a new game is set up.
    void setScenarioFolderHandler(std::function<void(const std::string&)> handler);
    void setSaveDirectory(std::filesystem::path dir) { saveDirectory_ = std::move(dir); }

    // "新規": the open dialog, then the set-up.
    void newGame();
    // Sets up the scenario with the seed; true when the game started.
    bool startGame(const std::filesystem::path& snr, std::uint64_t seed);
    void saveSlot(int slot);
    void loadSlot(int slot);
    // The palette's "ターン終了" and the popup's: never while one runs.
    void endTurn();

    // What the front end calls.
    void redrawMap();
    void refreshPalette();
    void setTurnEndEnabled(bool enabled);

    MapView* mapView() const { return map_; }
    OrdersPalette* palette() const { return palette_; }
    QMenu* popupMenu() const { return popup_; }
    QAction* popupEndTurn() const { return popupEndTurn_; }
    QAction* popupCancel() const { return popupCancel_; }
    QAction* paletteMenuItem() const { return paletteItem_; }
    QAction* fleetMenuItem() const { return fleetItem_; }
    view3d::UnitViewer* unitViewer() const { return viewer_; }

  signals:
    // The window is closing: the program ends.
    void closing();
    // A map click in a target mode, for the window that waits for it.
    void targetPointClicked(Point at);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    bool setUp(const std::filesystem::path& snr, std::uint64_t seed);
    void buildMenus();
    void buildPopup();
    void connectPalette();
    void mapPressed(MouseButton button, Point at, QPoint globalPos);
    void paletteOrder(PaletteOrder order);
    void showPalette();
    void showOwnFleets();
    bool hasGame() const { return state_.MapMode != kMapModeNoGame; }
    // A set-up or a turn end is running and waits for the player somewhere:
    // nothing may start another one or replace the game under it.
    bool busy() const { return settingUp_ || state_.TurnEndRunning; }

    GameState& state_;
    Frontend* frontend_ = nullptr;
    MapView* map_;
    OrdersPalette* palette_;
    ui::FleetInfoWindow* fleetInfo_;
    ui::AboutWindow* about_;
    ui::ReorganisationWindow* reorganisation_;
    view3d::UnitViewer* viewer_;
    QMenu* popup_ = nullptr;
    QAction* popupEndTurn_ = nullptr;
    QAction* popupCancel_ = nullptr;
    QAction* paletteItem_ = nullptr;
    QAction* fleetItem_ = nullptr;
    QAction* aboutItem_ = nullptr;
    std::function<void(const std::string&)> scenarioFolderHandler_;
    std::filesystem::path saveDirectory_;
    bool settingUp_ = false;
};

}  // namespace velmora::map
