// The desktop front end: each call of the engine goes to the window that
// shows it. Calls block as the rules expect, in modal dialogs or nested
// event loops, so the map and the palette stay live meanwhile.
#pragma once

#include <QString>

#include "frontend/frontend.h"
#include "model/game_state.h"

class QEventLoop;
class QWidget;

namespace velmora::media {
class MediaPlayer;
}

namespace velmora::ui {
class AttackTargetWindow;
class BattleMessageWindow;
class ConversationWindow;
class MessageWindow;
class NumberWindow;
class SearchInfoWindow;
class SerifBox;
class TargetListWindow;
class VictoryWindow;
}  // namespace velmora::ui

namespace velmora::map {

class BattleWindow;
class MainWindow;

class QtFrontend : public Frontend {
  public:
    static constexpr int kCaptionIntervalMs = 3000;

    QtFrontend(GameState& state, map::MainWindow& mainWindow, media::MediaPlayer& media);
    ~QtFrontend() override;

    // The program is ending: waits end at once and questions take their
    // default answer, so a turn end still running finishes without windows.
    void shutDown();
    void setCaptionInterval(int ms) { captionIntervalMs_ = ms; }
    // Esc or a right click: ends the caption sequence or the conversation
    // being shown at once. False when neither is shown.
    bool skipPresentation();

    void MessageOk(std::string_view caption, std::string_view text) override;
    bool MessageAsk(std::string_view caption, std::string_view text, std::string_view left,
                    std::string_view right) override;
    bool Confirm(std::string_view caption, std::string_view text) override;
    bool AskNumber(std::string_view caption, std::string_view prompt, std::string& value,
                   int maximum) override;
    void ShowBattleMessage(std::string_view text) override;
    void BattleWindowShow() override;
    void BattleSayText(std::string_view text) override;
    void BattleWindowClose() override;
    int PickTarget(std::string_view caption, const std::vector<std::string>& names) override;
    void ChooseTargetShips(TAirUnit& attack, std::string_view caption) override;
    void ShowSearchInfo(const TFleet& fleet) override;
    void PlayMusic(std::string_view file) override;
    void PlaySoundCue(std::string_view file) override;
    void PlayMovie(std::string_view file, std::string_view text) override;
    void ShowCaptionLine(std::string_view line) override;
    void EndCaptionSequence() override;
    void ConversationOpen() override;
    void SayText(std::string_view text) override;
    void ConversationClose() override;
    void RedrawMap() override;
    void RefreshPalette() override;
    void SetCaption(std::string_view caption) override;
    void SetTurnEndEnabled(bool enabled) override;
    void ShowVictory(const VictoryReport& report) override;
    void ProcessPendingEvents() override;
    void ShowShipModel(int classIndex) override;
    void ShowAircraftModel(int aircraftTypeIndex) override;
    void ShowBattleFleetView(int fleetIndex) override;
    void EndModelView() override;

  private:
    // Waits the caption interval with the event queue served.
    void waitCaptionInterval();
    // Keeps a line the player was shown in the message log.
    void log(std::string_view caption, std::string_view text);

    GameState& state_;
    map::MainWindow& main_;
    media::MediaPlayer& media_;
    ui::MessageWindow* message_;
    ui::NumberWindow* number_;
    ui::BattleMessageWindow* battleMessage_;
    BattleWindow* battle_;
    ui::ConversationWindow* conversation_;
    ui::TargetListWindow* targetList_;
    ui::AttackTargetWindow* attackTarget_;
    ui::SearchInfoWindow* searchInfo_;
    ui::VictoryWindow* victory_;
    int captionIntervalMs_ = kCaptionIntervalMs;
    bool shuttingDown_ = false;
    bool captionsShown_ = false;
    bool skipCaptions_ = false;
    bool conversationShown_ = false;
    bool skipConversation_ = false;
    QEventLoop* captionWait_ = nullptr;
};

}  // namespace velmora::map
