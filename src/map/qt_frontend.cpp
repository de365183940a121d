#include "map/qt_frontend.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QStringList>
#include <QTimer>

#include "map/main_window.h"
#include "map/map_view.h"
#include "media/media_player.h"
#include "orders/message_log.h"
#include "ui/battle_message_window.h"
#include "ui/conversation_window.h"
#include "ui/message_window.h"
#include "ui/number_window.h"
#include "ui/serif_box.h"
#include "ui/target_windows.h"
#include "ui/victory_window.h"
#include "ui/window_placement.h"

namespace velmora::map {
namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

// The stage on which ground combat is told ("戦闘"): a picture area with a
// dialogue box along its bottom edge.
class BattleWindow : public QWidget {
  public:
    explicit BattleWindow(QWidget* mainWindow)
        : QWidget(mainWindow, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
          mainWindow_(mainWindow),
          box_(new ui::SerifBox(this)) {
        setWindowTitle(QStringLiteral("戦闘"));
        setFixedSize(785, 562);
        QPalette shade = palette();
        shade.setColor(QPalette::Window, QColor(0x10, 0x18, 0x30));
        setPalette(shade);
        setAutoFillBackground(true);
        box_->setGeometry(0, 504, 785, 58);
        box_->setTextWidth(15);
        box_->setTextHeight(15);
        box_->setHorizontalSpace(5);
        box_->setVerticalSpace(5);
        connect(box_, &ui::SerifBox::clicked, box_, &ui::SerifBox::NextPage);
    }

    void open() {
        ui::centreOver(this, mainWindow_);
        show();
        raise();
        // Typing paints straight away: the window must be on screen first.
        ui::waitUntilExposed(this);
    }
    void say(const QString& text) {
        box_->setLines({text});
        box_->Play(false);
    }
    void finish() {
        box_->ClearText();
        box_->Stop();
        hide();
    }

  private:
    QWidget* mainWindow_;
    ui::SerifBox* box_;
};

QtFrontend::QtFrontend(GameState& state, map::MainWindow& mainWindow, media::MediaPlayer& media)
    : state_(state),
      main_(mainWindow),
      media_(media),
      message_(new ui::MessageWindow(&mainWindow)),
      number_(new ui::NumberWindow(&mainWindow)),
      battleMessage_(new ui::BattleMessageWindow(&mainWindow)),
      battle_(new BattleWindow(&mainWindow)),
      conversation_(new ui::ConversationWindow(&mainWindow)),
      targetList_(new ui::TargetListWindow(&mainWindow)),
      attackTarget_(new ui::AttackTargetWindow(&mainWindow)),
      searchInfo_(new ui::SearchInfoWindow(&mainWindow)),
      victory_(new ui::VictoryWindow(&mainWindow)) {
    main_.setSkipHandler([this] { return skipPresentation(); });
    // A click while a speech types shows its page at once.
    conversation_->setSkipRequested([this] { skipPresentation(); });
}

// The windows are children of the main window, which deletes them.
QtFrontend::~QtFrontend() = default;

void QtFrontend::shutDown() {
    shuttingDown_ = true;
}

void QtFrontend::log(std::string_view caption, std::string_view text) {
    AddToMessageLog(state_, caption, text);
    main_.messageLogged();
}

bool QtFrontend::skipPresentation() {
    if (conversationShown_ && !skipConversation_) {
        skipConversation_ = true;
        conversation_->serifBox()->Stop();
        return true;
    }
    if (captionsShown_ && !skipCaptions_) {
        skipCaptions_ = true;
        if (captionWait_ != nullptr) captionWait_->quit();
        return true;
    }
    return false;
}

void QtFrontend::MessageOk(std::string_view caption, std::string_view text) {
    log(caption, text);
    if (shuttingDown_) return;
    message_->showOk(qs(caption), qs(text));
}

bool QtFrontend::MessageAsk(std::string_view caption, std::string_view text, std::string_view left,
                            std::string_view right) {
    log(caption, text);
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
    log({}, text);
    if (shuttingDown_) return;
    battleMessage_->show(qs(text));
}

void QtFrontend::BattleWindowShow() {
    if (!shuttingDown_) battle_->open();
}

void QtFrontend::BattleSayText(std::string_view text) {
    log({}, text);
    if (!shuttingDown_) battle_->say(qs(text));
}

void QtFrontend::BattleWindowClose() {
    battle_->finish();
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
    if (shuttingDown_ || skipCaptions_) return;
    QEventLoop loop;
    QTimer::singleShot(captionIntervalMs_, &loop, &QEventLoop::quit);
    QEventLoop* outer = captionWait_;
    captionWait_ = &loop;
    loop.exec();
    captionWait_ = outer;
}

void QtFrontend::ShowCaptionLine(std::string_view line) {
    captionsShown_ = true;
    log({}, line);
    waitCaptionInterval();
    if (!shuttingDown_ && !skipCaptions_) main_.mapView()->showCaptionLine(qs(line));
}

void QtFrontend::EndCaptionSequence() {
    waitCaptionInterval();
    captionsShown_ = false;
    skipCaptions_ = false;
    // The captions give the map back.
    if (!shuttingDown_) main_.redrawMap();
}

void QtFrontend::ConversationOpen() {
    conversationShown_ = true;
    skipConversation_ = false;
    if (!shuttingDown_) conversation_->open();
}

void QtFrontend::SayText(std::string_view text) {
    log({}, text);
    if (!shuttingDown_ && !skipConversation_) conversation_->sayText(qs(text));
}

void QtFrontend::ConversationClose() {
    conversationShown_ = false;
    skipConversation_ = false;
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
    main_.setTurnEndEnabled(enabled);
}

void QtFrontend::ShowVictory(const VictoryReport& report) {
    if (!shuttingDown_) victory_->show(report);
}

void QtFrontend::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

// The 3D views are drawn by the unit viewer once it is attached to the main
// window; until then the combat reports go on without pictures.
void QtFrontend::ShowShipModel(int) {}
void QtFrontend::ShowAircraftModel(int) {}
void QtFrontend::ShowBattleFleetView(int) {}
void QtFrontend::EndModelView() {}

}  // namespace velmora::map
