#include "view3d/gl/unit_viewer.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QSignalBlocker>
#include <QSurfaceFormat>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <chrono>

#include "view3d/pure/model_files.h"
#include "ui/flat_button.h"
#include "view3d/gl/model_view.h"

namespace velmora::view3d {
namespace {

constexpr int kNoAircraft = 255;

// The captions of the two strips, in their order on screen.
const char* const kShipCaptions[] = {"艦名",
                                     "艦型",
                                     "耐久力",
                                     "搭載機数",
                                     "エリアディフェンス",
                                     "ポイントディフェンス",
                                     "速力",
                                     "索敵機",
                                     "物資",
                                     "状態",
                                     "射撃力",
                                     "電子戦力",
                                     "対潜攻撃力哨戒",
                                     "対潜攻撃力移動",
                                     "対潜センサー",
                                     "データリンク",
                                     "主砲",
                                     "主砲射程",
                                     "甲板待機数",
                                     "混乱度",
                                     "ステルス",
                                     "対艦ミサイル",
                                     "舷側防御力",
                                     "水平防御力",
                                     "対艦ミサイル力",
                                     "自軍側揚陸ポイント",
                                     "敵軍側揚陸ポイント"};
const char* const kAircraftCaptions[] = {
    "機種名",       "攻撃力",       "防御力",   "爆撃命中値", "爆撃力", "雷撃命中値",   "雷撃力",
    "対空ミサイル", "対艦ミサイル", "ステルス", "電子戦力",   "対潜力", "対潜センサー", "対地爆弾"};

long long MillisecondsSinceStart() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QFrame* MakeStrip(QWidget* parent) {
    auto* strip = new QFrame(parent);
    strip->setFrameShape(QFrame::Panel);
    strip->setFrameShadow(QFrame::Raised);
    strip->setAutoFillBackground(true);
    QPalette p = strip->palette();
    p.setColor(QPalette::Window, QColor(212, 208, 200));
    p.setColor(QPalette::WindowText, Qt::black);
    strip->setPalette(p);
    return strip;
}

void AddLines(QGridLayout* grid, const char* const* captions, int count, int columns,
              std::map<QString, QLabel*>& values, QWidget* parent) {
    const int rows = (count + columns - 1) / columns;
    for (int i = 0; i < count; ++i) {
        auto* caption = new QLabel(QString::fromUtf8(captions[i]), parent);
        auto* value = new QLabel(parent);
        value->setFrameShape(QFrame::StyledPanel);
        value->setMinimumWidth(60);
        grid->addWidget(caption, i % rows, (i / rows) * 2);
        grid->addWidget(value, i % rows, (i / rows) * 2 + 1);
        values[QString::fromUtf8(captions[i])] = value;
    }
}

}  // namespace

UnitViewer::UnitViewer(GameState& state, const std::string& logDirectory, QWidget* parent)
    : QWidget(parent), state_(state) {
    logDirectory_ = logDirectory;
    tree_ = new QTreeWidget(this);
    tree_->setHeaderHidden(true);
    tree_->setGeometry(624, 8, 161, 537);
    tree_->hide();
    tree_->setEnabled(false);
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this] { selectionChanged(); });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this] { doubleClickSelected(); });
    buildStrips();
    hide();
}

UnitViewer::~UnitViewer() = default;

void UnitViewer::buildStrips() {
    shipStrip_ = MakeStrip(this);
    shipStrip_->setGeometry(-1, 0, 786, 193);
    auto* shipLayout = new QVBoxLayout(shipStrip_);
    shipLayout->setContentsMargins(6, 4, 6, 4);
    shipLayout->setSpacing(2);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(1);
    AddLines(grid, kShipCaptions, static_cast<int>(std::size(kShipCaptions)), 4, shipValues_,
             shipStrip_);
    shipLayout->addLayout(grid);
    auto* buttons = new QHBoxLayout;
    for (int k = 0; k < 5; ++k) {
        auto* b = new ui::FlatButton(QString(), shipStrip_);
        b->setMinimumWidth(110);
        buttons->addWidget(b);
        aircraftButtons_.push_back(b);
        if (k < 3) {
            connect(b, &QPushButton::clicked, this, [this, k] {
                const int type = aircraftButtonTypes_[static_cast<std::size_t>(k)];
                if (type != kNoAircraft) showAircraftPanel(type);
            });
        } else {
            b->hide();  // the fourth and fifth have no part yet
        }
    }
    buttons->addStretch();
    shipBack_ = new ui::FlatButton(QStringLiteral("戻る"), shipStrip_);
    buttons->addWidget(shipBack_);
    shipLayout->addLayout(buttons);
    connect(shipBack_, &QPushButton::clicked, this, &UnitViewer::shipBack);
    shipStrip_->hide();

    aircraftStrip_ = MakeStrip(this);
    aircraftStrip_->setGeometry(344, 0, 441, 193);
    auto* airLayout = new QVBoxLayout(aircraftStrip_);
    airLayout->setContentsMargins(6, 4, 6, 4);
    auto* airGrid = new QGridLayout;
    airGrid->setVerticalSpacing(1);
    AddLines(airGrid, kAircraftCaptions, static_cast<int>(std::size(kAircraftCaptions)), 2,
             aircraftValues_, aircraftStrip_);
    airLayout->addLayout(airGrid);
    auto* airButtons = new QHBoxLayout;
    airButtons->addStretch();
    aircraftBack_ = new ui::FlatButton(QStringLiteral("戻る"), aircraftStrip_);
    airButtons->addWidget(aircraftBack_);
    airLayout->addLayout(airButtons);
    connect(aircraftBack_, &QPushButton::clicked, this, &UnitViewer::aircraftBack);
    aircraftStrip_->hide();
}

