#include "ui/fleet_info_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/flat_button.h"
#include "ui/message_window.h"
#include "ui/window_look.h"

namespace velmora::ui {

namespace {

// The silhouettes that stand in for the missing pictures.
void drawShipSilhouette(QPainter& painter, const QRect& box, const QString& name) {
    const double w = box.width();
    const double h = box.height();
    QPainterPath hull;
    hull.moveTo(box.left(), box.top() + h * 0.55);
    hull.lineTo(box.left() + w, box.top() + h * 0.45);
    hull.lineTo(box.left() + w * 0.9, box.top() + h);
    hull.lineTo(box.left() + w * 0.08, box.top() + h);
    hull.closeSubpath();
    QPainterPath bridge;
    bridge.addRect(box.left() + w * 0.42, box.top() + h * 0.2, w * 0.14, h * 0.32);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x9a, 0xa4, 0xb0));
    painter.drawPath(hull);
    painter.drawPath(bridge);
    painter.setPen(Qt::white);
    painter.drawText(box.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignTop, name);
    painter.restore();
}

void drawAircraftSilhouette(QPainter& painter, const QRect& box, const QString& name) {
    const QPointF c = QRectF(box).center();
    const double s = std::min(box.width(), box.height()) * 0.4;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x9a, 0xa4, 0xb0));
    painter.drawRect(QRectF(c.x() - s * 1.6, c.y() - s * 0.12, s * 3.2, s * 0.24));  // fuselage
    painter.drawRect(QRectF(c.x() - s * 0.25, c.y() - s * 1.2, s * 0.5, s * 2.4));   // wings
    painter.drawRect(QRectF(c.x() - s * 1.6, c.y() - s * 0.5, s * 0.25, s * 1.0));   // tail
    painter.setPen(Qt::white);
    painter.drawText(box.adjusted(6, 4, -6, -4), Qt::AlignLeft | Qt::AlignTop, name);
    painter.restore();
}

}  // namespace

// ---- picture areas -----------------------------------------------------------

StandInPicture::StandInPicture(Kind kind, QSize size, QWidget* parent)
    : QWidget(parent), kind_(kind) {
    setFixedSize(size);
}

void StandInPicture::setName(const QString& name) {
    name_ = name;
    update();
}

void StandInPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kPictureBlue);
    if (name_.isEmpty()) return;
    if (kind_ == Kind::kShip) {
        drawShipSilhouette(painter, rect().adjusted(40, 30, -40, -20), name_);
    } else {
        drawAircraftSilhouette(painter, rect(), name_);
    }
}

// ---- label/value rows -------------------------------------------------------

DataGrid::DataGrid(int columns, QWidget* parent)
    : QWidget(parent), columns_(columns), grid_(new QGridLayout(this)) {
    grid_->setHorizontalSpacing(10);
    grid_->setVerticalSpacing(2);
}

void DataGrid::setLines(const std::vector<DataLine>& lines) {
    for (auto& [label, value] : rows_) {
        delete label;
        delete value;
    }
    rows_.clear();
    const int per_column = (static_cast<int>(lines.size()) + columns_ - 1) / columns_;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto* label = new QLabel(fromEngineText(lines[i].Label), this);
        auto* value = new QLabel(fromEngineText(lines[i].Value), this);
        value->setStyleSheet(QStringLiteral("color: #ffff80"));
        const int row = static_cast<int>(i) % per_column;
        const int col = static_cast<int>(i) / per_column * 2;
        grid_->addWidget(label, row, col);
        grid_->addWidget(value, row, col + 1);
        rows_.emplace_back(label, value);
    }
}

QString DataGrid::valueOf(const QString& label) const {
    for (const auto& [name, value] : rows_) {
        if (name->text() == label) return value->text();
    }
    return {};
}

void DataGrid::setValue(const QString& label, const QString& text) {
    for (auto& [name, value] : rows_) {
        if (name->text() == label) value->setText(text);
    }
}

// ---- formation sketch ---------------------------------------------------------

FormationView::FormationView(QWidget* parent) : QWidget(parent) {
    setFixedSize(kFormationWidth, kFormationHeight);
}

void FormationView::showFleet(const GameState& state, int fleet) {
    const TFleet& f = state.Fleet(fleet);
    marks_ = FormationLayout(state, f, width(), height());
    names_.clear();
    for (const FormationMark& mark : marks_) {
        names_.push_back(fromEngineText(f.Ships[static_cast<std::size_t>(mark.Slot)].Name.str()));
    }
    update();
}

void FormationView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kPictureBlue);
    for (std::size_t i = 0; i < marks_.size(); ++i) {
        const QRect box(marks_[i].X, marks_[i].Y, kFormationPictureWidth, kFormationPictureHeight);
        drawShipSilhouette(painter, box, names_[i]);
    }
}

