#include "scenario/script.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <vector>

#include "chart/weather.h"
#include "files/paths.h"
#include "model/labels.h"
#include "model/text.h"

namespace velmora {
namespace {

constexpr std::string_view kNotANumber = "数値ではありません: ";

// Lines that contain one of these are commands even inside a conversation.
constexpr std::array<std::string_view, 11> kTalkBreakWords{
    "talk",    "create",    "telop",     "end",      "*",       "setpilot",
    "settype", "setweapon", "wcontinue", "setupbgm", "startbgm"};

enum Command : int {
    kTalk = 0,
    kCreate,
    kTelop,
    kEnd,
    kLabel,
    kSetPilot,
    kSetType,
    kSetWeapon,
    kWinContinue,
    kSetupBgm,
    kStartBgm,
    kStopBgm,
    kLoadMap,
    kLoseContinue,
    kGraphic,
    kSetEffect,
    kMovie,
    kSetCloud,
    kSetVtFuse,
};

enum Section : int {
    kPrologueSection = 0,
    kStartSection,
    kTurnSection,
    kEntrySection,
    kExitSection,
    kEndSection,
};

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    }
    return out;
}

std::string TrimLeadingBlanks(std::string_view line) {
    std::size_t start = 0;
    while (start < line.size() && static_cast<unsigned char>(line[start]) <= ' ') ++start;
    return std::string(line.substr(start));
}

bool Contains(std::string_view text, std::string_view word) {
    return text.find(word) != std::string_view::npos;
}

std::string WithoutSpaces(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c != ' ') out += c;
    }
    return out;
}

bool IsSeparator(char c) {
    return c == ' ' || c == '\r';
}

// Words followed by a separator go to slots 0, 1, ...; the final word (the
// text after the last separator) is returned. The count goes to *stored.
std::string SplitWords(std::string_view line, WordSlotArray& slots, int* stored) {
    int count = 0;
    std::size_t i = 0;
    while (true) {
        std::size_t end = i;
        while (end < line.size() && !IsSeparator(line[end])) ++end;
        if (end == line.size()) {
            if (stored) *stored = count;
            return std::string(line.substr(i));
        }
        if (count < kWordSlots) slots[static_cast<std::size_t>(count)] = line.substr(i, end - i);
        ++count;
        i = end;
        while (i < line.size() && IsSeparator(line[i])) ++i;
    }
}

int IntegerOr(std::string_view word, int fallback) {
    int value = 0;
    return ParseScriptInteger(word, value) ? value : fallback;
}

bool ParseReal(const std::string& word, double& value) {
    if (word.empty()) return false;
    char* end = nullptr;
    value = std::strtod(word.c_str(), &end);
    return end == word.c_str() + word.size();
}

class ScriptReader {
  public:
    ScriptReader(GameState& state, const std::filesystem::path& file, int n1, int n2,
                 Diagnostics& diag, ScriptListener* listener)
        : state_(state), file_(file.string()), n1_(n1), n2_(n2), diag_(diag), listener_(listener) {}

