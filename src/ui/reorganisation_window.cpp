#include "ui/reorganisation_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include "ui/flat_button.h"
#include "ui/window_look.h"
#include "ui/window_placement.h"

namespace velmora::ui {
namespace {

constexpr QSize kOuterSize{355, 341};
constexpr int kColumnWidth = 120;
constexpr int kLeftColumn = 8;
constexpr int kRightColumn = 219;
constexpr int kListTop = 92;
constexpr int kListHeight = 200;
// The boxes keep at most 30 bytes of Shift-JIS: 15 two-byte characters.
constexpr int kNameBoxCharacters = 30;

QLabel* captionAt(const QString& text, int x, int y, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLineEdit* boxAt(int x, int y, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(x, y, kColumnWidth, 20);
    box->setMaxLength(kNameBoxCharacters);
    return box;
}

void fill(QListWidget* list, const std::vector<std::string>& names, int pick) {
    list->clear();
    for (const std::string& name : names) list->addItem(fromEngineText(name));
    if (pick >= 0 && pick < list->count()) list->setCurrentRow(pick);
}

}  // namespace

ReorganisationWindow::ReorganisationWindow(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      mainWindow_(mainWindow) {
    applyWindowLook(this);
    setWindowTitle(QStringLiteral("艦隊再編"));
    setModal(true);
    setFixedSize(clientSizeFor(kOuterSize.width(), kOuterSize.height()));

    for (int column : {kLeftColumn, kRightColumn}) {
        captionAt(QStringLiteral("提督名"), column, 8, this);
        captionAt(QStringLiteral("艦隊名"), column, 48, this);
    }
    leftCommander_ = boxAt(kLeftColumn, 24, this);
    leftName_ = boxAt(kLeftColumn, 64, this);
    rightCommander_ = boxAt(kRightColumn, 24, this);
    rightName_ = boxAt(kRightColumn, 64, this);

    leftList_ = new QListWidget(this);
    leftList_->setGeometry(kLeftColumn, kListTop, kColumnWidth, kListHeight);
    rightList_ = new QListWidget(this);
    rightList_->setGeometry(kRightColumn, kListTop, kColumnWidth, kListHeight);

    moveRight_ = new FlatButton(QStringLiteral(">"), this);
    moveRight_->setGeometry(148, 140, 51, 28);
    moveLeft_ = new FlatButton(QStringLiteral("<"), this);
    moveLeft_->setGeometry(148, 184, 51, 28);
    decide_ = new FlatButton(QStringLiteral("決定"), this);
    decide_->setGeometry(140, 264, 67, 28);

    // A press picks the line. A double click moves it once the list has
    // finished with the click: the move refills the list under it.
    connect(leftList_, &QListWidget::itemPressed, this, [this](QListWidgetItem* item) {
        if (session_) session_->PickLeft(leftList_->row(item));
    });
    connect(rightList_, &QListWidget::itemPressed, this, [this](QListWidgetItem* item) {
        if (session_) session_->PickRight(rightList_->row(item));
    });
    connect(leftList_, &QListWidget::itemDoubleClicked, this,
            [this] { QTimer::singleShot(0, this, &ReorganisationWindow::moveRight); });
    connect(rightList_, &QListWidget::itemDoubleClicked, this,
            [this] { QTimer::singleShot(0, this, &ReorganisationWindow::moveLeft); });
    connect(moveRight_, &QPushButton::clicked, this, &ReorganisationWindow::moveRight);
    connect(moveLeft_, &QPushButton::clicked, this, &ReorganisationWindow::moveLeft);
    connect(decide_, &QPushButton::clicked, this, &ReorganisationWindow::decide);
}

void ReorganisationWindow::run(const ReorganisationSession& session, GameState& state,
                               Frontend& ui) {
    session_ = session;
    state_ = &state;
    decided_ = false;
    setBoxNames(session_->OpeningNames(state, boxNames()));
    fillLists();
    exec();
    if (decided_) session_->Decide(state, boxNames());
    session_->Close(state, ui);
    leftList_->clear();
    rightList_->clear();
    session_.reset();
    state_ = nullptr;
}

void ReorganisationWindow::showEvent(QShowEvent* event) {
    colourButtons({moveLeft_, moveRight_, decide_});
    QDialog::showEvent(event);
    placeOver(this, mainWindow_);
}

void ReorganisationWindow::moveRight() {
    if (session_ && state_ != nullptr && session_->MoveRight(*state_)) fillLists();
}

void ReorganisationWindow::moveLeft() {
    if (session_ && state_ != nullptr && session_->MoveLeft(*state_)) fillLists();
}

void ReorganisationWindow::decide() {
    decided_ = true;
    accept();
}

void ReorganisationWindow::fillLists() {
    fill(leftList_, session_->LeftShips(*state_), session_->LeftPick());
    fill(rightList_, session_->RightShips(*state_), session_->RightPick());
}

ReorganisationNames ReorganisationWindow::boxNames() const {
    return {leftCommander_->text().toStdString(), leftName_->text().toStdString(),
            rightCommander_->text().toStdString(), rightName_->text().toStdString()};
}

void ReorganisationWindow::setBoxNames(const ReorganisationNames& names) {
    leftCommander_->setText(fromEngineText(names.LeftCommander));
    leftName_->setText(fromEngineText(names.LeftName));
    rightCommander_->setText(fromEngineText(names.RightCommander));
    rightName_->setText(fromEngineText(names.RightName));
}

}  // namespace velmora::ui
