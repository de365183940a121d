// The fleet reorganisation window ("艦隊再編"): two ship lists with their
// commander and fleet names, "<" and ">" to move ships, "決定" to keep the
// names. The rules live in orders/reorganisation_session.
#pragma once

#include <QDialog>
#include <optional>

#include "frontend/frontend.h"
#include "model/game_state.h"
#include "orders/reorganisation_session.h"

class QLineEdit;
class QListWidget;

namespace velmora::ui {

class FlatButton;

class ReorganisationWindow : public QDialog {
    Q_OBJECT

  public:
    explicit ReorganisationWindow(QWidget* mainWindow = nullptr);

    // Shows the session modally; when the window has closed the closing
    // rules have run.
    void run(const ReorganisationSession& session, GameState& state, Frontend& ui);

    QListWidget* leftList() const { return leftList_; }
    QListWidget* rightList() const { return rightList_; }
    QLineEdit* leftCommander() const { return leftCommander_; }
    QLineEdit* leftName() const { return leftName_; }
    QLineEdit* rightCommander() const { return rightCommander_; }
    QLineEdit* rightName() const { return rightName_; }
    FlatButton* moveLeftButton() const { return moveLeft_; }
    FlatButton* moveRightButton() const { return moveRight_; }
    FlatButton* decideButton() const { return decide_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void moveRight();
    void moveLeft();
    void decide();
    void fillLists();
    ReorganisationNames boxNames() const;
    void setBoxNames(const ReorganisationNames& names);

    QWidget* mainWindow_;
    QLineEdit* leftCommander_;
    QLineEdit* leftName_;
    QLineEdit* rightCommander_;
    QLineEdit* rightName_;
    QListWidget* leftList_;
    QListWidget* rightList_;
    FlatButton* moveLeft_;
    FlatButton* moveRight_;
    FlatButton* decide_;
    std::optional<ReorganisationSession> session_;
    GameState* state_ = nullptr;
    bool decided_ = false;
};

}  // namespace velmora::ui
