#include "orders/save_slots.h"

#include <chrono>
#include <ctime>
#include <memory>

#include "frontend/recording_frontend.h"
#include "orders/orders.h"
#include "scenario/save_game.h"
#include "scenario/setup.h"
#include "turn/turn_sequence.h"

namespace velmora {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kDash = " — ";

std::string LocalTime(fs::file_time_type written) {
    const auto since = std::chrono::file_clock::to_sys(written);
    const std::time_t t = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(since));
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) return {};
    char text[32];
    if (std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) == 0) return {};
    return text;
}

// The scenario as the player knows it: the folder of its script ("Strait").
std::string ScenarioName(const std::string& file) {
    const fs::path script(file);
    const std::string folder = script.parent_path().filename().string();
    return folder.empty() ? script.stem().string() : folder;
}

bool NeedsSetUp(const GameState& state, const std::string& scenario) {
    return state.MapMode == kMapModeNoGame || state.ScenarioFile != scenario;
}

// The last "エラー" text the quiet set-up was given.
std::string SetUpFailure(const RecordingFrontend& quiet) {
    const auto messages = quiet.CallsOf("MessageOk");
    if (messages.empty()) return {};
    const std::string& call = messages.back();
    const std::size_t tab = call.find('\t', call.find('\t') + 1);
    return tab == std::string::npos ? call : call.substr(tab + 1);
}

}  // namespace

std::string SlotLabel(const fs::path& dir, int slot) {
    const SlotSummary s = DescribeSlot(dir, slot);
    std::string label = SlotName(slot) + std::string(kDash);
    switch (s.What) {
        case SlotSummary::Kind::kEmpty:
            return label + "（空き）";
        case SlotSummary::Kind::kNotASave:
            return label + "（セーブファイルではありません）";
        case SlotSummary::Kind::kSave:
            break;
    }
    label += std::to_string(s.Turn) + "ターン " + std::to_string(s.Hour) + "時 " +
             std::string(DayPhase(s.Hour));
    if (!s.ScenarioFile.empty()) label += std::string(kDash) + ScenarioName(s.ScenarioFile);
    const std::string when = LocalTime(s.Written);
    if (!when.empty()) label += std::string(kDash) + when;
    return label;
}

bool LoadSlotWithScenario(GameState& state, Frontend& ui, const fs::path& dir, int slot) {
    const SlotSummary s = DescribeSlot(dir, slot);
    if (s.What != SlotSummary::Kind::kSave || !NeedsSetUp(state, s.ScenarioFile))
        return LoadGame(state, ui, dir, slot);
    if (s.ScenarioFile.empty()) {
        ui.MessageOk("エラー", SlotName(slot) + "はシナリオの名がないセーブです。");
        return false;
    }
    auto base = std::make_unique<GameState>();
    RecordingFrontend quiet;
    if (!SetupScenario(*base, quiet, s.ScenarioFile, 0)) {
        ui.MessageOk("エラー", "セーブのシナリオ " + s.ScenarioFile + " を準備できません。\n" +
                                   SetUpFailure(quiet));
        return false;
    }
    return LoadGameOnto(state, *base, ui, dir, slot);
}

}  // namespace velmora