    void Run(const std::vector<std::string>& lines) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            line_number_ = static_cast<int>(i) + 1;
            ReadLine(TrimLeadingBlanks(lines[i]));
        }
    }

  private:
    void ReadLine(const std::string& line) {
        if (listener_) listener_->Line(line_number_, line, talk_mode_);
        std::string lower = LowerAscii(line);
        if (talk_mode_ && IsSpeech(lower)) {
            if (listener_) listener_->Speech(line_number_, line);
            AppendSpeech(line);
            return;
        }
        bool has_colon = Contains(line, ":");
        for (int k = 0; k < static_cast<int>(ScriptCommandWords.size()); ++k) {
            std::string_view header = ScriptSectionWords[static_cast<std::size_t>(k)];
            if (!header.empty() && has_colon && Contains(line, header)) {
                if (listener_) listener_->Section(line_number_, k, line);
                RunSection(k, line);
            }
            if (Contains(lower, LowerAscii(ScriptCommandWords[static_cast<std::size_t>(k)]))) {
                if (listener_) listener_->Command(line_number_, k, line);
                RunCommand(k, line);
            }
        }
    }

    static bool IsSpeech(const std::string& lower) {
        return std::none_of(kTalkBreakWords.begin(), kTalkBreakWords.end(),
                            [&](std::string_view w) { return Contains(lower, w); });
    }

    // --- section headers ---

    void RunSection(int k, const std::string& line) {
        switch (k) {
            case kPrologueSection:
                SelectSlot(kPrologueSlot);
                break;
            case kStartSection:
                SelectSlot(kStartSlot);
                break;
            case kTurnSection:
                SelectSlot(TurnHeaderNumber(line));
                break;
            case kEntrySection:
                SelectSlot(kEntrySlot);
                break;
            case kExitSection:
                break;
            case kEndSection:
                ReadEndSection(line);
                break;
            default:
                break;
        }
    }

    int TurnHeaderNumber(const std::string& line) {
        constexpr std::string_view kTurnWord = "ターン";
        std::size_t start = line.find(kTurnWord) + kTurnWord.size();
        std::size_t colon = line.find(':', start);
        std::string digits = WithoutSpaces(std::string_view(line).substr(
            start, colon == std::string::npos ? std::string::npos : colon - start));
        return RequireInteger(digits);
    }

    void ReadEndSection(const std::string& line) {
        SelectSlot(kEndSlot);
        std::string without_colon = line;
        without_colon.erase(without_colon.find(':'), 1);
        state_.LastTurn = RequireInteger(SplitWords(without_colon, slots_, nullptr));
    }

    void SelectSlot(int slot) {
        event_slot_ = slot;
        speech_dropped_ = false;
        if (!SlotInRange()) {
            diag_.Warn(file_, line_number_,
                       "イベント番号 " + std::to_string(slot) +
                           " は 0..120 の外なので、この節は読み飛ばします");
        }
    }

    bool SlotInRange() const { return event_slot_ >= 0 && event_slot_ < kEventSlots; }

    // Skipping a section out of range was warned about at its header.
    TEData* CurrentEvent() {
        return SlotInRange() ? &state_.EventTable[static_cast<std::size_t>(event_slot_)] : nullptr;
    }
    TTelop* CurrentTelop() {
        return SlotInRange() ? &state_.TelopTable[static_cast<std::size_t>(event_slot_)] : nullptr;
    }

    int RequireInteger(const std::string& word) {
        int value = 0;
        if (!ParseScriptInteger(word, value)) {
            std::string message = std::string(kNotANumber) + word;
            if (!listener_) throw ScenarioError(file_, line_number_, message);
            diag_.Error(file_, line_number_, message);
            return 0;
        }
        return value;
    }

    // --- commands ---

    void RunCommand(int k, const std::string& line) {
        switch (k) {
            case kTalk:
                StartTalk(line);
                break;
            case kCreate:
                ReadCreate(line);
                break;
            case kTelop:
                ReadTelop(line);
                break;
            case kEnd:
                talk_mode_ = false;
                break;
            case kLabel:
                state_.Script.Label = line.substr(line.find('*') + 1);
                break;
            case kSetPilot:
                SplitInto(line, 1);
                break;
            case kSetType:
                SplitInto(line, 2);
                break;
            case kSetWeapon:
                SplitInto(line, 1);
                break;
            case kWinContinue:
                state_.ContinueInfo.WinNext = SplitInto(line, 1);
                break;
            case kSetupBgm:
                state_.Script.SetupMusic = SplitInto(line, 1);
                break;
            case kStartBgm:
                ReadStartBgm(line);
                break;
            case kStopBgm:
                break;
            case kLoadMap:
                break;
            case kLoseContinue:
                state_.ContinueInfo.LoseNext = SplitInto(line, 1);
                break;
            case kGraphic:
                state_.Script.PictureName = line;
                break;
            case kSetEffect:
                ReadSetEffect(line);
                break;
            case kMovie:
                state_.MovieFile = SplitInto(line, 1);
                break;
            case kSetCloud:
                SetClouds(state_, IntegerOr(SplitInto(line, 1), 0));
                break;
            case kSetVtFuse:
                ReadSetVtFuse(line);
                break;
            default:
                break;
        }
    }

    // Splits the line with the final word going to its command's slot; returns that slot.
    const std::string& SplitInto(const std::string& line, int final_slot) {
        std::string last = SplitWords(line, slots_, nullptr);
        slots_[static_cast<std::size_t>(final_slot)] = std::move(last);
        return slots_[static_cast<std::size_t>(final_slot)];
    }

    // The speaker follows "Talk"; a lower- or upper-case "talk" is found too.
    static std::string SpeakerOf(const std::string& line) {
        std::size_t at = line.find("Talk");
        if (at == std::string::npos) at = LowerAscii(line).find("talk");
        return WithoutSpaces(std::string_view(line).substr(at + 4));
    }

    void StartTalk(const std::string& line) {
        talk_mode_ = true;
        TEData* event = CurrentEvent();
        if (!event) {
            speech_dropped_ = true;
            return;
        }
        if (event->LineCount < 0 || event->LineCount >= kConversationLines) {
            diag_.Warn(file_, line_number_,
                       "会話は 1 イベントに " + std::to_string(kConversationLines) +
                           " 行までなので、この行は読み飛ばします");
            speech_dropped_ = true;
            return;
        }
        speech_dropped_ = false;
        event->SpeakerName[static_cast<std::size_t>(event->LineCount)] = SpeakerOf(line);
        ++event->LineCount;
    }

    void AppendSpeech(const std::string& line) {
        TEData* event = CurrentEvent();
        if (!event || speech_dropped_) return;
        if (event->LineCount < 1 || event->LineCount > kConversationLines) {
            diag_.Warn(file_, line_number_, "話し手のいない台詞なので読み飛ばします");
            return;
        }
        event->SpeechText[static_cast<std::size_t>(event->LineCount - 1)] += line;
    }

    void ReadCreate(const std::string& line) {
        SplitInto(line, 14);
        int variant = RequireInteger(slots_[1]);
        int fleet = IntegerOr(slots_[2], 0);
        bool player_line = variant == n1_ && fleet < 13;
        bool computer_line = variant == n2_ && fleet >= 13;
        if (fleet < 0 || fleet >= kFleetCount) {
            diag_.Warn(file_, line_number_,
                       "艦隊番号 " + std::to_string(fleet) +
                           " は 0..24 の外なので、この行は読み飛ばします");
            return;
        }
        if (player_line) CreateFleet(state_, fleet, slots_);
        if (computer_line) CreateFleet(state_, fleet, slots_);
    }

    void ReadTelop(const std::string& line) {
        for (std::size_t i = 0; i <= 6; ++i) slots_[i].clear();
        int stored = 0;
        std::string last = SplitWords(line, slots_, &stored);
        if (stored + 1 < kWordSlots) slots_[static_cast<std::size_t>(stored + 1)] = std::move(last);
        std::string caption =
            slots_[1] + " " + slots_[2] + " " + slots_[3] + " " + slots_[4] + " " + slots_[5];
        TTelop* telop = CurrentTelop();
        if (!telop) return;
        if (telop->LineCount >= kTelopLines) {
            diag_.Warn(file_, line_number_,
                       "字幕は 1 イベントに " + std::to_string(kTelopLines) +
                           " 行までなので、この行は読み飛ばします");
            return;
        }
        telop->Lines[telop->LineCount] = std::move(caption);
        ++telop->LineCount;
    }

    void ReadStartBgm(const std::string& line) {
        const std::string& name = SplitInto(line, 1);
        if (TEData* event = CurrentEvent()) event->MusicFile = name;
    }

    void ReadSetEffect(const std::string& line) {
        SplitInto(line, 11);
        for (std::size_t i = 1; i <= kEffectFiles; ++i) state_.EffectFile[i] = slots_[i];
    }

    void ReadSetVtFuse(const std::string& line) {
        SplitInto(line, 2);
        double player = 0.0;
        double computer = 0.0;
        if (!ParseReal(slots_[1], player)) player = 0.0;
        if (!ParseReal(slots_[2], computer)) computer = 0.0;
        for (int i = 0; i < kFleetCount; ++i) {
            double factor = i <= kPlayerFleetLast ? player : computer;
            if (factor > 0.0) state_.FleetTable[static_cast<std::size_t>(i)].VtFuseFactor = factor;
        }
    }

    GameState& state_;
    std::string file_;
    int n1_;
    int n2_;
    Diagnostics& diag_;
    ScriptListener* listener_;
    int line_number_ = 0;
    int event_slot_ = 0;
    bool talk_mode_ = false;
    bool speech_dropped_ = false;  // the current talk could not be stored
    WordSlotArray slots_{};
};

