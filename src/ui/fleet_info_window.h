// The information windows about the player's own units: the fleet
// information window ("艦隊情報": a tree of fleets and ships beside a
// formation sketch), the unit data window ("ユニットデ－タ": one ship, its
// stance and scuttling) and the aircraft data window ("航空機データ").
// The rules live in orders/fleet_info.
#pragma once

#include <QDialog>
#include <QWidget>
#include <array>
#include <vector>

#include "model/game_state.h"
#include "orders/fleet_info.h"

class QGridLayout;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace velmora::ui {

class FlatButton;
class MessageWindow;

// Label/value rows of an information window, rebuilt for every unit shown.
class DataGrid : public QWidget {
    Q_OBJECT

  public:
    DataGrid(int columns, QWidget* parent = nullptr);

    void setLines(const std::vector<DataLine>& lines);
    // The value beside a label; empty when there is no such label.
    QString valueOf(const QString& label) const;
    void setValue(const QString& label, const QString& value);

  private:
    int columns_;
    QGridLayout* grid_;
    std::vector<std::pair<QLabel*, QLabel*>> rows_;
};

// A blue picture area. No scenario ships pictures of its ship classes or
// aircraft, so a plain silhouette with the name stands in for the picture.
class StandInPicture : public QWidget {
    Q_OBJECT

  public:
    enum class Kind { kShip, kAircraft };

    StandInPicture(Kind kind, QSize size, QWidget* parent = nullptr);
    void setName(const QString& name);
    const QString& name() const { return name_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Kind kind_;
    QString name_;
};

// The blue picture area with the carriers, battleships, cruisers and
// destroyers of one fleet on their rings.
class FormationView : public QWidget {
    Q_OBJECT

  public:
    explicit FormationView(QWidget* parent = nullptr);

    void showFleet(const GameState& state, int fleet);
    const std::vector<FormationMark>& marks() const { return marks_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<FormationMark> marks_;
    std::vector<QString> names_;
};

class AircraftDataWindow : public QDialog {
    Q_OBJECT

  public:
    explicit AircraftDataWindow(QWidget* owner = nullptr);

    // Shows the figures of AircraftTypeTable[type] modally; nothing happens
    // for a type outside the table.
    void showAircraftData(const GameState& state, int type);
    QString valueOf(const QString& label) const;
    FlatButton* closeButton() const { return close_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* owner_;
    StandInPicture* picture_;
    DataGrid* grid_;
    FlatButton* close_;
};

class UnitDataWindow : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kAircraftButtons = 6;

    // Centred over mainWindow; owned by parent (the main window when none).
    explicit UnitDataWindow(QWidget* mainWindow = nullptr, QWidget* parent = nullptr);

    // Shows one of the player's ships modally. Returns true when the player
    // scuttled it (the window then closes by itself).
    bool showShipData(GameState& state, int fleet, int slot);

    QString valueOf(const QString& label) const;
    FlatButton* aircraftButton(int i) const { return aircraft_[static_cast<std::size_t>(i)]; }
    FlatButton* patrolButton() const { return patrol_; }
    FlatButton* alertButton() const { return alert_; }
    FlatButton* scuttleButton() const { return scuttle_; }
    // Asks before a ship is scuttled.
    MessageWindow* scuttleQuestion() const { return question_; }
    AircraftDataWindow* aircraftWindow() const { return aircraftWindow_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void setStance(ShipStance stance);
    void scuttleShown();
    void showAircraft(int button);

    QWidget* mainWindow_;
    StandInPicture* strip_;
    DataGrid* grid_;
    std::array<FlatButton*, kAircraftButtons> aircraft_{};
    std::array<std::optional<int>, kAircraftButtons> aircraftTypes_{};
    FlatButton* patrol_;
    FlatButton* alert_;
    FlatButton* scuttle_;
    MessageWindow* question_;
    AircraftDataWindow* aircraftWindow_;
    GameState* state_ = nullptr;
    int fleet_ = 0;
    int slot_ = 0;
    bool scuttled_ = false;
};

class FleetInfoWindow : public QDialog {
    Q_OBJECT

  public:
    explicit FleetInfoWindow(QWidget* mainWindow = nullptr);

    // The menu item "艦隊": lists the player's fleets and shows the window
    // modally. Does nothing while no game is running.
    void showOwnFleets(GameState& state);
    // Rebuilds the list and redraws the first fleet without showing again.
    void refreshOwnFleets();

    QTreeWidget* tree() const { return tree_; }
    FormationView* formation() const { return formation_; }
    UnitDataWindow* unitDataWindow() const { return unitData_; }

  signals:
    // True while the window is open (the menu item's check mark).
    void openChanged(bool open);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void widenToFitLines();
    void nodeSelected(QTreeWidgetItem* item);
    void openNode(int index);

    QWidget* mainWindow_;
    FormationView* formation_;
    QTreeWidget* tree_;
    UnitDataWindow* unitData_;
    GameState* state_ = nullptr;
    std::vector<FleetTreeNode> nodes_;
    FleetTreeSelection selection_;
};

}  // namespace velmora::ui
