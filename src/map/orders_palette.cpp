#include "map/orders_palette.h"

#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include "ui/compressed_image.h"
#include "ui/flat_button.h"
#include "ui/fonts.h"
#include "ui/window_placement.h"

namespace velmora::map {
namespace {

constexpr int kPaletteWidth = 361;
constexpr int kPaletteHeight = 453;
constexpr int kPictureWidth = 353;
constexpr int kPictureHeight = 417;
constexpr QPoint kFirstPlace{629, 130};
constexpr QSize kButtonSize{80, 32};

struct ButtonPlace {
    PaletteOrder order;
    const char* caption;
    int left;
    int top;
};

// The order buttons where the palette's design puts them.
constexpr std::array<ButtonPlace, kPaletteOrderCount> kButtons{{
    {PaletteOrder::kMove, "移動", 72, 216},
    {PaletteOrder::kAirRaid, "空襲", 160, 216},
    {PaletteOrder::kFormation, "編成", 248, 216},
    {PaletteOrder::kDistance, "距離", 72, 256},
    {PaletteOrder::kFleetInfo, "艦隊情報", 160, 256},
    {PaletteOrder::kSearch, "航空索敵", 248, 256},
    {PaletteOrder::kSplit, "分離", 72, 296},
    {PaletteOrder::kJoin, "合流", 160, 296},
    {PaletteOrder::kWeather, "天候", 248, 296},
    {PaletteOrder::kAswSearch, "対潜索敵", 72, 336},
    {PaletteOrder::kAswAttack, "対潜攻撃", 160, 336},
    {PaletteOrder::kEndTurn, "ターン終了", 248, 336},
}};

}  // namespace

OrdersPalette::OrdersPalette(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    setWindowTitle(QStringLiteral("命令"));
    // The designed size is the outer one, frame and caption included.
    setFixedSize(ui::clientSizeFor(kPaletteWidth, kPaletteHeight));
    move(kFirstPlace);
    setFont(ui::uiFont(ui::kPGothic, 9));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0x10, 0x18, 0x30));
    setPalette(colours);

    background_ = ui::loadBackground(QStringLiteral(":/backgrounds/palette.vci"));
    // The few rows below the picture take its bottom colour, so no band shows.
    if (!background_.isNull()) {
        colours.setColor(QPalette::Window,
                         background_.pixelColor(background_.width() / 2, background_.height() - 1));
        setPalette(colours);
    }
    picture_ = new ui::CompressedImageWidget(this);
    picture_->setPicture(background_);
    picture_->setGeometry(0, 0, kPictureWidth, kPictureHeight);

    heading_ = new QLabel(QStringLiteral("現在選択中の艦隊"), this);
    heading_->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    heading_->move(80, 8);
    heading_->adjustSize();

    summary_ = new QLineEdit(this);
    summary_->setReadOnly(true);
    summary_->setFocusPolicy(Qt::NoFocus);
    summary_->setGeometry(40, 24, 289, 20);
    summary_->setStyleSheet(QStringLiteral("color: white; background: black;"));

    tree_ = new QTreeWidget(this);
    tree_->setGeometry(16, 56, 329, 153);
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(false);
    tree_->setStyleSheet(
        QStringLiteral("QTreeWidget { color: white; background: black; }"
                       "QTreeWidget::item:selected { color: black; background: #c0d8ff; }"));
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (filling_ || item == nullptr) return;
        emit fleetChosen(tree_->indexOfTopLevelItem(item));
    });

    buildButtons();
    // The two ASW orders are not offered from the palette.
    button(PaletteOrder::kAswSearch)->hide();
    button(PaletteOrder::kAswAttack)->hide();
    setOrderEnabled(PaletteOrder::kAswSearch, false);
    setOrderEnabled(PaletteOrder::kAswAttack, false);
}

void OrdersPalette::buildButtons() {
    for (const ButtonPlace& place : kButtons) {
        auto* b = new ui::FlatButton(QString::fromUtf8(place.caption), this);
        b->setGeometry(QRect(QPoint(place.left, place.top), kButtonSize));
        const PaletteOrder order = place.order;
        connect(b, &QPushButton::clicked, this, [this, order] { emit orderPressed(order); });
        buttons_[static_cast<std::size_t>(order)] = b;
    }
}

void OrdersPalette::colourButtons() {
    // The face takes the colour of the picture ten pixels in from its
    // top-right corner.
    const QColor face = background_.pixelColor(background_.width() - 10, 0);
    for (ui::FlatButton* b : buttons_) b->setFaceColour(face);
}

void OrdersPalette::setFleets(const std::vector<std::string>& treeTexts, int selected) {
    filling_ = true;
    // The refresh may come from the tree's own selection signal: keep the
    // items and change their texts rather than delete them under it.
    if (tree_->topLevelItemCount() != static_cast<int>(treeTexts.size())) {
        tree_->clear();
        for (std::size_t i = 0; i < treeTexts.size(); ++i) new QTreeWidgetItem(tree_);
    }
    for (std::size_t i = 0; i < treeTexts.size(); ++i) {
        tree_->topLevelItem(static_cast<int>(i))->setText(0, QString::fromStdString(treeTexts[i]));
    }
    QTreeWidgetItem* wanted = selected >= 0 && selected < tree_->topLevelItemCount()
                                  ? tree_->topLevelItem(selected)
                                  : nullptr;
    if (tree_->currentItem() != wanted) tree_->setCurrentItem(wanted);
    filling_ = false;
}

void OrdersPalette::setSummary(const std::string& text) {
    summary_->setText(QString::fromStdString(text));
    summary_->setCursorPosition(0);
}

void OrdersPalette::setOrderEnabled(PaletteOrder order, bool enabled) {
    button(order)->setEnabled(enabled);
}

void OrdersPalette::showEvent(QShowEvent* event) {
    colourButtons();
    QWidget::showEvent(event);
    emit visibilityChanged(true);
}

void OrdersPalette::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit visibilityChanged(false);
}

}  // namespace velmora::map
