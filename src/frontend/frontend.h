// The engine reaches the person only through this interface. The Qt windows
// implement it; tests use the recording front end; velmora-sim the automatic
// one. Every call blocks until the person has answered.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

struct TAirUnit;
struct TFleet;
struct VictoryReport;

class Frontend {
public:
    virtual ~Frontend() = default;

    // Notices and questions.
    virtual void MessageOk(std::string_view caption, std::string_view text) = 0;
    // True for the left button.
    virtual bool MessageAsk(std::string_view caption, std::string_view text,
                            std::string_view left, std::string_view right) = 0;
    // The standard OK / Cancel box; true for OK.
    virtual bool Confirm(std::string_view caption, std::string_view text) = 0;
    // Number input; on OK writes the entered decimal text into value.
    virtual bool AskNumber(std::string_view caption, std::string_view prompt, std::string& value,
                           int maximum) = 0;

    // Combat report and the tactical battle window.
    virtual void ShowBattleMessage(std::string_view text) = 0;
    virtual void BattleWindowShow() = 0;
    virtual void BattleSayText(std::string_view text) = 0;
    virtual void BattleWindowClose() = 0;
    virtual void SetBattleCaption(std::string_view caption) = 0;

    // Choices. PickTarget returns the chosen index, or 999 when cancelled.
    virtual int PickTarget(std::string_view caption, const std::vector<std::string>& names) = 0;
    // Lets the player set TargetGroup and TargetRequest of the attack record.
    virtual void ChooseTargetShips(TAirUnit& attack, std::string_view caption) = 0;
    virtual void ShowSearchInfo(const TFleet& fleet) = 0;

    // Scenario presentation.
    virtual void PlayMusic(std::string_view file) = 0;
    virtual void PlaySoundCue(std::string_view file) = 0;
    // Plays the clip with its typed caption; returns when the caption box stops.
    virtual void PlayMovie(std::string_view file, std::string_view text) = 0;
    // One caption tick: waits the caption interval, then shows the line over
    // the map (black screen, centred by bytes).
    virtual void ShowCaptionLine(std::string_view line) = 0;
    // The last caption tick: waits the caption interval; the map returns at
    // the next redraw.
    virtual void EndCaptionSequence() = 0;
    virtual void ConversationOpen() = 0;
    // Shows one conversation line; returns after the person clicked through it.
    virtual void SayText(std::string_view text) = 0;
    virtual void ConversationClose() = 0;

    // Views.
    virtual void RedrawMap() = 0;
    virtual void RefreshPalette() = 0;
    virtual void SetCaption(std::string_view caption) = 0;
    virtual void SetTurnEndEnabled(bool enabled) = 0;
    virtual void ShowVictory(const VictoryReport& report) = 0;
    // Lets the window system handle what is pending.
    virtual void ProcessPendingEvents() = 0;

    // 3D unit views in place of the map. They return at once; the view stays
    // up (turning) until EndModelView or another view replaces it.
    // One ship class turning (combat reports).
    virtual void ShowShipModel(int classIndex) = 0;
    // One aircraft type turning (combat reports).
    virtual void ShowAircraftModel(int aircraftTypeIndex) = 0;
    // The ships of an attacked fleet on their rings (strikes, encounters).
    virtual void ShowBattleFleetView(int fleetIndex) = 0;
    // Stops drawing the 3D view; the map returns at its next redraw.
    virtual void EndModelView() = 0;
};

}  // namespace velmora
