#include "map/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <array>
#include <chrono>

#include "map/key_help.h"
#include "map/map_view.h"
#include "orders/map_guides.h"
#include "orders/save_slots.h"
#include "scenario/save_game.h"
#include "scenario/setup.h"
#include "turn/turn_sequence.h"
#include "ui/about_window.h"
#include "ui/flat_button.h"
#include "ui/fleet_info_window.h"
#include "ui/fonts.h"
#include "ui/message_log_window.h"
#include "ui/window_placement.h"

namespace velmora::map {
namespace {

const QString kScenarioFilter = QStringLiteral("Velmoraシナリオファイル(*.snr)");
constexpr int kStatusNoteMs = 6000;
static_assert(kSaveSlots + 1 == 6, "the slot item arrays hold slots 0..5");

// What each order does and its key, for the menu, the tooltips and the help.
struct OrderCommand {
    PaletteOrder order;
    const char* text;
    const char* key;
    const char* does;
};
constexpr std::array<OrderCommand, kPaletteOrderCount> kOrderCommands{{
    {PaletteOrder::kMove, "移動", "M", "選択中の艦隊の航路点を地図のクリックで指定します"},
    {PaletteOrder::kAirRaid, "空襲", "A", "航空隊で目標を攻撃します"},
    {PaletteOrder::kFormation, "編成", "F", "航空隊を編成して発進させます"},
    {PaletteOrder::kDistance, "距離", "D", "選択中の艦隊からの距離を円で示します"},
    {PaletteOrder::kFleetInfo, "艦隊情報", "I", "自艦隊と艦艇の情報を見ます"},
    {PaletteOrder::kSearch, "航空索敵", "S", "索敵機を出す区域を扇形で指定します"},
    {PaletteOrder::kSplit, "分離", "X", "艦隊から艦艇を分けて別の艦隊にします"},
    {PaletteOrder::kJoin, "合流", "J", "近くの艦隊と合流します"},
    {PaletteOrder::kWeather, "天候", "W", "嵐と風向きを地図に示します"},
    {PaletteOrder::kAswSearch, "対潜索敵", "", "対潜哨戒の区域を指定します"},
    {PaletteOrder::kAswAttack, "対潜攻撃", "", "潜水艦を攻撃します"},
    {PaletteOrder::kEndTurn, "ターン終了", "Return", "命令を終えて 1 時間進めます"},
}};

const OrderCommand& commandOf(PaletteOrder order) {
    return kOrderCommands[static_cast<std::size_t>(order)];
}

// Orders that act on the selected fleet.
bool needsFleet(PaletteOrder order) {
    return order != PaletteOrder::kWeather && order != PaletteOrder::kEndTurn &&
           order != PaletteOrder::kFleetInfo;
}

// The scenarios that come with the game, for the new-game dialog to open in:
// beside the program (build tree) or in the installed data folder.
QString bundledScenarioFolder() {
    const QString program = QCoreApplication::applicationDirPath();
    for (const QString& relative :
         {QStringLiteral("/../scenarios"), QStringLiteral("/../share/velmora/scenarios"),
          QStringLiteral("/scenarios")}) {
        const QDir folder(program + relative);
        if (folder.exists()) return folder.canonicalPath();
    }
    return {};
}

// Orders whose windows are not part of the program yet.
constexpr std::array kOrdersNotOffered{PaletteOrder::kAirRaid, PaletteOrder::kFormation,
                                       PaletteOrder::kSplit, PaletteOrder::kJoin};

}  // namespace

MainWindow::MainWindow(GameState& state, QWidget* parent)
    : QMainWindow(parent), state_(state), saveDirectory_(DefaultSaveDirectory()) {
    setWindowTitle(QStringLiteral("Velmora"));
    map_ = new MapView(state_, this);
    setCentralWidget(map_);
    palette_ = new OrdersPalette(this);
    fleetInfo_ = new ui::FleetInfoWindow(this);
    about_ = new ui::AboutWindow(this);
    log_ = new ui::MessageLogWindow(this);
    help_ = new KeyHelpWindow(this);
    for (PaletteOrder order : kOrdersNotOffered) palette_->setOrderEnabled(order, false);

    status_ = new QLabel(this);
    statusBar()->addWidget(status_, 1);
    statusBar()->setSizeGripEnabled(false);

    buildMenus();
    buildPopup();
    connectPalette();
    connect(map_, &MapView::pressed, this, &MainWindow::mapPressed);
    connect(map_, &MapView::moved, this, [this](Point at) {
        if (frontend_ != nullptr) MouseMoved(state_, *frontend_, at);
    });
    connect(fleetInfo_, &ui::FleetInfoWindow::openChanged, fleetItem_, &QAction::setChecked);
    updateStatus();
    setFixedSize(sizeHint());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus() {
    auto keyed = [this](QAction* action, const QKeySequence& key) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::ApplicationShortcut);
        commands_.append(action);
        return action;
    };
    QMenu* game = menuBar()->addMenu(QStringLiteral("ゲ－ム"));
    keyed(game->addAction(QStringLiteral("新規"), this, &MainWindow::newGame),
          QKeySequence(QStringLiteral("Ctrl+N")));
    saveMenu_ = game->addMenu(QStringLiteral("セーブ"));
    loadMenu_ = game->addMenu(QStringLiteral("ロード"));
    for (int slot = 1; slot <= kSaveSlots; ++slot) {
        saveItems_[static_cast<std::size_t>(slot)] =
            keyed(saveMenu_->addAction(QStringLiteral("セーブ%1").arg(slot), this,
                                       [this, slot] { saveSlot(slot); }),
                  QKeySequence(QStringLiteral("Ctrl+%1").arg(slot)));
        loadItems_[static_cast<std::size_t>(slot)] =
            keyed(loadMenu_->addAction(QStringLiteral("ロード%1").arg(slot), this,
                                       [this, slot] { loadSlot(slot); }),
                  QKeySequence(QStringLiteral("Alt+%1").arg(slot)));
    }
    loadMenu_->addSeparator();
    loadItems_[kAutoSaveSlot] = keyed(loadMenu_->addAction(QStringLiteral("オートセーブ"), this,
                                                           [this] { loadSlot(kAutoSaveSlot); }),
                                      QKeySequence(QStringLiteral("Alt+0")));
    // The labels say what each slot holds now.
    connect(saveMenu_, &QMenu::aboutToShow, this, &MainWindow::relabelSlots);
    connect(loadMenu_, &QMenu::aboutToShow, this, &MainWindow::relabelSlots);
    keyed(game->addAction(QStringLiteral("終了"), this, &QWidget::close),
          QKeySequence(QStringLiteral("Ctrl+Q")));

