#include "ui/formation_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>

#include "air/air_units.h"
#include "model/labels.h"
#include "ui/flat_button.h"
#include "ui/window_look.h"
#include "ui/window_placement.h"

namespace velmora::ui {
namespace {

constexpr std::array<const char*, 4> kGroupNames{"第一次攻撃隊", "第二次攻撃隊", "第三次攻撃隊",
                                                 "第四次攻撃隊"};
constexpr int kNameLeft = 8;
constexpr int kStateLeft = 100;
constexpr int kAttackLeft = 196;
constexpr int kFighterLeft = 252;
constexpr int kAttackerLeft = 308;
constexpr int kScoutLeft = 364;
constexpr int kLoadLeft = 420;
constexpr int kBoxWidth = 48;
constexpr int kRowHeight = 40;
constexpr int kFirstRowTop = 56;

QLabel* label(const QString& text, QWidget* parent, int left, int top) {
    auto* l = new QLabel(text, parent);
    l->move(left, top);
    l->adjustSize();
    return l;
}

QString number(int n) { return QString::number(n); }

}  // namespace

CountBox::CountBox(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    setAlignment(Qt::AlignRight);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void CountBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isEnabled()) emit clicked();
    event->accept();
}

FormationWindow::FormationWindow(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                              Qt::WindowTitleHint),
      mainWindow_(mainWindow),
      decide_(new FlatButton(QStringLiteral("決定"), this)) {
    applyWindowLook(this);
    setWindowTitle(fromEngineText(kFormationCaption));
    setFixedSize(560, 340);

    label(QStringLiteral("甲板待機数"), this, kNameLeft, 10);
    deck_ = label(QStringLiteral("0"), this, 80, 10);
    deck_->setMinimumWidth(40);
    label(QStringLiteral("整備状態"), this, kStateLeft, 36);
    label(QStringLiteral("戦闘機"), this, kFighterLeft + 6, 36);
    label(QStringLiteral("攻撃機"), this, kAttackerLeft + 6, 36);
    label(QStringLiteral("索敵機"), this, kScoutLeft + 6, 36);

    for (int g = 0; g < 4; ++g) buildRow(g, kFirstRowTop + g * kRowHeight);

    const int patrolTop = kFirstRowTop + 4 * kRowHeight + 4;
    label(QStringLiteral("直援機"), this, kNameLeft, patrolTop + 3);
    patrol_ = new CountBox(this);
    patrol_->setGeometry(kFighterLeft, patrolTop, kBoxWidth, 22);
    connect(patrol_, &CountBox::clicked, this, [this] { edit(FormationBox::kPatrol, 0); });

    const int searchTop = patrolTop + 28;
    label(QStringLiteral("索敵機"), this, kNameLeft, searchTop + 3);
    search_ = new CountBox(this);
    search_->setGeometry(kScoutLeft, searchTop, kBoxWidth, 22);
    connect(search_, &CountBox::clicked, this, [this] { edit(FormationBox::kSearch, 0); });

    const int hangarTop = searchTop + 28;
    label(QStringLiteral("格納庫"), this, kNameLeft, hangarTop + 3);
    for (int k = 0; k < 3; ++k) {
        auto* box = new QLineEdit(this);
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        box->setAlignment(Qt::AlignRight);
        box->setGeometry(kFighterLeft + 56 * k, hangarTop, kBoxWidth, 22);
        hangar_[static_cast<std::size_t>(k)] = box;
    }
    decide_->setGeometry(460, hangarTop - 4, 80, 30);
    connect(decide_, &QPushButton::clicked, this, &FormationWindow::decide);

    QList<FlatButton*> buttons{decide_};
    for (const Row& r : rows_) buttons.append(r.attack);
    colourButtons(buttons);
}

