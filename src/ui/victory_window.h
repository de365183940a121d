// The victory window: both sides' points at the scenario's last turn, the
// player's half on the left and the computer's on the right.
#pragma once

#include <QDialog>
#include <array>

#include "frontend/reports.h"

class QLabel;
class QListWidget;

namespace velmora::ui {

class FlatButton;

class VictoryWindow : public QDialog {
    Q_OBJECT

  public:
    explicit VictoryWindow(QWidget* mainWindow = nullptr);

    // Fills the window from the report and shows it modally; the caption
    // becomes the outcome.
    void show(const VictoryReport& report);
    // The same without waiting, for tests and previews.
    void fill(const VictoryReport& report);

    // What a half (0 left, 1 right) shows beside a label: "得点" (the total),
    // "揚陸ポイント", "沈没艦空母" … "損傷艦輸送船", "敵基地制圧得点", "航空機損害".
    QString valueOf(int half, const QString& label) const;
    QListWidget* sunkList(int half) const { return halves_[static_cast<std::size_t>(half)].sunk; }
    FlatButton* closeButton() const { return close_; }
    // The outcome in large type at the top of the window.
    QLabel* headline() const { return headline_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    struct Half {
        QLabel* total = nullptr;
        QLabel* landing = nullptr;
        std::array<QLabel*, 6> sunk_by_type{};
        std::array<QLabel*, 6> damaged_by_type{};
        QLabel* capture = nullptr;
        QLabel* aircraft = nullptr;
        QListWidget* sunk = nullptr;
    };
    QWidget* buildHalf(Half& half, const QString& totalCaption);

    QWidget* mainWindow_;
    std::array<Half, 2> halves_;
    QLabel* headline_;
    FlatButton* close_;
};

}  // namespace velmora::ui
