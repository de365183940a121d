// velmora-sim: plays a scenario without windows, the automatic player taking
// the first or default answer of every question, and prints the outcome as
// one line of JSON.
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "frontend/recording_frontend.h"
#include "model/game_state.h"
#include "orders/auto_commander.h"
#include "scenario/bundled_scenarios.h"
#include "scenario/diagnostics.h"
#include "scenario/save_game.h"
#include "scenario/setup.h"
#include "sim/batch.h"
#include "sim/command_line.h"
#include "turn/turn_sequence.h"

namespace velmora {
namespace {

struct Options {
    std::string Scenario;
    bool Demo = false;
    std::uint64_t Seed = 1;
    std::optional<int> Turns;
    bool Events = false;
    std::string SaveDir = DefaultSaveDirectory().string();
    std::optional<int> SaveAfter;
    std::optional<int> SaveSlot;
    std::optional<int> LoadSlot;
    bool AutoPlayer = false;
    std::optional<int> Batch;
    int Jobs = 1;
    bool Json = false;
};

constexpr const char* kUsage =
    "usage: velmora-sim SCENARIO.snr|--demo [--seed N] [--turns N] [--events] [--save-dir D]\n"
    "                   [--save-after K --save-slot S] [--load S] [--auto-player]\n"
    "       velmora-sim SCENARIO.snr|--demo --batch N [--jobs J] [--auto-player] [--turns N] "
    "[--json]\n";

// Every option of the command line, in one place.
void DeclareOptions(CLI::App& app, Options& o) {
    const CLI::Range slot(1, kSaveSlots);
    auto* scenario = app.add_option("scenario", o.Scenario, "The scenario's .snr file")
                         ->type_name("SCENARIO.snr");
    app.add_flag("--demo", o.Demo, "Play the demo scenario installed with the game")
        ->excludes(scenario);
    app.add_option("--seed", o.Seed, "Seed of the game's generator")
        ->check(kNotNegative)
        ->capture_default_str();
    app.add_option("--turns", o.Turns, "Turn ends to play (default: up to the last turn)")
        ->check(kNotNegative);
    app.add_flag("--events", o.Events, "Print every call to the front end as it happens");
    app.add_option("--save-dir", o.SaveDir, "Folder of the save slots")
        ->capture_default_str()
        ->check([](const std::string& dir) { return dir.empty() ? "empty folder name" : ""; });
    auto* save_after = app.add_option("--save-after", o.SaveAfter, "Save after K turn ends")
                           ->check(kNotNegative)
                           ->type_name("K");
    auto* save_slot =
        app.add_option("--save-slot", o.SaveSlot, "Slot to save into")->check(slot)->type_name("S");
    save_after->needs(save_slot);
    save_slot->needs(save_after);
    app.add_option("--load", o.LoadSlot, "Continue the game saved in slot S")
        ->check(slot)
        ->type_name("S");
    app.add_flag("--auto-player", o.AutoPlayer,
                 "An automatic commander gives the player's orders every turn");
    auto* batch = app.add_option("--batch", o.Batch, "Play seeds 1..N and print one table")
                      ->check(CLI::Range(1, 100000))
                      ->type_name("N");
    app.add_option("--jobs", o.Jobs, "Worker processes of a batch")
        ->check(CLI::Range(1, 64))
        ->type_name("J")
        ->needs(batch);
    app.add_flag("--json", o.Json, "Print the batch report as JSON")->needs(batch);
    batch->excludes("--seed")->excludes("--events")->excludes("--load")->excludes("--save-after");
    app.callback([&o] {
        if (o.Demo) {
            o.Scenario = DemoScenarioFile().string();
            if (o.Scenario.empty())
                throw CLI::ValidationError("--demo", "the demo scenario is not installed");
        }
        if (o.Scenario.empty()) throw CLI::RequiredError("scenario (or --demo)");
    });
}

nlohmann::ordered_json FleetJson(int index, const TFleet& f) {
    int ships = std::clamp(f.ShipCount, 0, kShipSlots);
    long long durability = 0;
    for (int s = 0; s < ships; ++s) durability += f.Ships[static_cast<std::size_t>(s)].Durability;
    return {{"index", index},           {"side", int{f.Side}},    {"active", int{f.Active}},
            {"x", f.Position.X},        {"y", f.Position.Y},      {"ships", f.ShipCount},
            {"durability", durability}, {"detect", f.DetectLevel}};
}

std::string OutcomeJson(const GameState& s) {
    nlohmann::ordered_json fleets = nlohmann::ordered_json::array();
    for (int i = 0; i < kFleetCount; ++i)
        fleets.push_back(FleetJson(i, s.FleetTable[static_cast<std::size_t>(i)]));
    nlohmann::ordered_json out = {{"turn", s.Turn},
                                  {"hour", s.Hour},
                                  {"player_score", s.PlayerScore},
                                  {"computer_score", s.ComputerScore},
                                  {"lost_player", s.LostShipsPlayer.Count},
                                  {"lost_computer", s.LostShipsComputer.Count},
                                  {"intercept", s.InterceptTally},
                                  {"fleets", std::move(fleets)}};
    return out.dump();
}

void ReportFindings(const Diagnostics& diag) {
    for (const Finding& f : diag.Findings()) {
        if (f.severity == Severity::kError) {
            std::cerr << (f.line > 0 ? f.file + ":" + std::to_string(f.line) : f.file) << ": "
                      << f.message << "\n";
        } else {
            std::cerr << FormatFinding(f) << "\n";
        }
    }
}

int RunBatch(const Options& o) {
    BatchOptions batch;
    batch.Scenario = o.Scenario;
    batch.Games = *o.Batch;
    batch.Jobs = o.Jobs;
    batch.AutoPlayer = o.AutoPlayer;
    batch.Turns = o.Turns;
    const std::vector<GameOutcome> games = PlayBatch(batch);
    if (o.Json) {
        PrintBatchJson(std::cout, games);
    } else {
        PrintBatchTable(std::cout, games);
    }
    const bool failed = std::any_of(games.begin(), games.end(),
                                    [](const GameOutcome& g) { return !g.Error.empty(); });
    return failed ? 1 : 0;
}

int Run(const Options& o) {
    if (o.Batch) return RunBatch(o);
    std::ostream* echo = o.Events ? &std::cout : nullptr;
    RecordingFrontend frontend(echo);
    auto state = std::make_unique<GameState>();
    Diagnostics diag;
    bool ready = SetupScenario(*state, frontend, o.Scenario, o.Seed, &diag);
    ReportFindings(diag);
    if (!ready) return kBadUsage;
    if (o.LoadSlot && !LoadGame(*state, frontend, o.SaveDir, *o.LoadSlot)) {
        std::cerr << SlotPath(o.SaveDir, *o.LoadSlot).string() << ": not a save file\n";
        return kBadUsage;
    }
    int turns = o.Turns.value_or(std::max(0, state->LastTurn - state->Turn));
    if (o.SaveAfter && *o.SaveAfter > turns) {
        std::cerr << "--save-after " << *o.SaveAfter << ": the run has only " << turns
                  << " turn ends\n";
        return kBadUsage;
    }
    for (int done = 0;; ++done) {
        if (o.SaveAfter && *o.SaveAfter == done &&
            !SaveGame(*state, frontend, o.SaveDir, *o.SaveSlot)) {
            std::cerr << SlotPath(o.SaveDir, *o.SaveSlot).string() << ": save failed\n";
            return kBadUsage;
        }
        if (done == turns) break;
        if (o.AutoPlayer) CommandPlayerFleets(*state, frontend);
        EndTurn(*state, frontend);
        // The transcript is echoed as it happens; keeping it would only grow.
        frontend.ClearTranscript();
    }
    std::cout << OutcomeJson(*state) << "\n";
    return 0;
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    velmora::Options options;
    CLI::App app{
        "Plays a Velmora scenario without windows and prints the outcome as one line of JSON.",
        "velmora-sim"};
    velmora::SetUpToolCommandLine(app, velmora::kUsage);
    velmora::DeclareOptions(app, options);
    if (auto status = velmora::ParseToolCommandLine(app, argc, argv)) return *status;
    return velmora::Run(options);
}
