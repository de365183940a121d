#include "frontend/recording_frontend.h"

#include <sstream>

#include "frontend/reports.h"
#include "model/records.h"

namespace velmora {
namespace {

// Keeps one call on one line.
std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\\': out += "\\\\"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Join(const std::vector<std::string>& items, char separator) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out += separator;
        out += items[i];
    }
    return out;
}

}  // namespace

std::vector<std::string> RecordingFrontend::CallsOf(std::string_view name) const {
    std::vector<std::string> out;
    std::string prefix = std::string(name) + "\t";
    for (const auto& line : transcript_) {
        if (line == name || line.rfind(prefix, 0) == 0) out.push_back(line);
    }
    return out;
}

void RecordingFrontend::Record(std::initializer_list<std::string_view> fields) {
    std::string line;
    bool first = true;
    for (std::string_view f : fields) {
        if (!first) line += '\t';
        line += first ? std::string(f) : Escape(f);
        first = false;
    }
    if (echo_) *echo_ << line << '\n';
    transcript_.push_back(std::move(line));
}

bool RecordingFrontend::NextAnswer(std::string& out) {
    if (answers_.empty()) return false;
    out = answers_.front();
    answers_.pop_front();
    return true;
}

bool RecordingFrontend::AskYesNo() {
    std::string answer;
    if (!NextAnswer(answer)) return true;
    return answer == "yes" || answer == "1" || answer == "ok";
}

void RecordingFrontend::MessageOk(std::string_view caption, std::string_view text) {
    Record({"MessageOk", caption, text});
}

bool RecordingFrontend::MessageAsk(std::string_view caption, std::string_view text,
                                   std::string_view left, std::string_view right) {
    Record({"MessageAsk", caption, text, left, right});
    return AskYesNo();
}

bool RecordingFrontend::Confirm(std::string_view caption, std::string_view text) {
    Record({"Confirm", caption, text});
    return AskYesNo();
}

bool RecordingFrontend::AskNumber(std::string_view caption, std::string_view prompt,
                                  std::string& value, int maximum) {
    Record({"AskNumber", caption, prompt, value, std::to_string(maximum)});
    std::string answer;
    if (!NextAnswer(answer)) return true;
    if (answer == "cancel") return false;
    value = answer;
    return true;
}

void RecordingFrontend::ShowBattleMessage(std::string_view text) {
    Record({"ShowBattleMessage", text});
}
void RecordingFrontend::BattleWindowShow() { Record({"BattleWindowShow"}); }
void RecordingFrontend::BattleSayText(std::string_view text) { Record({"BattleSayText", text}); }
void RecordingFrontend::BattleWindowClose() { Record({"BattleWindowClose"}); }
void RecordingFrontend::SetBattleCaption(std::string_view caption) {
    Record({"SetBattleCaption", caption});
}

int RecordingFrontend::PickTarget(std::string_view caption,
                                  const std::vector<std::string>& names) {
    Record({"PickTarget", caption, Join(names, '|')});
    std::string answer;
    if (!NextAnswer(answer)) return names.empty() ? 999 : 0;
    try {
        return std::stoi(answer);
    } catch (...) {
        return 999;
    }
}

void RecordingFrontend::ChooseTargetShips(TAirUnit& attack, std::string_view caption) {
    Record({"ChooseTargetShips", caption, std::to_string(attack.TargetGroup)});
    std::string answer;
    if (!NextAnswer(answer)) return;
    std::istringstream in(answer);
    int group = 0;
    if (in >> group) attack.TargetGroup = group;
    for (std::size_t i = 0; i < 3; ++i) {
        int request = 0;
        if (in >> request) attack.TargetRequest[i] = request;
    }
}

void RecordingFrontend::ShowSearchInfo(const TFleet& fleet) {
    Record({"ShowSearchInfo", fleet.Designation.str(), std::to_string(fleet.DetectLevel)});
}

void RecordingFrontend::PlayMusic(std::string_view file) { Record({"PlayMusic", file}); }
void RecordingFrontend::PlaySoundCue(std::string_view file) { Record({"PlaySoundCue", file}); }
void RecordingFrontend::PlayMovie(std::string_view file, std::string_view text) {
    Record({"PlayMovie", file, text});
}
void RecordingFrontend::ShowCaptionLine(std::string_view line) {
    Record({"ShowCaptionLine", line});
}
void RecordingFrontend::EndCaptionSequence() { Record({"EndCaptionSequence"}); }
void RecordingFrontend::ConversationOpen() { Record({"ConversationOpen"}); }
void RecordingFrontend::SayText(std::string_view text) { Record({"SayText", text}); }
void RecordingFrontend::ConversationClose() { Record({"ConversationClose"}); }
void RecordingFrontend::RedrawMap() { Record({"RedrawMap"}); }
void RecordingFrontend::RefreshPalette() { Record({"RefreshPalette"}); }
void RecordingFrontend::SetCaption(std::string_view caption) { Record({"SetCaption", caption}); }
void RecordingFrontend::SetTurnEndEnabled(bool enabled) {
    Record({"SetTurnEndEnabled", enabled ? "1" : "0"});
}

void RecordingFrontend::ShowVictory(const VictoryReport& report) {
    Record({"ShowVictory", report.Outcome, std::to_string(report.Totals[0]),
            std::to_string(report.Totals[1])});
}

void RecordingFrontend::ProcessPendingEvents() {}

void RecordingFrontend::ShowShipModel(int classIndex) {
    Record({"ShowShipModel", std::to_string(classIndex)});
}
void RecordingFrontend::ShowAircraftModel(int aircraftTypeIndex) {
    Record({"ShowAircraftModel", std::to_string(aircraftTypeIndex)});
}
void RecordingFrontend::ShowBattleFleetView(int fleetIndex) {
    Record({"ShowBattleFleetView", std::to_string(fleetIndex)});
}
void RecordingFrontend::EndModelView() { Record({"EndModelView"}); }

}  // namespace velmora