    QMenu* tools = menuBar()->addMenu(QStringLiteral("ツ－ルパレット"));
    paletteItem_ = tools->addAction(QStringLiteral("命令表"), this, &MainWindow::showPalette);
    paletteItem_->setCheckable(true);
    keyed(paletteItem_, QKeySequence(Qt::Key_F2));
    fleetItem_ = tools->addAction(QStringLiteral("艦隊"), this, &MainWindow::showOwnFleets);
    fleetItem_->setCheckable(true);
    keyed(fleetItem_, QKeySequence(Qt::Key_F3));
    keyed(tools->addAction(QStringLiteral("メッセージ履歴"), this, &MainWindow::showMessageLog),
          QKeySequence(Qt::Key_L));

    buildOrderMenu();

    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ"));
    keyed(help->addAction(QStringLiteral("操作一覧"), this, &MainWindow::showKeyHelp),
          QKeySequence(QKeySequence::HelpContents));
    aboutItem_ = menuBar()->addAction(QStringLiteral("バージョン情報"), about_, &QDialog::exec);
}

// Every palette order as a menu item with its key; the item presses the
// button, so an order that is not offered now is not given by key either.
void MainWindow::buildOrderMenu() {
    QMenu* orders = menuBar()->addMenu(QStringLiteral("命令"));
    for (const OrderCommand& command : kOrderCommands) {
        if (palette_->button(command.order)->isHidden()) continue;
        const PaletteOrder order = command.order;
        QAction* action = orders->addAction(QString::fromUtf8(command.text), this, [this, order] {
            if (!tooSoonAfterTurnEnd()) palette_->button(order)->click();
        });
        QList<QKeySequence> keys{QKeySequence(QString::fromUtf8(command.key))};
        if (order == PaletteOrder::kEndTurn) keys.append(QKeySequence(Qt::Key_Enter));
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::ApplicationShortcut);
        orderActions_[static_cast<std::size_t>(order)] = action;
        commands_.append(action);
    }
    orders->addSeparator();
    QAction* drop = orders->addAction(QStringLiteral("最新の航路点を取消"), this,
                                      &MainWindow::removeNewestWaypoint);
    drop->setShortcut(QKeySequence(Qt::Key_Backspace));
    drop->setShortcutContext(Qt::ApplicationShortcut);
    commands_.append(drop);
    QAction* normal = orders->addAction(QStringLiteral("通常モードに戻る／字幕と会話を飛ばす"),
                                        this, &MainWindow::escapePressed);
    normal->setShortcut(QKeySequence(Qt::Key_Escape));
    normal->setShortcutContext(Qt::ApplicationShortcut);
    commands_.append(normal);
    for (ui::FlatButton* button : palette_->findChildren<ui::FlatButton*>())
        button->installEventFilter(this);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    QMainWindow::closeEvent(event);
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // The palette keeps its place beside the map.
    if (palette_->isVisible()) placePalette();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A palette button's tooltip is written when it is asked for, so that
    // the reason a button is disabled is always the current one.
    if (event->type() == QEvent::ToolTip) {
        for (const OrderCommand& command : kOrderCommands) {
            if (watched == palette_->button(command.order))
                palette_->button(command.order)->setToolTip(orderTip(command.order));
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::addMenuBeforeAbout(QMenu* menu) {
    menuBar()->insertMenu(aboutItem_, menu);
}

void MainWindow::buildPopup() {
    popup_ = new QMenu(this);
    popupEndTurn_ = popup_->addAction(QStringLiteral("ターン終了"), this, &MainWindow::endTurn);
    popupEndTurn_->setShortcut(QKeySequence(Qt::Key_Return));
    popupCancel_ = popup_->addAction(QStringLiteral("キャンセル"), this, [this] {
        if (frontend_ != nullptr && PopupCancel(state_, *frontend_, map_->overlay())) {
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
    QFileDialog dialog(this, QStringLiteral("シナリオを開く"), bundledScenarioFolder(),
                       kScenarioFilter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // A cancelled dialog changes nothing: the game in progress goes on.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
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
    if (!SetupScenario(state_, *frontend_, snr, seed)) {
        refreshPalette();
        redrawMap();
        return false;
    }
    redrawMap();
    UpdateCaption(state_, *frontend_);
    showPaletteBeside();
    messageLogged();
    return true;
}

void MainWindow::saveSlot(int slot) {
    if (frontend_ == nullptr) return;
    if (!hasGame() || busy()) {
        showStatusMessage(hasGame() ? QStringLiteral("ターン終了の処理中はセーブできません")
                                    : QStringLiteral("セーブするゲームがありません"));
        return;
    }
    if (OrderSave(state_, *frontend_, saveDirectory_, slot))
        showStatusMessage(QString::fromStdString(SlotLabel(saveDirectory_, slot)) +
                          QStringLiteral(" にセーブしました"));
}

void MainWindow::loadSlot(int slot) {
    if (frontend_ == nullptr || busy()) return;
    const std::string folder = state_.ScenarioFolder;
    if (!OrderLoad(state_, *frontend_, saveDirectory_, slot)) {
        updateStatus();
        return;
    }
    // A save of another scenario plays that scenario's music.
    if (scenarioFolderHandler_ && state_.ScenarioFolder != folder)
        scenarioFolderHandler_(state_.ScenarioFolder);
    redrawMap();
    if (!palette_->isVisible()) showPaletteBeside();
    messageLogged();
    showStatusMessage(QString::fromStdString(SlotName(slot)) + QStringLiteral("をロードしました"));
}

void MainWindow::relabelSlots() {
    for (int slot = kAutoSaveSlot; slot <= kSaveSlots; ++slot) {
        const QString label = QString::fromStdString(SlotLabel(saveDirectory_, slot));
        if (QAction* save = saveItems_[static_cast<std::size_t>(slot)]) save->setText(label);
        if (QAction* load = loadItems_[static_cast<std::size_t>(slot)]) load->setText(label);
    }
}

bool MainWindow::tooSoonAfterTurnEnd() const {
    return turnEndEnabledAt_.isValid() &&
           turnEndEnabledAt_.elapsed() < QApplication::doubleClickInterval();
}

void MainWindow::endTurn() {
    if (frontend_ == nullptr || !hasGame() || busy() || tooSoonAfterTurnEnd()) return;
    OrderEndTurn(state_, *frontend_);
    // Counted from here too, in case the turn end did not enable the button.
    turnEndEnabledAt_.start();
    autoSave();
    updateStatus();
}

void MainWindow::autoSave() {
    if (!hasGame()) return;
    if (OrderSave(state_, *frontend_, saveDirectory_, kAutoSaveSlot))
        showStatusMessage(QStringLiteral("オートセーブしました（「ロード」→「オートセーブ」）"));
}

void MainWindow::escapePressed() {
    if (skipHandler_ && skipHandler_()) return;
    if (frontend_ == nullptr || busy()) return;
    const bool ownMode = state_.MapMode == kMapModeMove || state_.MapMode == kMapModeSearch ||
                         state_.MapMode == kMapModeAswSearch;
    if (!ownMode) return;
    state_.MapMode = kMapModeNormal;
    RedrawMapView(*frontend_, map_->overlay());
}

void MainWindow::removeNewestWaypoint() {
    if (frontend_ == nullptr || !hasGame() || busy()) return;
    if (RemoveNewestWaypoint(state_)) {
        RedrawMapView(*frontend_, map_->overlay());
    } else {
        showStatusMessage(QStringLiteral("取り消す航路点がありません"));
    }
}

void MainWindow::redrawMap() {
    if (!hasGame()) {
        map_->showTitle();
        updateStatus();
        return;
    }
    map_->redraw();
    for (MapDrawing& d : ModeOverlay(state_)) map_->overlay().Add(std::move(d));
    map_->flushOverlay();
    updateStatus();
}

void MainWindow::refreshPalette() {
    palette_->setFleets(FleetTreeTexts(state_), state_.SelectedFleet);
    palette_->setSummary(ToolCaptionText(state_));
    updateStatus();
}

void MainWindow::setTurnEndEnabled(bool enabled) {
    palette_->setOrderEnabled(PaletteOrder::kEndTurn, enabled);
    if (enabled) turnEndEnabledAt_.start();
}

void MainWindow::messageLogged() {
    log_->follow(state_.MessageLog);
}

void MainWindow::showMessageLog() {
    log_->showLog(state_.MessageLog);
}

void MainWindow::showKeyHelp() {
    help_->showFor(commands_);
}

void MainWindow::showStatusMessage(const QString& text) {
    statusBar()->showMessage(text, kStatusNoteMs);
}

void MainWindow::updateStatus() {
    status_->setText(QString::fromStdString(StatusLineText(state_)));
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (state_.MapMode) {
        case kMapModeMove:
        case kMapModeAirRaidTarget:
        case kMapModeAswTarget:
            shape = Qt::CrossCursor;
            break;
        case kMapModeSearch:
        case kMapModeAswSearch:
            shape = Qt::PointingHandCursor;
            break;
        default:
            break;
    }
    if (state_.TurnEndRunning) shape = Qt::BusyCursor;
    map_->setCursor(shape);
}

QString MainWindow::disabledReason(PaletteOrder order) const {
    if (!hasGame()) return QStringLiteral("ゲームが始まっていません");
    if (busy()) return QStringLiteral("ターン終了の処理中です");
    if (needsFleet(order) && SelectedFleetRecord(state_) == nullptr)
        return QStringLiteral("艦隊が選択されていません");
    return QStringLiteral("この命令は今は使えません");
}

QString MainWindow::orderTip(PaletteOrder order) const {
    const OrderCommand& command = commandOf(order);
    QString tip = QString::fromUtf8(command.does);
    if (QAction* action = orderAction(order); action != nullptr && !action->shortcut().isEmpty())
        tip += QStringLiteral("（%1）").arg(action->shortcut().toString(QKeySequence::NativeText));
    if (!palette_->button(order)->isEnabled())
        tip += QStringLiteral("\n使えません: ") + disabledReason(order);
    return tip;
}

void MainWindow::placePalette() {
    // Beside the main window where the screen has room, else over the east
    // of the map as before; always on screen.
    const QRect main = frameGeometry();
    const QSize own = palette_->frameGeometry().size();
    const QScreen* screen = this->screen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
    QPoint at(main.right() + 1, main.top());
    if (area.isValid() && at.x() + own.width() - 1 > area.right())
        at = QPoint(main.right() + 1 - own.width(), main.top() + 130);
    ui::placeOnScreen(palette_, at);
}

void MainWindow::showPaletteBeside() {
    placePalette();
    palette_->show();
    palette_->raise();
}

void MainWindow::mapPressed(MouseButton button, Point at, QPoint globalPos) {
    if (frontend_ == nullptr) return;
    // A right click ends a caption sequence or conversation being shown.
    if (button == MouseButton::kRight && skipHandler_ && skipHandler_()) return;
    if (settingUp_) return;
    if (button == MouseButton::kRight) {
        popupEndTurn_->setEnabled(hasGame() && !busy());
        popup_->exec(globalPos);
    }
    // While a turn end runs the map only offers its popup: the map under a
    // caption stays as it is.
    if (state_.TurnEndRunning) return;
    const MapClickResult result = MapClick(state_, *frontend_, map_->overlay(), button, at);
    map_->flushOverlay();
    if (!result.Refusal.empty()) showStatusMessage(QString::fromStdString(result.Refusal));
    updateStatus();
    if (result.TargetPoint) emit targetPointClicked(*result.TargetPoint);
}

void MainWindow::paletteOrder(PaletteOrder order) {
    if (frontend_ == nullptr || !hasGame() || settingUp_) return;
    // Orders wait for the turn end to finish; its own button is refused there.
    if (state_.TurnEndRunning && order != PaletteOrder::kEndTurn) return;
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
            showOwnFleets();
            break;
        case PaletteOrder::kSearch:
            if (OrderSearchSectors(state_, overlay)) redrawMap();
            break;
        case PaletteOrder::kWeather:
            OrderWeather(state_, overlay);
            break;
        case PaletteOrder::kAswSearch:
            if (OrderAswSearchSectors(state_, overlay)) redrawMap();
            break;
        case PaletteOrder::kEndTurn:
            endTurn();
            break;
        case PaletteOrder::kAirRaid:
        case PaletteOrder::kFormation:
        case PaletteOrder::kSplit:
        case PaletteOrder::kJoin:
        case PaletteOrder::kAswAttack:
            // Not offered: the buttons stay disabled.
            break;
    }
    map_->flushOverlay();
    updateStatus();
}

void MainWindow::showPalette() {
    if (!hasGame()) {
        paletteItem_->setChecked(palette_->isVisible());
        return;
    }
    showPaletteBeside();
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
