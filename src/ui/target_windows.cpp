#include "ui/target_windows.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/flat_button.h"
#include "ui/window_look.h"

namespace velmora::ui {

namespace {

// A captioned box of radio buttons, ids 0..n-1 in item order.
template <std::size_t N>
QGroupBox* radioBox(std::string_view caption, const std::array<std::string_view, N>& items,
                    QButtonGroup* group, int columns) {
    auto* box = new QGroupBox(fromEngineText(caption));
    auto* grid = new QGridLayout(box);
    for (std::size_t i = 0; i < N; ++i) {
        auto* radio = new QRadioButton(fromEngineText(items[i]), box);
        group->addButton(radio, static_cast<int>(i));
        grid->addWidget(radio, static_cast<int>(i) / columns, static_cast<int>(i) % columns);
    }
    return box;
}

// Checks button `id`, or none of them.
void selectRadio(QButtonGroup* group, std::optional<int> id) {
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) button->setChecked(false);
    group->setExclusive(true);
    if (id) {
        if (QAbstractButton* button = group->button(*id)) button->setChecked(true);
    }
}

}  // namespace

// ---- 目標 ---------------------------------------------------------------

TargetListWindow::TargetListWindow(QWidget* mainWindow)
    : QDialog(mainWindow),
      mainWindow_(mainWindow),
      list_(new QListWidget(this)),
      ok_(new FlatButton(QStringLiteral("OK"), this)),
      cancel_(new FlatButton(QStringLiteral("Cancel"), this)) {
    applyWindowLook(this);
    setWindowTitle(QStringLiteral("目標"));
    setModal(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    colourButtons({ok_, cancel_});
    resize(260, 280);

    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { result_ = list_->row(item); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        result_ = list_->row(item);
        accept();
    });
    connect(ok_, &QPushButton::clicked, this, &TargetListWindow::takeSelected);
    connect(cancel_, &QPushButton::clicked, this, &TargetListWindow::cancel);
}

int TargetListWindow::pick(const QString& caption, const QStringList& names) {
    setWindowTitle(caption.isEmpty() ? QStringLiteral("目標") : caption);
    list_->clear();
    list_->addItems(names);
    result_ = kTargetCancelled;
    if (list_->count() > 0) list_->setCurrentRow(0);
    exec();
    list_->clear();
    return result_;
}

void TargetListWindow::takeSelected() {
    const int row = list_->currentRow();
    result_ = row >= 0 ? row : kTargetCancelled;
    accept();
}

void TargetListWindow::cancel() {
    result_ = kTargetCancelled;
    reject();
}

void TargetListWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    placeOver(this, mainWindow_);
}

// ---- 攻撃目標選択 ---------------------------------------------------------

AttackTargetWindow::AttackTargetWindow(QWidget* mainWindow)
    : QDialog(mainWindow),
      mainWindow_(mainWindow),
      caption_(new QLabel(this)),
      typeGroup_(new QButtonGroup(this)),
      stateGroup_(new QButtonGroup(this)),
      decide_(new FlatButton(QStringLiteral("決定"), this)) {
    applyWindowLook(this);
    setWindowTitle(QStringLiteral("攻撃目標選択"));
    setModal(true);

    auto* heading = new QHBoxLayout;
    heading->addWidget(caption_);
    heading->addWidget(new QLabel(QStringLiteral("の目標設定"), this));
    heading->addStretch();

    auto* counts = new QHBoxLayout;
    for (std::size_t g = 0; g < countGroups_.size(); ++g) {
        countGroups_[g] = new QButtonGroup(this);
        counts->addWidget(radioBox(kTargetCountCaptions[g], kTargetCountItems, countGroups_[g], 3));
    }

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(radioBox("目標状態", kTargetStateItems, stateGroup_, 3));
    bottom->addStretch();
    bottom->addWidget(decide_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(radioBox("目標艦種", kTargetShipTypeItems, typeGroup_, 2));
    layout->addLayout(counts);
    layout->addLayout(bottom);
    colourButtons({decide_});
    if (QAbstractButton* any = stateGroup_->button(0)) any->setChecked(true);

    connect(typeGroup_, &QButtonGroup::idClicked, this, [this](int id) {
        if (session_) session_->ChooseTypeItem(id);
    });
    for (std::size_t g = 0; g < countGroups_.size(); ++g) {
        connect(countGroups_[g], &QButtonGroup::idClicked, this, [this, g](int id) {
            if (session_) session_->ChooseCountItem(static_cast<int>(g), id);
        });
    }
    connect(decide_, &QPushButton::clicked, this, &QDialog::accept);
}

void AttackTargetWindow::choose(TAirUnit& attack, const QString& caption) {
    caption_->setText(caption);
    session_.emplace(attack);
    showSession();
    exec();
    // Closing the window any way decides as it stands.
    session_->Apply(attack);
    session_.reset();
}

void AttackTargetWindow::showSession() {
    selectRadio(typeGroup_, session_->SelectedTypeItem());
    for (std::size_t g = 0; g < countGroups_.size(); ++g) {
        selectRadio(countGroups_[g], session_->SelectedCountItem(static_cast<int>(g)));
    }
}

void AttackTargetWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    placeOver(this, mainWindow_);
}

// ---- 索敵情報 -------------------------------------------------------------

SearchInfoWindow::SearchInfoWindow(QWidget* mainWindow)
    : QDialog(mainWindow),
      mainWindow_(mainWindow),
      detail_(new FlatButton(QStringLiteral("詳細"), this)),
      cancel_(new FlatButton(QStringLiteral("キャンセル"), this)) {
    applyWindowLook(this);
    setWindowTitle(QStringLiteral("索敵情報"));
    setModal(false);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    for (std::size_t i = 0; i < kSearchInfoLabels.size(); ++i) {
        auto* label = new QLabel(fromEngineText(kSearchInfoLabels[i]), this);
        auto* value = new QLabel(this);
        grid->addWidget(label, static_cast<int>(i), 0);
        grid->addWidget(value, static_cast<int>(i), 1);
        rows_.emplace_back(label, value);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(detail_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    colourButtons({detail_, cancel_});
    detail_->hide();

    connect(cancel_, &QPushButton::clicked, this, &QDialog::close);
    connect(detail_, &QPushButton::clicked, this, [this] {
        if (detailHandler_) detailHandler_(shown_);
    });
}

void SearchInfoWindow::show(const TFleet& fleet, const GameState& state) {
    shown_ = fleet;
    const auto lines = SearchInfoLines(state, fleet);
    for (std::size_t i = 0; i < lines.size() && i < rows_.size(); ++i) {
        rows_[i].second->setText(fromEngineText(lines[i].Value));
    }
    detail_->setVisible(detailHandler_ && SearchInfoOffersDetail(fleet));
    QDialog::show();
    raise();
    activateWindow();
}

void SearchInfoWindow::setDetailHandler(std::function<void(const TFleet&)> handler) {
    detailHandler_ = std::move(handler);
}

QString SearchInfoWindow::valueOf(const QString& label) const {
    for (const auto& [name, value] : rows_) {
        if (name->text() == label) return value->text();
    }
    return {};
}

void SearchInfoWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    placeOver(this, mainWindow_);
}

}  // namespace velmora::ui
