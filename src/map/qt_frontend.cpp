#include "map/qt_frontend.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QStringList>
#include <QTimer>
#include <optional>

#include "map/main_window.h"
#include "map/map_view.h"
#include "media/media_player.h"
#include "ui/battle_message_window.h"
#include "ui/battle_window.h"
#include "ui/conversation_window.h"
#include "ui/message_window.h"
#include "ui/number_window.h"
#include "ui/serif_box.h"
#include "ui/target_windows.h"
#include "ui/victory_window.h"
#include "ui/window_placement.h"
#include "view3d/gl/unit_viewer.h"

namespace velmora::map {
namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

namespace {

// The fleet the search information window shows: the same record, or else
// the fleet in play with its designation (the window may have been open
// across a turn).
std::optional<int> FleetShownInSearchInfo(const GameState& state, const TFleet& shown) {
    for (int i = 0; i < kFleetCount; ++i) {
        if (state.FleetTable[static_cast<std::size_t>(i)] == shown) return i;
    }
    for (int i = 0; i < kFleetCount; ++i) {
        const TFleet& f = state.FleetTable[static_cast<std::size_t>(i)];
        if (f.Active && f.Side != state.PlayerSide && f.Designation.str() == shown.Designation.str()) return i;
    }
    return std::nullopt;
}

}  // namespace

QtFrontend::QtFrontend(GameState& state, map::MainWindow& mainWindow, media::MediaPlayer& media)
    : state_(state),
      main_(mainWindow),
      media_(media),
      message_(new ui::MessageWindow(&mainWindow)),
      number_(new ui::NumberWindow(&mainWindow)),
      battleMessage_(new ui::BattleMessageWindow(&mainWindow)),
      battle_(new ui::BattleWindow(&mainWindow)),
      conversation_(new ui::ConversationWindow(&mainWindow)),
      targetList_(new ui::TargetListWindow(&mainWindow)),
      attackTarget_(new ui::AttackTargetWindow(&mainWindow)),
      searchInfo_(new ui::SearchInfoWindow(&mainWindow)),
      victory_(new ui::VictoryWindow(&mainWindow)) {
    view3d::UnitViewer* viewer = main_.unitViewer();
    viewer->setMessageHandler([this](const QString& caption, const QString& text) {
        MessageOk(caption.toStdString(), text.toStdString());
    });
    searchInfo_->setDetailHandler([this, viewer](const TFleet& shown) {
        if (auto fleet = FleetShownInSearchInfo(state_, shown)) viewer->showFleetDetailView(*fleet);
    });
}

// The windows are children of the main window, which deletes them.
QtFrontend::~QtFrontend() = default;

void QtFrontend::shutDown() {
    shuttingDown_ = true;
}

void QtFrontend::MessageOk(std::string_view caption, std::string_view text) {
    if (shuttingDown_) return;
    message_->showOk(qs(caption), qs(text));
}

bool QtFrontend::MessageAsk(std::string_view caption, std::string_view text, std::string_view left,
                            std::string_view right) {
    if (shuttingDown_) return false;
    return message_->ask(qs(caption), qs(text), qs(left), qs(right));
}

bool QtFrontend::Confirm(std::string_view caption, std::string_view text) {
    if (shuttingDown_) return false;
    return message_->confirm(qs(caption), qs(text));
}

bool QtFrontend::AskNumber(std::string_view caption, std::string_view prompt, std::string& value,
                           int maximum) {
    if (shuttingDown_) return false;
    QString text = QString::fromStdString(value);
    if (!number_->ask(qs(caption), qs(prompt), text, maximum)) return false;
    value = text.toStdString();
    return true;
}

void QtFrontend::ShowBattleMessage(std::string_view text) {
    if (shuttingDown_) return;
    battleMessage_->show(qs(text));
}

void QtFrontend::BattleWindowShow() {
    if (!shuttingDown_) battle_->open();
}

void QtFrontend::BattleSayText(std::string_view text) {
    if (!shuttingDown_) battle_->say(qs(text));
}

void QtFrontend::BattleWindowClose() {
    battle_->finish();
}

void QtFrontend::SetBattleCaption(std::string_view caption) {
    battle_->setCaption(qs(caption));
}

int QtFrontend::PickTarget(std::string_view caption, const std::vector<std::string>& names) {
    if (shuttingDown_) return ui::kTargetCancelled;
    QStringList list;
    for (const std::string& name : names) list << QString::fromStdString(name);
    return targetList_->pick(qs(caption), list);
}

void QtFrontend::ChooseTargetShips(TAirUnit& attack, std::string_view caption) {
    if (!shuttingDown_) attackTarget_->choose(attack, qs(caption));
}

void QtFrontend::ShowSearchInfo(const TFleet& fleet) {
    if (!shuttingDown_) searchInfo_->show(fleet, state_);
}

void QtFrontend::PlayMusic(std::string_view file) {
    if (!shuttingDown_) media_.playMusic(qs(file));
}

void QtFrontend::PlaySoundCue(std::string_view file) {
    if (!shuttingDown_) media_.playSoundCue(qs(file));
}

void QtFrontend::PlayMovie(std::string_view file, std::string_view text) {
    if (!shuttingDown_) media_.playMovie(qs(file), qs(text));
}

void QtFrontend::waitCaptionInterval() {
    if (shuttingDown_) return;
    QEventLoop loop;
    QTimer::singleShot(captionIntervalMs_, &loop, &QEventLoop::quit);
    loop.exec();
}

void QtFrontend::ShowCaptionLine(std::string_view line) {
    waitCaptionInterval();
    if (!shuttingDown_) main_.mapView()->showCaptionLine(qs(line));
}

void QtFrontend::EndCaptionSequence() {
    waitCaptionInterval();
}

void QtFrontend::ConversationOpen() {
    if (!shuttingDown_) conversation_->open();
}

void QtFrontend::SayText(std::string_view text) {
    if (!shuttingDown_) conversation_->sayText(qs(text));
}

void QtFrontend::ConversationClose() {
    conversation_->close();
}

void QtFrontend::RedrawMap() {
    main_.redrawMap();
}

void QtFrontend::RefreshPalette() {
    main_.refreshPalette();
}

void QtFrontend::SetCaption(std::string_view caption) {
    main_.setWindowTitle(qs(caption));
}

void QtFrontend::SetTurnEndEnabled(bool enabled) {
    // A turn end that was fast-forwarded is over: the next one waits again.
    if (enabled) battleMessage_->endFastForward();
    main_.setTurnEndEnabled(enabled);
}

void QtFrontend::ShowVictory(const VictoryReport& report) {
    if (!shuttingDown_) victory_->show(report);
}

void QtFrontend::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

void QtFrontend::ShowShipModel(int classIndex) {
    if (!shuttingDown_) main_.unitViewer()->showShipModel(classIndex);
}
void QtFrontend::ShowAircraftModel(int aircraftTypeIndex) {
    if (!shuttingDown_) main_.unitViewer()->showAircraftModel(aircraftTypeIndex);
}
void QtFrontend::ShowBattleFleetView(int fleetIndex) {
    if (!shuttingDown_) main_.unitViewer()->showBattleFleetView(fleetIndex);
}
void QtFrontend::EndModelView() { main_.unitViewer()->endView(); }

}  // namespace velmora::map