void UnitViewer::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->ignore();
    } else {
        event->accept();
    }
}

void UnitViewer::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->ignore();
    } else {
        event->accept();
    }
}

bool UnitViewer::ensureView() {
    if (view_ != nullptr) return true;
    if (glMissing_) return false;
    // The GL widget is made on first use: it changes how the whole window
    // is put on screen, which a system without GL cannot do.
    QOpenGLContext probe;
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    probe.setFormat(format);
    glMissing_ = !probe.create() || probe.format().majorVersion() < 3;
    if (glMissing_) {
        if (message_) {
            message_(QStringLiteral("エラー"),
                     QStringLiteral("OpenGL 3.3 が使えないため、3D表示はできません"));
        }
        return false;
    }
    view_ = new ModelView(logDirectory_, this);
    view_->lower();
    connect(view_, &ModelView::failed, this, &UnitViewer::reportFailure);
    return true;
}

void UnitViewer::setRenderHandler(std::function<void(ModelScene&)> handler) {
    if (view_ != nullptr) view_->setRenderHandler(std::move(handler));
}

void UnitViewer::blackOutView() {
    if (view_ != nullptr) view_->blackOut();
}

void UnitViewer::createModelScene(CameraPlacement camera) {
    if (view_ != nullptr) view_->createModelScene(camera);
}

void UnitViewer::showViewer() {
    if (parentWidget() != nullptr) setGeometry(parentWidget()->rect());
    if (view_ != nullptr) view_->setGeometry(rect());
    show();
    raise();
    tree_->raise();
    shipStrip_->raise();
    aircraftStrip_->raise();
}

QString UnitViewer::shipValue(const QString& caption) const {
    auto it = shipValues_.find(caption);
    return it == shipValues_.end() ? QString() : it->second->text();
}

QString UnitViewer::aircraftValue(const QString& caption) const {
    auto it = aircraftValues_.find(caption);
    return it == aircraftValues_.end() ? QString() : it->second->text();
}

UnitViewer::ModelPtr UnitViewer::loadModel(const std::string& file, const char* missingMessage) {
    ModelFileResult result = LoadScenarioModel(state_.ScenarioFolder, file);
    if (result.missing) {
        if (message_) message_(QStringLiteral("エラー"), QString::fromUtf8(missingMessage));
        return std::make_unique<Model>();
    }
    if (!result.model) {
        // A model that cannot be read is told and drawn as nothing; the view
        // and the game go on.
        if (message_) message_(QStringLiteral("エラー"), QString::fromStdString(result.error));
        return std::make_unique<Model>();
    }
    return std::make_unique<Model>(std::move(*result.model));
}

void UnitViewer::loadFleetModels(int fleet) {
    blackOutView();
    QApplication::processEvents();
    shipModels_.clear();
    if (fleet < 0 || fleet >= kFleetCount) return;
    const TFleet& f = state_.FleetTable[static_cast<std::size_t>(fleet)];
    const int count = std::clamp(f.ShipCount, 0, kShipSlots);
    // One model per ship however many the fleet has.
    for (int s = 0; s < count; ++s) {
        const int classIndex = f.Ships[static_cast<std::size_t>(s)].ClassIndex;
        shipModels_.push_back(
            loadModel(ShipModelFile(state_, classIndex), "艦船モデリングデータがありません"));
    }
}

void UnitViewer::releaseFleetModels() {
    shipModels_.clear();
}

