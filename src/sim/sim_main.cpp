// velmora-sim: plays a scenario without windows, the automatic player taking
// the first or default answer of every question, and prints the outcome as
// one line of JSON.
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/recording_frontend.h"
#include "model/game_state.h"
#include "scenario/diagnostics.h"
#include "scenario/save_game.h"
#include "scenario/setup.h"
#include "turn/turn_sequence.h"

namespace velmora {
namespace {

constexpr int kBadUsage = 2;

struct Options {
    std::string Scenario;
    std::uint64_t Seed = 1;
    std::optional<int> Turns;
    bool Events = false;
    std::filesystem::path SaveDir;
    std::optional<int> SaveAfter;
    std::optional<int> SaveSlot;
    std::optional<int> LoadSlot;
};

constexpr std::string_view kUsage =
    "usage: velmora-sim SCENARIO.snr [--seed N] [--turns N] [--events] [--save-dir D]\n"
    "                   [--save-after K --save-slot S] [--load S]\n";

template <class Number>
bool ParseNumber(std::string_view text, Number& out) {
    if (text.empty() || text.front() == '-' || text.front() == '+') return false;
    std::istringstream in{std::string(text)};
    in >> out;
    return in && in.peek() == std::char_traits<char>::eof();
}

bool ParseSlot(std::string_view text, std::optional<int>& out) {
    int slot = 0;
    if (!ParseNumber(text, slot) || slot < 1 || slot > kSaveSlots) return false;
    out = slot;
    return true;
}

// Nothing when the arguments are bad.
std::optional<Options> ParseArguments(const std::vector<std::string>& args) {
    Options o;
    o.SaveDir = DefaultSaveDirectory();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string v;
        // The option's value; false when the arguments end first.
        auto value = [&]() {
            if (i + 1 >= args.size()) return false;
            v = args[++i];
            return true;
        };
        if (a == "--events") {
            o.Events = true;
        } else if (a == "--seed") {
            if (!value() || !ParseNumber(v, o.Seed)) return std::nullopt;
        } else if (a == "--turns") {
            int turns = 0;
            if (!value() || !ParseNumber(v, turns)) return std::nullopt;
            o.Turns = turns;
        } else if (a == "--save-dir") {
            if (!value() || v.empty()) return std::nullopt;
            o.SaveDir = v;
        } else if (a == "--save-after") {
            int after = 0;
            if (!value() || !ParseNumber(v, after)) return std::nullopt;
            o.SaveAfter = after;
        } else if (a == "--save-slot") {
            if (!value() || !ParseSlot(v, o.SaveSlot)) return std::nullopt;
        } else if (a == "--load") {
            if (!value() || !ParseSlot(v, o.LoadSlot)) return std::nullopt;
        } else if (!a.empty() && a.front() != '-' && o.Scenario.empty()) {
            o.Scenario = a;
        } else {
            return std::nullopt;
        }
    }
    if (o.Scenario.empty() || o.SaveAfter.has_value() != o.SaveSlot.has_value())
        return std::nullopt;
    return o;
}

std::string FleetJson(int index, const TFleet& f) {
    int ships = std::clamp(f.ShipCount, 0, kShipSlots);
    long long durability = 0;
    for (int s = 0; s < ships; ++s) durability += f.Ships[static_cast<std::size_t>(s)].Durability;
    std::ostringstream out;
    out << "{\"index\":" << index << ",\"side\":" << int{f.Side} << ",\"active\":" << int{f.Active}
        << ",\"x\":" << f.Position.X << ",\"y\":" << f.Position.Y << ",\"ships\":" << f.ShipCount
        << ",\"durability\":" << durability << ",\"detect\":" << f.DetectLevel << "}";
    return out.str();
}

std::string OutcomeJson(const GameState& s) {
    std::ostringstream out;
    out << "{\"turn\":" << s.Turn << ",\"hour\":" << s.Hour << ",\"player_score\":" << s.PlayerScore
        << ",\"computer_score\":" << s.ComputerScore
        << ",\"lost_player\":" << s.LostShipsPlayer.Count
        << ",\"lost_computer\":" << s.LostShipsComputer.Count << ",\"intercept\":["
        << s.InterceptTally[0] << "," << s.InterceptTally[1] << "],\"fleets\":[";
    for (int i = 0; i < kFleetCount; ++i) {
        if (i) out << ",";
        out << FleetJson(i, s.FleetTable[static_cast<std::size_t>(i)]);
    }
    out << "]}";
    return out.str();
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

int Run(const Options& o) {
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
    std::vector<std::string> args(argv + 1, argv + argc);
    std::optional<velmora::Options> options = velmora::ParseArguments(args);
    if (!options) {
        std::cerr << velmora::kUsage;
        return velmora::kBadUsage;
    }
    return velmora::Run(*options);
}