int StanceOf(std::string_view word, int current) {
    if (word == "普通") return 0;
    if (word == "攻撃") return 1;
    if (word == "防御") return 2;
    if (word == "強襲") return 3;
    return current;
}

}  // namespace

bool ParseScriptInteger(std::string_view word, int& value) {
    if (!word.empty() && word.front() == '+') word.remove_prefix(1);
    if (word.empty()) return false;
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, value);
    return ec == std::errc() && ptr == end;
}

void CreateFleet(GameState& state, int fleet_index, const WordSlotArray& slots) {
    TFleet& fleet = state.Fleet(fleet_index);
    fleet.Commander = slots[3];
    fleet.Name = slots[4];
    fleet.Detour = slots[5] == "迂回" ? 1 : 0;
    fleet.Stance = StanceOf(slots[6], fleet.Stance);
    for (std::size_t j = 0; j < kCategories; ++j) fleet.AirTypes[j] = IntegerOr(slots[9 + j], 255);
    fleet.CapType = fleet.AirTypes[0];
    // The search radius is the range of the fleet's own search aircraft.
    fleet.ScoutType = fleet.AirTypes[2];
    for (TAirUnit& unit : fleet.AirUnits) {
        for (std::size_t j = 0; j < 3; ++j) {
            unit.AircraftTypes[j] = static_cast<std::uint8_t>(fleet.AirTypes[j] & 0xFF);
        }
    }
    for (TShip& ship : fleet.Ships) {
        for (std::size_t j = 0; j < 3; ++j) ship.AircraftTypesAboard[j] = fleet.AirTypes[j];
    }
    fleet.Position = {IntegerOr(slots[7], 0), IntegerOr(slots[8], 0)};
}