void UnitViewer::installFleetView() {
    setRenderHandler([this](ModelScene& scene) { renderFleet(scene); });
}

void UnitViewer::renderFleet(ModelScene& scene) {
    if (viewedFleet_ < 0 || viewedFleet_ >= kFleetCount) return;
    viewSpin_ = AdvanceViewSpin(viewSpin_);
    const TFleet& fleet = state_.FleetTable[static_cast<std::size_t>(viewedFleet_)];
    for (const RingPlacement& p :
         FleetRingPlacements(state_, fleet, viewSpin_, width(), height())) {
        if (p.slot < static_cast<int>(shipModels_.size())) {
            scene.Queue(*shipModels_[static_cast<std::size_t>(p.slot)],
                        Mat4::Translation(p.position));
        }
    }
}

void UnitViewer::installModelView(const Model* model) {
    setRenderHandler([model](ModelScene& scene) {
        const Mat4 world = Mat4::RotationY(ModelTurnRadians(MillisecondsSinceStart())) *
                           Mat4::Translation({0, 0, 500});
        scene.Queue(*model, world);
    });
}

void UnitViewer::fillTree(const FleetTree& tree) {
    fleetTree_ = tree;
    // Building the tree is not a choice of the player.
    const QSignalBlocker block(tree_);
    tree_->clear();
    for (const FleetTreeFleet& f : tree.fleets) {
        auto* node = new QTreeWidgetItem(tree_, {QString::fromStdString(f.text)});
        for (const std::string& ship : f.ships)
            new QTreeWidgetItem(node, {QString::fromStdString(ship)});
        node->setExpanded(true);
    }
    tree_->setCurrentItem(nullptr);
    tree_->show();
    tree_->setEnabled(true);
}

int UnitViewer::nodePosition(QTreeWidgetItem* item) const {
    if (item == nullptr) return -1;
    if (QTreeWidgetItem* parent = item->parent()) {
        const int fleetIndex = tree_->indexOfTopLevelItem(parent);
        if (fleetIndex < 0 || fleetIndex >= static_cast<int>(fleetTree_.fleets.size())) return -1;
        return fleetTree_.fleets[static_cast<std::size_t>(fleetIndex)].position + 1 +
               parent->indexOfChild(item);
    }
    const int fleetIndex = tree_->indexOfTopLevelItem(item);
    if (fleetIndex < 0 || fleetIndex >= static_cast<int>(fleetTree_.fleets.size())) return -1;
    return fleetTree_.fleets[static_cast<std::size_t>(fleetIndex)].position;
}

void UnitViewer::selectNode(int position) {
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = tree_->topLevelItem(i);
        if (nodePosition(top) == position) return tree_->setCurrentItem(top);
        for (int j = 0; j < top->childCount(); ++j) {
            if (nodePosition(top->child(j)) == position)
                return tree_->setCurrentItem(top->child(j));
        }
    }
}

void UnitViewer::showOwnFleetView() {
    if (!ensureView()) return;
    setRenderHandler(nullptr);
    fillTree(OwnFleetTree(state_));
    selectedNode_ = 0;
    shipSelected_ = false;
    showViewer();
    if (fleetTree_.fleets.empty()) return;
    viewedFleet_ = fleetTree_.fleets.front().fleet;
    loadFleetModels(viewedFleet_);
    installFleetView();
}

void UnitViewer::showFleetDetailView(int fleet) {
    if (!ensureView()) return;
    setRenderHandler(nullptr);
    fillTree(DetailFleetTree(state_, fleet));
    selectedNode_ = 0;
    shipSelected_ = false;
    showViewer();
    viewedFleet_ = fleet;
    loadFleetModels(fleet);
    installFleetView();
}

void UnitViewer::showBattleFleetView(int fleet) {
    if (!ensureView()) return;
    setRenderHandler(nullptr);
    showViewer();
    blackOutView();
    createModelScene(CameraPlacement::kLevel);
    viewedFleet_ = fleet;
    loadFleetModels(fleet);
    installFleetView();
}

void UnitViewer::showShipModel(int classIndex) {
    if (!ensureView()) return;
    showViewer();
    blackOutView();
    QApplication::processEvents();
    createModelScene(CameraPlacement::kTilted);
    setRenderHandler(nullptr);
    shipModel_ = loadModel(ShipModelFile(state_, classIndex), "艦船モデリングデータがありません");
    installModelView(shipModel_.get());
}