// ---- 航空機データ ---------------------------------------------------------------

AircraftDataWindow::AircraftDataWindow(QWidget* owner)
    : QDialog(owner),
      owner_(owner),
      picture_(new StandInPicture(StandInPicture::Kind::kAircraft, QSize(500, 180), this)),
      grid_(new DataGrid(2, this)),
      close_(new FlatButton(QStringLiteral("OK"), this)) {
    applyWindowLook(this);
    setWindowTitle(QStringLiteral("航空機データ"));
    setModal(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture_, 0, Qt::AlignHCenter);
    layout->addWidget(grid_);
    layout->addLayout(buttons);
    colourButtons({close_});
    resize(610, 356);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
}

void AircraftDataWindow::showAircraftData(const GameState& state, int type) {
    const auto lines = AircraftDataLines(state, type);
    if (lines.empty()) return;
    grid_->setLines(lines);
    picture_->setName(grid_->valueOf(QStringLiteral("機種名")));
    exec();
}

QString AircraftDataWindow::valueOf(const QString& label) const {
    return grid_->valueOf(label);
}

void AircraftDataWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    placeOver(this, owner_);
}

// ---- ユニットデ－タ ---------------------------------------------------------------

UnitDataWindow::UnitDataWindow(QWidget* mainWindow, QWidget* parent)
    : QDialog(parent != nullptr ? parent : mainWindow),
      mainWindow_(mainWindow),
      strip_(new StandInPicture(StandInPicture::Kind::kShip, QSize(550, 120), this)),
      grid_(new DataGrid(3, this)),
      patrol_(new FlatButton(QStringLiteral("対潜哨戒"), this)),
      alert_(new FlatButton(QStringLiteral("対空警戒"), this)),
      scuttle_(new FlatButton(QStringLiteral("自沈"), this)),
      question_(new MessageWindow(this)),
      aircraftWindow_(new AircraftDataWindow(this)) {
    applyWindowLook(this);
    setWindowTitle(QStringLiteral("ユニットデ－タ"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(true);

    auto* aircraftRow = new QHBoxLayout;
    for (std::size_t i = 0; i < aircraft_.size(); ++i) {
        aircraft_[i] = new FlatButton(QString(), this);
        aircraft_[i]->setMinimumWidth(90);
        aircraftRow->addWidget(aircraft_[i]);
        connect(aircraft_[i], &QPushButton::clicked, this,
                [this, i] { showAircraft(static_cast<int>(i)); });
    }
    auto* orderRow = new QHBoxLayout;
    orderRow->addStretch();
    orderRow->addWidget(patrol_);
    orderRow->addWidget(alert_);
    orderRow->addWidget(scuttle_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(strip_);
    layout->addWidget(grid_);
    layout->addLayout(aircraftRow);
    layout->addLayout(orderRow);

    QList<FlatButton*> all{patrol_, alert_, scuttle_};
    for (FlatButton* b : aircraft_) all.append(b);
    colourButtons(all);
    resize(609, 380);

    connect(patrol_, &QPushButton::clicked, this,
            [this] { setStance(ShipStance::kAntiSubmarinePatrol); });
    connect(alert_, &QPushButton::clicked, this, [this] { setStance(ShipStance::kAntiAirAlert); });
    connect(scuttle_, &QPushButton::clicked, this, &UnitDataWindow::scuttleShown);
}

bool UnitDataWindow::showShipData(GameState& state, int fleet, int slot) {
    const auto lines = ShipDataLines(state, fleet, slot);
    if (lines.empty()) return false;
    state_ = &state;
    fleet_ = fleet;
    slot_ = slot;
    scuttled_ = false;
    grid_->setLines(lines);
    strip_->setName(grid_->valueOf(QStringLiteral("艦型")));

    aircraftTypes_ = AircraftButtonTypes(state, fleet, slot);
    for (std::size_t i = 0; i < aircraft_.size(); ++i) {
        const auto& type = aircraftTypes_[i];
        aircraft_[i]->setText(type ? fromEngineText(state.AircraftTypeAt(*type).Name.str())
                                   : QString());
        aircraft_[i]->setEnabled(type.has_value());
    }
    exec();
    state_ = nullptr;
    return scuttled_;
}

void UnitDataWindow::setStance(ShipStance stance) {
    if (state_ == nullptr) return;
    if (auto label = SetShipStance(*state_, fleet_, slot_, stance)) {
        grid_->setValue(QStringLiteral("戦闘状態"), fromEngineText(*label));
    }
}

void UnitDataWindow::scuttleShown() {
    if (state_ == nullptr) return;
    // One click must not sink a ship: the player confirms first.
    const QString name = grid_->valueOf(QStringLiteral("艦名"));
    if (!question_->confirm(QStringLiteral("自沈"),
                            QStringLiteral("%1 を自沈させますか？").arg(name)))
        return;
    if (ScuttleShip(*state_, fleet_, slot_)) {
        scuttled_ = true;
        accept();
    }
}

void UnitDataWindow::showAircraft(int button) {
    if (state_ == nullptr || button < 0 || button >= kAircraftButtons) return;
    if (const auto& type = aircraftTypes_[static_cast<std::size_t>(button)]) {
        aircraftWindow_->showAircraftData(*state_, *type);
    }
}

QString UnitDataWindow::valueOf(const QString& label) const {
    return grid_->valueOf(label);
}

void UnitDataWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    placeOver(this, mainWindow_);
}

// ---- 艦隊情報 ---------------------------------------------------------------------

FleetInfoWindow::FleetInfoWindow(QWidget* mainWindow)
    : QDialog(mainWindow),
      mainWindow_(mainWindow),
      formation_(new FormationView(this)),
      tree_(new QTreeWidget(this)),
      unitData_(new UnitDataWindow(mainWindow, this)) {
    applyWindowLook(this);
    setWindowTitle(QStringLiteral("艦隊情報"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(true);
    tree_->setHeaderHidden(true);
    // White on black, as the palette's fleet tree.
    tree_->setStyleSheet(
        QStringLiteral("QTreeWidget { color: white; background: black; }"
                       "QTreeWidget::item:selected { color: black; background: #c0d8ff; }"));
    // Long fleet lines scroll sideways instead of being cut.
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree_->header()->setStretchLastSection(false);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(formation_, 0, Qt::AlignTop);
    layout->addWidget(tree_, 1);
    resize(800, 600);

    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { nodeSelected(current); });
    // The ship window may rebuild the tree, so it opens once the view has
    // finished with the double click.
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        const int index = item->data(0, Qt::UserRole).toInt();
        QMetaObject::invokeMethod(
            this, [this, index] { openNode(index); }, Qt::QueuedConnection);
    });
}

void FleetInfoWindow::showOwnFleets(GameState& state) {
    if (!CanShowOwnFleets(state)) return;
    state_ = &state;
    refreshOwnFleets();
    exec();
    state_ = nullptr;
}

void FleetInfoWindow::refreshOwnFleets() {
    if (state_ == nullptr) return;
    QSignalBlocker quiet(tree_);
    tree_->clear();
    nodes_ = BuildOwnFleetTree(*state_);
    QTreeWidgetItem* fleetItem = nullptr;
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        const FleetTreeNode& node = nodes_[i];
        auto* item = node.IsShip() && fleetItem ? new QTreeWidgetItem(fleetItem)
                                                : new QTreeWidgetItem(tree_);
        item->setText(0, fromEngineText(node.Text));
        item->setData(0, Qt::UserRole, static_cast<int>(i));
        if (!node.IsShip()) fleetItem = item;
    }
    tree_->expandAll();
    widenToFitLines();
    selection_.Reset(nodes_);
    formation_->showFleet(*state_, selection_.DrawnFleet());
}