void FormationWindow::buildRow(int g, int top) {
    Row& r = rows_[static_cast<std::size_t>(g)];
    label(QString::fromUtf8(kGroupNames[static_cast<std::size_t>(g)]), this, kNameLeft, top + 4);
    r.state = label(QString(), this, kStateLeft, top + 4);
    r.state->setMinimumWidth(90);
    r.attack = new FlatButton(QStringLiteral("攻撃"), this);
    r.attack->setGeometry(kAttackLeft, top, 48, 24);
    connect(r.attack, &QPushButton::clicked, this, [this, g] { attackClicked(g); });

    r.fighters = new CountBox(this);
    r.fighters->setGeometry(kFighterLeft, top, kBoxWidth, 22);
    connect(r.fighters, &CountBox::clicked, this, [this, g] { edit(FormationBox::kFighters, g); });
    r.attackers = new CountBox(this);
    r.attackers->setGeometry(kAttackerLeft, top, kBoxWidth, 22);
    connect(r.attackers, &CountBox::clicked, this, [this, g] { edit(FormationBox::kAttackers, g); });
    // A group's search aircraft are not edited here.
    r.scouts = new CountBox(this);
    r.scouts->setGeometry(kScoutLeft, top, kBoxWidth, 22);
    r.scouts->hide();
    r.scouts->setEnabled(false);

    // While the group is in the air its counts lie under its state text.
    r.cover = new QLineEdit(this);
    r.cover->setReadOnly(true);
    r.cover->setFocusPolicy(Qt::NoFocus);
    r.cover->setAlignment(Qt::AlignCenter);
    r.cover->setGeometry(kFighterLeft, top, kAttackerLeft + kBoxWidth - kFighterLeft, 22);
    r.cover->hide();

    r.loadBox = new QGroupBox(this);
    r.loadBox->setGeometry(kLoadLeft, top - 6, 130, 34);
    r.loadBox->setFlat(true);
    auto* layout = new QHBoxLayout(r.loadBox);
    layout->setContentsMargins(2, 0, 2, 0);
    r.load = new QButtonGroup(this);
    const std::array<const char*, 2> loads{"対艦兵装", "対地兵装"};
    for (int k = 0; k < 2; ++k) {
        auto* radio = new QRadioButton(QString::fromUtf8(loads[static_cast<std::size_t>(k)]), r.loadBox);
        r.load->addButton(radio, k);
        layout->addWidget(radio);
    }
    connect(r.load, &QButtonGroup::idClicked, this, [this, g](int kind) { loadClicked(g, kind); });
    r.loadText = label(QString(), this, kLoadLeft + 4, top + 4);
    r.loadText->setMinimumWidth(100);
}

void FormationWindow::setLaunchMode(bool launch) {
    setWindowTitle(fromEngineText(launch ? kLaunchCaption : kFormationCaption));
    for (Row& r : rows_) {
        r.loadBox->setVisible(!launch);
        r.loadText->setVisible(launch);
        r.attack->setEnabled(launch);
        r.fighters->setEnabled(!launch);
        r.attackers->setEnabled(!launch);
    }
    patrol_->setEnabled(!launch);
    search_->setEnabled(!launch);
}

void FormationWindow::openFormation(GameState& state, Frontend& ui, int fleet) {
    if (isVisible() || fleet < 0 || fleet >= kFleetCount) return;
    state_ = &state;
    ui_ = &ui;
    launch_.reset();
    formation_.emplace(state, fleet);
    setLaunchMode(false);
    showFormation();
    setModal(true);
    closing_ = false;
    exec();
    formation_.reset();
}

