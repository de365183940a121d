// The target windows: the target list ("目標"), the attack-target choice
// ("攻撃目標選択") and the search information ("索敵情報"). The rules they
// follow live in orders/target_choice.
#pragma once

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

#include "model/game_state.h"
#include "orders/target_choice.h"

class QButtonGroup;
class QLabel;
class QListWidget;

namespace velmora::ui {

class FlatButton;

inline constexpr int kTargetCancelled = 999;

// Picks one name of a list. A single click remembers the line, a double
// click closes, "OK" takes the selected line, "Cancel" gives 999; closing
// the window otherwise keeps the last line clicked (999 when none was).
class TargetListWindow : public QDialog {
    Q_OBJECT

  public:
    explicit TargetListWindow(QWidget* mainWindow = nullptr);

    int pick(const QString& caption, const QStringList& names);

    QListWidget* list() const { return list_; }
    FlatButton* okButton() const { return ok_; }
    FlatButton* cancelButton() const { return cancel_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void takeSelected();
    void cancel();

    QWidget* mainWindow_;
    QListWidget* list_;
    FlatButton* ok_;
    FlatButton* cancel_;
    int result_ = kTargetCancelled;
};

// Sets the ship group an arriving attack aims at and how many ships of its
// first, second and third group it engages.
class AttackTargetWindow : public QDialog {
    Q_OBJECT

  public:
    explicit AttackTargetWindow(QWidget* mainWindow = nullptr);

    void choose(TAirUnit& attack, const QString& caption);

    QButtonGroup* typeGroup() const { return typeGroup_; }
    QButtonGroup* countGroup(int g) const { return countGroups_[static_cast<std::size_t>(g)]; }
    QButtonGroup* stateGroup() const { return stateGroup_; }
    QLabel* captionLabel() const { return caption_; }
    FlatButton* decideButton() const { return decide_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void showSession();

    QWidget* mainWindow_;
    QLabel* caption_;
    QButtonGroup* typeGroup_;
    std::array<QButtonGroup*, TargetChoiceSession::kRequestGroups> countGroups_{};
    QButtonGroup* stateGroup_;
    FlatButton* decide_;
    std::optional<TargetChoiceSession> session_;
};

// What search has found about one enemy fleet; shown without blocking.
class SearchInfoWindow : public QDialog {
    Q_OBJECT

  public:
    explicit SearchInfoWindow(QWidget* mainWindow = nullptr);

    void show(const TFleet& fleet, const GameState& state);

    // What "詳細" opens (the fleet's detail view). The button is offered at
    // the highest detection level, and only once a handler is set.
    void setDetailHandler(std::function<void(const TFleet&)> handler);

    // The value shown beside a label ("総隻数", ...); empty when none.
    QString valueOf(const QString& label) const;
    FlatButton* detailButton() const { return detail_; }
    FlatButton* cancelButton() const { return cancel_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* mainWindow_;
    std::vector<std::pair<QLabel*, QLabel*>> rows_;
    FlatButton* detail_;
    FlatButton* cancel_;
    std::function<void(const TFleet&)> detailHandler_;
    TFleet shown_;
};

}  // namespace velmora::ui