void FleetInfoWindow::widenToFitLines() {
    // The window grows until a fleet line reads without scrolling sideways,
    // as far as the screen allows.
    tree_->resizeColumnToContents(0);
    const int wanted = tree_->columnWidth(0) + 2 * tree_->frameWidth() +
                       tree_->verticalScrollBar()->sizeHint().width() + 8;
    const int missing = wanted - tree_->viewport()->width();
    if (missing <= 0) return;
    int width = this->width() + missing;
    if (const QScreen* screen = this->screen())
        width = std::min(width, screen->availableGeometry().width() - 16);
    resize(std::max(width, this->width()), height());
}

void FleetInfoWindow::nodeSelected(QTreeWidgetItem* item) {
    if (state_ == nullptr) return;
    const int index = item ? item->data(0, Qt::UserRole).toInt() : -1;
    if (auto fleet = selection_.Select(nodes_, index)) formation_->showFleet(*state_, *fleet);
}

void FleetInfoWindow::openNode(int index) {
    if (state_ == nullptr) return;
    if (auto fleet = selection_.Select(nodes_, index)) formation_->showFleet(*state_, *fleet);
    const auto ship = selection_.ShipToOpen();
    if (!ship) return;
    if (unitData_->showShipData(*state_, ship->Fleet, ship->Slot)) refreshOwnFleets();
    close();
}

void FleetInfoWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    placeOver(this, mainWindow_);
    emit openChanged(true);
}

void FleetInfoWindow::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    tree_->clear();
    nodes_.clear();
    emit openChanged(false);
}

}  // namespace velmora::ui
