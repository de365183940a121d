#include "ui/victory_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "ui/flat_button.h"
#include "ui/fonts.h"
#include "ui/window_look.h"

namespace velmora::ui {

namespace {

// Ship types 1..5 in the order the window lists them.
struct TypeRow {
    int type;
    const char* name;
};
constexpr std::array<TypeRow, 5> kTypeRows{
    {{1, "空母"}, {2, "戦艦"}, {3, "巡洋艦"}, {4, "駆逐艦"}, {5, "輸送船"}}};

QLabel* valueLabel(QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("0"), parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(48);
    return label;
}

QString number(std::int32_t n) {
    return QString::number(n);
}

}  // namespace

VictoryWindow::VictoryWindow(QWidget* mainWindow)
    : QDialog(mainWindow),
      mainWindow_(mainWindow),
      headline_(new QLabel(this)),
      close_(new FlatButton(QStringLiteral("OK"), this)) {
    applyWindowLook(this);
    setWindowTitle(QStringLiteral("勝利"));
    setModal(true);

    auto* halves = new QHBoxLayout;
    halves->addWidget(buildHalf(halves_[0], QStringLiteral("プレイヤー得点")));
    halves->addWidget(buildHalf(halves_[1], QStringLiteral("コンピュター得点")));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close_);
    headline_->setAlignment(Qt::AlignCenter);
    headline_->setFont(uiFont(kMincho, 20));
    headline_->setStyleSheet(QStringLiteral("color: #ffe060; background: transparent;"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headline_);
    layout->addLayout(halves);
    layout->addLayout(buttons);
    colourButtons({close_});
    resize(640, 520);

    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
}

QWidget* VictoryWindow::buildHalf(Half& half, const QString& totalCaption) {
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    int row = 0;
    auto addRow = [&](const QString& caption, QLabel*& value) {
        grid->addWidget(new QLabel(caption, panel), row, 0, 1, 2);
        value = valueLabel(panel);
        grid->addWidget(value, row++, 2);
    };
    addRow(totalCaption, half.total);
    addRow(QStringLiteral("揚陸ポイント"), half.landing);

    grid->addWidget(new QLabel(QStringLiteral("沈没艦"), panel), row, 1);
    grid->addWidget(new QLabel(QStringLiteral("損傷艦"), panel), row++, 2);
    for (const TypeRow& t : kTypeRows) {
        grid->addWidget(new QLabel(QString::fromUtf8(t.name), panel), row, 0);
        half.sunk_by_type[static_cast<std::size_t>(t.type)] = valueLabel(panel);
        half.damaged_by_type[static_cast<std::size_t>(t.type)] = valueLabel(panel);
        grid->addWidget(half.sunk_by_type[static_cast<std::size_t>(t.type)], row, 1);
        grid->addWidget(half.damaged_by_type[static_cast<std::size_t>(t.type)], row++, 2);
    }
    addRow(QStringLiteral("敵基地制圧得点"), half.capture);
    addRow(QStringLiteral("航空機損害"), half.aircraft);
    half.sunk = new QListWidget(panel);
    grid->addWidget(half.sunk, row, 0, 1, 3);
    return panel;
}

void VictoryWindow::fill(const VictoryReport& report) {
    const QString outcome =
        report.Outcome.empty() ? QStringLiteral("勝利") : QString::fromStdString(report.Outcome);
    setWindowTitle(outcome);
    headline_->setText(outcome);
    for (std::size_t side = 0; side < halves_.size(); ++side) {
        Half& half = halves_[side];
        half.total->setText(number(report.Totals[side]));
        half.landing->setText(number(report.LandingShown[side]));
        for (const TypeRow& t : kTypeRows) {
            const auto type = static_cast<std::size_t>(t.type);
            half.sunk_by_type[type]->setText(number(report.Sunk[side][type]));
            half.damaged_by_type[type]->setText(number(report.Damaged[side][type]));
        }
        half.capture->setText(number(report.CapturePoints[side]));
        half.aircraft->setText(number(report.AircraftLosses[side]));
        half.sunk->clear();
        for (const std::string& name : report.SunkNames[side]) {
            half.sunk->addItem(QString::fromStdString(name));
        }
    }
}

void VictoryWindow::show(const VictoryReport& report) {
    fill(report);
    exec();
}

QString VictoryWindow::valueOf(int half, const QString& label) const {
    if (half < 0 || half > 1) return {};
    const Half& h = halves_[static_cast<std::size_t>(half)];
    if (label == QStringLiteral("得点")) return h.total->text();
    if (label == QStringLiteral("揚陸ポイント")) return h.landing->text();
    if (label == QStringLiteral("敵基地制圧得点")) return h.capture->text();
    if (label == QStringLiteral("航空機損害")) return h.aircraft->text();
    for (const TypeRow& t : kTypeRows) {
        const auto type = static_cast<std::size_t>(t.type);
        if (label == QStringLiteral("沈没艦") + QString::fromUtf8(t.name))
            return h.sunk_by_type[type]->text();
        if (label == QStringLiteral("損傷艦") + QString::fromUtf8(t.name))
            return h.damaged_by_type[type]->text();
    }
    return {};
}

void VictoryWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    placeOver(this, mainWindow_);
}

}  // namespace velmora::ui
