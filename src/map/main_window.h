// The main window: the map, the menu bar, the map's popup menu and the
// orders palette. Every action becomes an order of the engine; the window
// only draws what the orders leave.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "frontend/frontend.h"
#include "map/orders_palette.h"
#include "model/game_state.h"
#include "orders/orders.h"

class QAction;
class QLabel;
class QMenu;

namespace velmora::ui {
class AboutWindow;
class FleetInfoWindow;
class MessageLogWindow;
}  // namespace velmora::ui

namespace velmora::map {

class KeyHelpWindow;
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
    // Esc and a right click first ask this to end a caption sequence or a
    // conversation being shown; it answers whether it ended one.
    void setSkipHandler(std::function<bool()> handler) { skipHandler_ = std::move(handler); }

    // "新規": the open dialog, then the set-up.
    void newGame();
    // Sets up the scenario with the seed; true when the game started.
    bool startGame(const std::filesystem::path& snr, std::uint64_t seed);
    void saveSlot(int slot);
    void loadSlot(int slot);
    // The palette's "ターン終了" and the popup's: never while one runs.
    void endTurn();

    // Esc: ends a caption sequence or conversation, else back to normal mode.
    void escapePressed();
    // Backspace: drops the selected fleet's newest waypoint.
    void removeNewestWaypoint();

    // What the front end calls.
    void redrawMap();
    void refreshPalette();
    void setTurnEndEnabled(bool enabled);
    // A line went into the message log.
    void messageLogged();
    // A passing note in the status line (a save, a refused click).
    void showStatusMessage(const QString& text);

    // The tooltip of a palette button: what it does, its key, and why it
    // cannot be used now when it cannot.
    QString orderTip(PaletteOrder order) const;
    QAction* orderAction(PaletteOrder order) const {
        return orderActions_[static_cast<std::size_t>(order)];
    }
    QLabel* statusLine() const { return status_; }
    QMenu* saveMenu() const { return saveMenu_; }
    QMenu* loadMenu() const { return loadMenu_; }
    ui::MessageLogWindow* messageLogWindow() const { return log_; }
    KeyHelpWindow* keyHelpWindow() const { return help_; }

    MapView* mapView() const { return map_; }
    OrdersPalette* palette() const { return palette_; }
    QMenu* popupMenu() const { return popup_; }
    QAction* popupEndTurn() const { return popupEndTurn_; }
    QAction* popupCancel() const { return popupCancel_; }
    QAction* paletteMenuItem() const { return paletteItem_; }
    QAction* fleetMenuItem() const { return fleetItem_; }

  signals:
    // The window is closing: the program ends.
    void closing();
    // A map click in a target mode, for the window that waits for it.
    void targetPointClicked(Point at);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool setUp(const std::filesystem::path& snr, std::uint64_t seed);
    void buildMenus();
    void buildOrderMenu();
    void buildPopup();
    void connectPalette();
    void relabelSlots();
    void autoSave();
    void showMessageLog();
    void showKeyHelp();
    void updateStatus();
    void placePalette();
    void showPaletteBeside();
    QString disabledReason(PaletteOrder order) const;
    // A second click of a double click on "ターン終了" (or a key pressed again
    // as quickly) arrives just after the button came back: it is ignored.
    bool tooSoonAfterTurnEnd() const;
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
    QMenu* popup_ = nullptr;
    QAction* popupEndTurn_ = nullptr;
    QAction* popupCancel_ = nullptr;
    QAction* paletteItem_ = nullptr;
    QAction* fleetItem_ = nullptr;
    QAction* aboutItem_ = nullptr;
    QLabel* status_ = nullptr;
    QMenu* saveMenu_ = nullptr;
    QMenu* loadMenu_ = nullptr;
    std::array<QAction*, 6> saveItems_{};  // index = slot; 0 (the autosave) unused
    std::array<QAction*, 6> loadItems_{};
    std::array<QAction*, kPaletteOrderCount> orderActions_{};
    QList<QAction*> commands_;  // every command with a key, for the help window
    ui::MessageLogWindow* log_ = nullptr;
    KeyHelpWindow* help_ = nullptr;
    std::function<void(const std::string&)> scenarioFolderHandler_;
    std::function<bool()> skipHandler_;
    std::filesystem::path saveDirectory_;
    QElapsedTimer turnEndEnabledAt_;
    bool settingUp_ = false;
};

}  // namespace velmora::map
