// The orders palette ("命令"): the fleet tree, the summary of the selected
// fleet and the order buttons. It only reports what the player pressed; the
// main window turns that into orders.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace velmora::ui {
class CompressedImageWidget;
class FlatButton;
}  // namespace velmora::ui

namespace velmora::map {

enum class PaletteOrder {
    kMove,
    kAirRaid,
    kFormation,
    kDistance,
    kFleetInfo,
    kSearch,
    kSplit,
    kJoin,
    kWeather,
    kAswSearch,
    kAswAttack,
    kEndTurn,
};
inline constexpr int kPaletteOrderCount = 12;

class OrdersPalette : public QWidget {
    Q_OBJECT

  public:
    explicit OrdersPalette(QWidget* mainWindow = nullptr);

    // The fleet tree (one top-level item per fleet 0..12) and the summary.
    void setFleets(const std::vector<std::string>& treeTexts, int selected);
    void setSummary(const std::string& text);
    // The order is offered (shown and enabled) or not.
    void setOrderEnabled(PaletteOrder order, bool enabled);

    ui::FlatButton* button(PaletteOrder order) const {
        return buttons_[static_cast<std::size_t>(order)];
    }
    QTreeWidget* fleetTree() const { return tree_; }
    QLineEdit* summary() const { return summary_; }
    const QImage& background() const { return background_; }

  signals:
    void orderPressed(PaletteOrder order);
    // The player picked the tree item of fleet n.
    void fleetChosen(int n);
    void visibilityChanged(bool visible);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void buildButtons();
    void colourButtons();

    QImage background_;
    ui::CompressedImageWidget* picture_;
    QLabel* heading_;
    QLineEdit* summary_;
    QTreeWidget* tree_;
    std::array<ui::FlatButton*, kPaletteOrderCount> buttons_{};
    bool filling_ = false;
};

}  // namespace velmora::map
