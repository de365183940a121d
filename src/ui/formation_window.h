// The strike-group window in its two modes: formation ("攻撃隊編成"), where
// the player shares the selected fleet's aircraft between the hangar, the
// four strike groups, the patrol and the search; and launch ("攻撃隊選択"),
// where he picks ready groups and then the target on the map. The rules
// live in orders/formation_session; this window shows and asks.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <array>
#include <optional>

#include "frontend/frontend.h"
#include "model/game_state.h"
#include "orders/formation_session.h"

class QButtonGroup;
class QEventLoop;
class QGroupBox;
class QLabel;

namespace velmora::ui {

class FlatButton;

// A read-only number box that reacts to a click.
class CountBox : public QLineEdit {
    Q_OBJECT

public:
    explicit CountBox(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

class FormationWindow : public QDialog {
    Q_OBJECT

public:
    explicit FormationWindow(QWidget* mainWindow = nullptr);

    // Formation mode: modal; closes only through "決定" with the checks passed.
    void openFormation(GameState& state, Frontend& ui, int fleet);
    // Launch mode: shown without blocking the map; returns after a launch
    // or "決定".
    void openLaunch(GameState& state, Frontend& ui, int fleet);
    // The map click of the air-raid mode (the point already moved 8 up and
    // left); ignored unless the window waits for a target.
    void targetClicked(Point at);

    bool waitingForTarget() const { return launch_.has_value(); }
    FlatButton* decideButton() const { return decide_; }
    FlatButton* attackButton(int g) const { return rows_[static_cast<std::size_t>(g)].attack; }
    CountBox* fighterBox(int g) const { return rows_[static_cast<std::size_t>(g)].fighters; }
    CountBox* attackerBox(int g) const { return rows_[static_cast<std::size_t>(g)].attackers; }
    QLineEdit* coverBox(int g) const { return rows_[static_cast<std::size_t>(g)].cover; }
    QLabel* stateLabel(int g) const { return rows_[static_cast<std::size_t>(g)].state; }
    QButtonGroup* loadGroup(int g) const { return rows_[static_cast<std::size_t>(g)].load; }
    CountBox* patrolBox() const { return patrol_; }
    CountBox* searchBox() const { return search_; }
    QLineEdit* hangarBox(int k) const { return hangar_[static_cast<std::size_t>(k)]; }
    QLabel* deckLabel() const { return deck_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    struct Row {
        QLabel* state = nullptr;
        FlatButton* attack = nullptr;
        CountBox* fighters = nullptr;
        CountBox* attackers = nullptr;
        CountBox* scouts = nullptr;  // hidden and disabled
        QGroupBox* loadBox = nullptr;
        QButtonGroup* load = nullptr;
        QLabel* loadText = nullptr;
        QLineEdit* cover = nullptr;
    };

    void buildRow(int g, int top);
    void edit(FormationBox box, int g);
    void loadClicked(int g, int kind);
    void attackClicked(int g);
    void decide();
    void showFormation();
    void showLaunch();
    void setLaunchMode(bool launch);

    QWidget* mainWindow_;
    GameState* state_ = nullptr;
    Frontend* ui_ = nullptr;
    std::optional<FormationSession> formation_;
    std::optional<LaunchSession> launch_;
    QEventLoop* wait_ = nullptr;
    bool closing_ = false;

    QLabel* deck_;
    std::array<Row, 4> rows_{};
    CountBox* patrol_;
    CountBox* search_;
    std::array<QLineEdit*, 3> hangar_{};
    FlatButton* decide_;
};

}  // namespace velmora::ui
