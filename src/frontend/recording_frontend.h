// A front end without windows. It writes one tab-separated line per call
// (into its transcript and, if given, a stream) and answers questions from a
// queue; with the queue empty it takes the first or default choice. Tests
// use it to script the person; velmora-sim uses it as the automatic player.
#pragma once

#include <deque>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/frontend.h"

namespace velmora {

class RecordingFrontend : public Frontend {
public:
    explicit RecordingFrontend(std::ostream* echo = nullptr) : echo_(echo) {}

    // Answers, taken in order by the questions: "yes"/"no" for MessageAsk and
    // Confirm, a decimal text or "cancel" for AskNumber, an index for
    // PickTarget, "group r1 r2 r3" for ChooseTargetShips.
    void Answer(std::string answer) { answers_.push_back(std::move(answer)); }
    // Drops the answers no question took.
    void ClearAnswers() { answers_.clear(); }

    const std::vector<std::string>& Transcript() const { return transcript_; }
    // Lines of the transcript that start with the call name.
    std::vector<std::string> CallsOf(std::string_view name) const;
    void ClearTranscript() { transcript_.clear(); }

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
    void SetBattleCaption(std::string_view caption) override;
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
    void Record(std::initializer_list<std::string_view> fields);
    bool NextAnswer(std::string& out);
    bool AskYesNo();

    std::ostream* echo_;
    std::deque<std::string> answers_;
    std::vector<std::string> transcript_;
};

}  // namespace velmora