void UnitViewer::showAircraftModel(int type) {
    if (!ensureView()) return;
    setRenderHandler(nullptr);
    showViewer();
    blackOutView();
    QApplication::processEvents();
    aircraftModel_ =
        loadModel(AircraftModelFile(state_, type), "航空機モデリングデータがありません");
    installModelView(aircraftModel_.get());
}

void UnitViewer::endView() {
    setRenderHandler(nullptr);
    hide();
}

void UnitViewer::closeOwnFleetView() {
    setRenderHandler(nullptr);
    releaseFleetModels();
    tree_->hide();
    tree_->setEnabled(false);
    shipStrip_->hide();
    aircraftStrip_->hide();
    hide();
}

void UnitViewer::newGame() {
    closeOwnFleetView();
    shipModel_.reset();
    aircraftModel_.reset();
    createModelScene(CameraPlacement::kTilted);
}

void UnitViewer::selectionChanged() {
    const int position = nodePosition(tree_->currentItem());
    if (position < 0) return;
    if (auto fleet = FleetAtNode(fleetTree_, position)) {
        shipSelected_ = false;
        setRenderHandler(nullptr);
        releaseFleetModels();
        selectedNode_ = position;
        viewedFleet_ = *fleet;
        loadFleetModels(*fleet);
        installFleetView();
        return;
    }
    selectedNode_ = position;
    shipSelected_ = true;
    QMessageBox::information(window(), QApplication::applicationDisplayName(),
                             QStringLiteral("ok1"));
}

void UnitViewer::doubleClickSelected() {
    if (!shipSelected_) return;
    const auto ship = ShipAtNode(fleetTree_, selectedNode_);
    if (!ship) return;
    showShipPanel(ship->fleet, ship->slot);
}

void UnitViewer::fillLines(std::map<QString, QLabel*>& values,
                           const std::vector<StripLine>& lines) {
    for (const StripLine& line : lines) {
        auto it = values.find(QString::fromStdString(line.caption));
        if (it != values.end()) it->second->setText(QString::fromStdString(line.value));
    }
}

void UnitViewer::showShipPanel(int fleet, int slot) {
    if (fleet < 0 || fleet >= kFleetCount) return;
    const TFleet& f = state_.FleetTable[static_cast<std::size_t>(fleet)];
    if (slot < 0 || slot >= std::clamp(f.ShipCount, 0, kShipSlots)) return;
    setRenderHandler(nullptr);
    blackOutView();
    shipModel_ =
        loadModel(ShipModelFile(state_, f.Ships[static_cast<std::size_t>(slot)].ClassIndex),
                  "艦船モデリングデータがありません");
    installModelView(shipModel_.get());
    fillLines(shipValues_, ShipStripLines(state_, fleet, slot, fleetTree_.own));
    aircraftButtonTypes_ = StripAircraftTypes(state_, fleet, slot, fleetTree_.own);
    for (int k = 0; k < 3; ++k) {
        aircraftButtons_[static_cast<std::size_t>(k)]->setText(QString::fromStdString(
            AircraftButtonCaption(state_, aircraftButtonTypes_[static_cast<std::size_t>(k)])));
    }
    shipStrip_->setEnabled(true);
    shipStrip_->show();
    shipStrip_->raise();
}

void UnitViewer::showAircraftPanel(int type) {
    shipStrip_->setEnabled(false);
    shipStrip_->hide();
    setRenderHandler(nullptr);
    blackOutView();
    aircraftModel_ =
        loadModel(AircraftModelFile(state_, type), "航空機モデリングデータがありません");
    installModelView(aircraftModel_.get());
    fillLines(aircraftValues_, AircraftStripLines(state_, type));
    aircraftStrip_->setEnabled(true);
    aircraftStrip_->show();
    aircraftStrip_->raise();
}

void UnitViewer::aircraftBack() {
    setRenderHandler(nullptr);
    aircraftModel_.reset();
    aircraftStrip_->hide();
    aircraftStrip_->setEnabled(false);
    shipStrip_->setEnabled(true);
    shipStrip_->show();
    if (shipModel_) installModelView(shipModel_.get());
}

void UnitViewer::shipBack() {
    shipStrip_->hide();
    shipStrip_->setEnabled(false);
    aircraftStrip_->hide();
    aircraftStrip_->setEnabled(false);
    setRenderHandler(nullptr);
    shipModel_.reset();
    installFleetView();
}

void UnitViewer::reportFailure(const QString& line) {
    endView();
    if (message_) {
        message_(QStringLiteral("エラー"),
                 QStringLiteral("3D表示でエラーが起きたため、3D表示を終了します。\n") + line);
    }
}

}  // namespace velmora::view3d