namespace {

void ReadScript(GameState& state, const std::filesystem::path& file, int n1, int n2,
                Diagnostics& diag, ScriptListener* listener) {
    FileProblem problem;
    std::optional<std::string> bytes = ReadLimitedFile(file, FileKind::kScript, &problem);
    if (!bytes) throw ScenarioError(file.string(), 0, problem.reason);
    ScriptReader reader(state, file, n1, n2, diag, listener);
    reader.Run(SplitLines(DecodeFileText(*bytes)));
}

}  // namespace

void ParseScenarioScript(GameState& state, const std::filesystem::path& file, int n1, int n2,
                         Diagnostics& diag) {
    ReadScript(state, file, n1, n2, diag, nullptr);
}

void ParseScenarioScript(GameState& state, const std::filesystem::path& file, int n1, int n2,
                         Diagnostics& diag, ScriptListener& listener) {
    ReadScript(state, file, n1, n2, diag, &listener);
}

ScriptLineWords SplitScriptLine(std::string_view line) {
    WordSlotArray slots{};
    int stored = 0;
    ScriptLineWords words;
    words.final_word = SplitWords(line, slots, &stored);
    words.stored.assign(slots.begin(), slots.begin() + std::min(stored, kWordSlots));
    return words;
}

}  // namespace velmora
