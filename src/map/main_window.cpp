#include "map/main_window.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <array>
#include <chrono>

#include "map/map_view.h"
#include "orders/asw_orders.h"
#include "scenario/save_game.h"
#include "scenario/setup.h"
#include "turn/turn_sequence.h"
#include "ui/about_window.h"
#include "ui/fleet_info_window.h"
#include "ui/reorganisation_window.h"
#include "ui/fonts.h"
#include "view3d/gl/unit_viewer.h"

namespace velmora::map {
namespace {

const QString kScenarioFilter = QStringLiteral("Quessarシナリオファイル(*.snr)");

// Orders whose windows are not part of the program yet.
constexpr std::array kOrdersNotOffered{PaletteOrder::kAirRaid, PaletteOrder::kFormation};

}  // namespace

MainWindow::MainWindow(GameState& state, QWidget* parent)
    : QMainWindow(parent), state_(state), saveDirectory_(DefaultSaveDirectory()) {
    setWindowTitle(QStringLiteral("Velmora"));
    map_ = new MapView(state_, this);
    setCentralWidget(map_);
    palette_ = new OrdersPalette(this);
    fleetInfo_ = new ui::FleetInfoWindow(this);
    about_ = new ui::AboutWindow(this);
    reorganisation_ = new ui::ReorganisationWindow(this);
    // The 3D viewer takes the map's place while a view is open.
    viewer_ = new view3d::UnitViewer(state_, DefaultSaveDirectory().string(), map_);
    for (PaletteOrder order : kOrdersNotOffered) palette_->setOrderEnabled(order, false);

    buildMenus();
    buildPopup();
    connectPalette();
    connect(map_, &MapView::pressed, this, &MainWindow::mapPressed);
    connect(map_, &MapView::moved, this, [this](Point at) {
        if (frontend_ != nullptr) MouseMoved(state_, *frontend_, at);
    });
    connect(fleetInfo_, &ui::FleetInfoWindow::openChanged, fleetItem_, &QAction::setChecked);
    setFixedSize(sizeHint());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus() {
    QMenu* game = menuBar()->addMenu(QStringLiteral("ゲ－ム"));
    game->addAction(QStringLiteral("新規"), this, &MainWindow::newGame);
    QMenu* save = game->addMenu(QStringLiteral("セーブ"));
    QMenu* load = game->addMenu(QStringLiteral("ロード"));
    for (int slot = 1; slot <= kSaveSlots; ++slot) {
        save->addAction(QStringLiteral("セーブ%1").arg(slot), this,
                        [this, slot] { saveSlot(slot); });
        load->addAction(QStringLiteral("ロード%1").arg(slot), this,
                        [this, slot] { loadSlot(slot); });
    }
    game->addAction(QStringLiteral("終了"), this, &QWidget::close);

    QMenu* tools = menuBar()->addMenu(QStringLiteral("ツ－ルパレット"));
    paletteItem_ = tools->addAction(QStringLiteral("命令表"), this, &MainWindow::showPalette);
    paletteItem_->setCheckable(true);
    fleetItem_ = tools->addAction(QStringLiteral("艦隊"), this, &MainWindow::showOwnFleets);
    fleetItem_->setCheckable(true);

    aboutItem_ = menuBar()->addAction(QStringLiteral("バージョン情報"), about_, &QDialog::exec);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    QMainWindow::closeEvent(event);
}

void MainWindow::addMenuBeforeAbout(QMenu* menu) {
    menuBar()->insertMenu(aboutItem_, menu);
}

void MainWindow::buildPopup() {
    popup_ = new QMenu(this);
    popupEndTurn_ = popup_->addAction(QStringLiteral("ターン終了"), this, &MainWindow::endTurn);
    popupCancel_ = popup_->addAction(QStringLiteral("キャンセル"), this, [this] {
        if (frontend_ != nullptr && PopupCancel(state_, *frontend_, map_->overlay())) {
            viewer_->closeOwnFleetView();
            map_->flushOverlay();
        }
    });
}

void MainWindow::connectPalette() {
    connect(palette_, &OrdersPalette::orderPressed, this, &MainWindow::paletteOrder);
    connect(palette_, &OrdersPalette::fleetChosen, this, [this](int n) {
        if (frontend_ != nullptr) SelectFleet(state_, *frontend_, n);
    });
    connect(palette_, &OrdersPalette::visibilityChanged, paletteItem_, &QAction::setChecked);
}

void MainWindow::setScenarioFolderHandler(std::function<void(const std::string&)> handler) {
    scenarioFolderHandler_ = std::move(handler);
}

void MainWindow::newGame() {
    if (frontend_ == nullptr || busy()) return;
    QFileDialog dialog(this, QString(), QString(), kScenarioFilter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        NewGameCancelled(state_, *frontend_);
        redrawMap();
        return;
    }
    const std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    startGame(dialog.selectedFiles().front().toStdString(), seed);
}

bool MainWindow::startGame(const std::filesystem::path& snr, std::uint64_t seed) {
    if (frontend_ == nullptr || busy()) return false;
    struct SettingUp {
        bool& flag;
        explicit SettingUp(bool& f) : flag(f) { flag = true; }
        ~SettingUp() { flag = false; }
    } settingUp(settingUp_);
    return setUp(snr, seed);
}

bool MainWindow::setUp(const std::filesystem::path& snr, std::uint64_t seed) {
    // Music of the start events is looked up in the scenario folder.
    if (scenarioFolderHandler_) scenarioFolderHandler_(DeriveFolders(snr.string()).ScenarioFolder);
    map_->showBlank();
    viewer_->newGame();
    if (!SetupScenario(state_, *frontend_, snr, seed)) {
        refreshPalette();
        redrawMap();
        return false;
    }
    redrawMap();
    UpdateCaption(state_, *frontend_);
    palette_->show();
    return true;
}

void MainWindow::saveSlot(int slot) {
    if (frontend_ == nullptr) return;
    OrderSave(state_, *frontend_, saveDirectory_, slot);
}

void MainWindow::loadSlot(int slot) {
    if (frontend_ == nullptr || busy()) return;
    viewer_->newGame();
    if (OrderLoad(state_, *frontend_, saveDirectory_, slot) && !palette_->isVisible())
        palette_->show();
}

void MainWindow::endTurn() {
    if (frontend_ == nullptr || !hasGame() || busy()) return;
    OrderEndTurn(state_, *frontend_);
}

void MainWindow::redrawMap() {
    if (!hasGame()) {
        map_->showTitle();
        return;
    }
    map_->redraw();
}

void MainWindow::refreshPalette() {
    palette_->setFleets(FleetTreeTexts(state_), state_.SelectedFleet);
    palette_->setSummary(ToolCaptionText(state_));
}

void MainWindow::setTurnEndEnabled(bool enabled) {
    palette_->setOrderEnabled(PaletteOrder::kEndTurn, enabled);
}

void MainWindow::mapPressed(MouseButton button, Point at, QPoint globalPos) {
    if (frontend_ == nullptr || settingUp_) return;
    if (button == MouseButton::kRight) popup_->exec(globalPos);
    const bool aswTarget = state_.MapMode == kMapModeAswTarget;
    const MapClickResult result = MapClick(state_, *frontend_, map_->overlay(), button, at);
    map_->flushOverlay();
    if (result.TargetPoint && aswTarget) ChooseAswTarget(state_, *frontend_, *result.TargetPoint);
    if (result.TargetPoint) emit targetPointClicked(*result.TargetPoint);
}

void MainWindow::paletteOrder(PaletteOrder order) {
    if (frontend_ == nullptr || !hasGame() || settingUp_) return;
    Frontend& ui = *frontend_;
    MapOverlay& overlay = map_->overlay();
    switch (order) {
        case PaletteOrder::kMove:
            OrderMove(state_, ui, overlay);
            break;
        case PaletteOrder::kDistance:
            OrderDistance(state_, ui, overlay);
            break;
        case PaletteOrder::kFleetInfo:
            state_.FleetViewOpen = 1;
            viewer_->showOwnFleetView();
            break;
        case PaletteOrder::kSearch:
            OrderSearchSectors(state_, overlay);
            break;
        case PaletteOrder::kWeather:
            OrderWeather(state_, overlay);
            break;
        case PaletteOrder::kAswSearch:
            OrderAswSearchSectors(state_, overlay);
            break;
        case PaletteOrder::kEndTurn:
            endTurn();
            break;
        case PaletteOrder::kSplit:
            if (auto session = ReorganisationSession::Split(state_))
                reorganisation_->run(*session, state_, ui);
            break;
        case PaletteOrder::kJoin:
            if (auto session = ReorganisationSession::Join(state_, ui))
                reorganisation_->run(*session, state_, ui);
            break;
        case PaletteOrder::kAswAttack:
            OrderAswAttack(state_);
            break;
        case PaletteOrder::kAirRaid:
        case PaletteOrder::kFormation:
            // Not offered: the buttons stay disabled.
            break;
    }
    map_->flushOverlay();
}

void MainWindow::showPalette() {
    if (!hasGame()) {
        paletteItem_->setChecked(palette_->isVisible());
        return;
    }
    palette_->show();
    palette_->raise();
}

void MainWindow::showOwnFleets() {
    if (!hasGame()) {
        fleetItem_->setChecked(false);
        return;
    }
    fleetItem_->setChecked(true);
    fleetInfo_->showOwnFleets(state_);
}

}  // namespace velmora::map