void FormationWindow::showFormation() {
    const FormationSession& s = *formation_;
    deck_->setText(number(s.DeckCapacity()));
    for (int g = 0; g < 4; ++g) {
        Row& r = rows_[static_cast<std::size_t>(g)];
        const GroupWorking& w = s.Group(g);
        r.state->setText(fromEngineText(s.StateText(g)));
        r.fighters->setText(number(w.Counts[0]));
        r.attackers->setText(number(w.Counts[1]));
        r.scouts->setText(number(w.Counts[2]));
        r.cover->setText(fromEngineText(s.StateText(g)));
        r.cover->setVisible(s.InTheAir(g));
        r.loadBox->setEnabled(!s.InTheAir(g));
        if (QAbstractButton* b = r.load->button(w.AttackKind)) b->setChecked(true);
    }
    patrol_->setText(number(s.Patrol()));
    search_->setText(number(s.Search()));
    for (std::size_t k = 0; k < 3; ++k) hangar_[k]->setText(number(s.Hangar()[k]));
}

void FormationWindow::edit(FormationBox box, int g) {
    if (!formation_ || ui_ == nullptr) return;
    formation_->EditCount(*ui_, box, g);
    // A refused value comes back silently; the state text may have changed.
    showFormation();
}

void FormationWindow::loadClicked(int g, int kind) {
    if (!formation_ || ui_ == nullptr) return;
    formation_->ChangeLoad(*ui_, g, kind);
    showFormation();
}

void FormationWindow::decide() {
    if (formation_) {
        // A formation that does not fit keeps the window open, silently.
        if (!formation_->Decide()) return;
        closing_ = true;
        accept();
        return;
    }
    if (launch_) {
        launch_->Close();
        launch_.reset();
        if (wait_ != nullptr) wait_->quit();
    }
}

void FormationWindow::openLaunch(GameState& state, Frontend& ui, int fleet) {
    if (isVisible() || fleet < 0 || fleet >= kFleetCount) return;
    state_ = &state;
    ui_ = &ui;
    formation_.reset();
    launch_.emplace(state, fleet);
    setLaunchMode(true);
    showLaunch();
    setModal(false);
    closing_ = false;
    show();
    raise();
    QEventLoop loop;
    wait_ = &loop;
    loop.exec();
    wait_ = nullptr;
    if (launch_) {
        launch_->Close();
        launch_.reset();
    }
    closing_ = true;
    hide();
}

void FormationWindow::showLaunch() {
    const LaunchSession& s = *launch_;
    deck_->setText(number(DeckStandbyCapacity(state_->FleetTable[static_cast<std::size_t>(s.FleetIndex())])));
    for (int g = 0; g < 4; ++g) {
        Row& r = rows_[static_cast<std::size_t>(g)];
        const GroupWorking& w = s.Group(g);
        r.state->setText(fromEngineText(s.StateText(g)) + (s.Selected(g) ? QStringLiteral(" ◎") : QString()));
        r.fighters->setText(number(w.Counts[0]));
        r.attackers->setText(number(w.Counts[1]));
        r.loadText->setText(fromEngineText(s.LoadText(g)));
        r.cover->hide();
    }
    patrol_->setText(number(s.PatrolAloft()));
    search_->setText(number(s.SearchAloft()));
    const TFleet& f = state_->FleetTable[static_cast<std::size_t>(s.FleetIndex())];
    for (std::size_t k = 0; k < 3; ++k) hangar_[k]->setText(number(f.HangarCounts[k]));
}

void FormationWindow::attackClicked(int g) {
    if (!launch_ || ui_ == nullptr) return;
    launch_->SelectGroup(*ui_, g);
    showLaunch();
}

void FormationWindow::targetClicked(Point at) {
    if (!launch_ || ui_ == nullptr) return;
    const std::optional<int> target = launch_->ChooseStrikeTarget(*ui_, at);
    if (!target || !launch_) return;
    launch_->Launch(*ui_, *target);
    launch_.reset();
    if (wait_ != nullptr) wait_->quit();
}

void FormationWindow::closeEvent(QCloseEvent* event) {
    // Only "決定" (or a launch) closes the window.
    if (!closing_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void FormationWindow::reject() {
    // Escape does not close it either.
}

void FormationWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    placeOver(this, mainWindow_);
}

}  // namespace velmora::ui
