#include "sim/batch.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <functional>
#include <iomanip>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>
#include <string_view>

#include "chart/geometry.h"
#include "frontend/recording_frontend.h"
#include "frontend/reports.h"
#include "model/fleet_ops.h"
#include "model/game_state.h"
#include "orders/auto_commander.h"
#include "scenario/setup.h"
#include "turn/turn_sequence.h"

namespace velmora {
namespace {

constexpr std::uint8_t kStrikeReturning = 6;
constexpr std::string_view kEncounterLine = "ShowBattleMessage\t敵艦隊と遭遇";
constexpr std::string_view kCaptureLine = "MessageOk\t基地制圧成功";

// Keeps the victory report; the transcript is read and emptied every turn.
class BatchFrontend : public RecordingFrontend {
  public:
    void ShowVictory(const VictoryReport& report) override {
        Victory = report;
        RecordingFrontend::ShowVictory(report);
    }
    std::optional<VictoryReport> Victory;
};

int CountLines(const std::vector<std::string>& transcript, std::string_view prefix) {
    return static_cast<int>(
        std::count_if(transcript.begin(), transcript.end(),
                      [&](const std::string& line) { return line.rfind(prefix, 0) == 0; }));
}

using FleetTableCopy = std::array<TFleet, kFleetCount>;

void CountTurn(const FleetTableCopy& before, const GameState& after, GameOutcome& game) {
    for (int i = 0; i < kFleetCount; ++i) {
        const TFleet& was = before[static_cast<std::size_t>(i)];
        const TFleet& now = after.FleetTable[static_cast<std::size_t>(i)];
        const std::size_t side = now.Side == after.PlayerSide ? 0 : 1;
        for (std::size_t u = 0; u < kAirUnitSlots; ++u) {
            if (now.AirUnits[u].State == kStrikeReturning &&
                was.AirUnits[u].State != kStrikeReturning)
                ++game.Strikes[side];
        }
        for (std::size_t s = 0; s < 2; ++s) {
            if (now.LandingPoints[s] > was.LandingPoints[s]) ++game.Landings[s];
        }
        if (was.Active && now.Active && now.Side == after.ComputerSide)
            game.ComputerDistance += static_cast<int>(MapDistance(was.Position, now.Position));
    }
    for (const TFleet& fleet : after.FleetTable) {
        // Bases are always known; a fleet at sea has to be found.
        if (fleet.Active && fleet.Side == after.PlayerSide && fleet.DetectLevel > 0 &&
            !FleetHasInstallation(after, fleet)) {
            ++game.TurnsPlayerFound;
            break;
        }
    }
}

void CountSunk(const GameState& state, GameOutcome& game) {
    const std::array<const LostShipList*, 2> lists{&state.LostShipsPlayer,
                                                   &state.LostShipsComputer};
    for (std::size_t side = 0; side < 2; ++side) {
        const int count = std::clamp(lists[side]->Count, 0, kTableSize);
        for (int i = 0; i < count; ++i) {
            const int type = state.ShipTypeOf(lists[side]->Ships[static_cast<std::size_t>(i)]);
            if (type >= 0 && type < 8) ++game.Sunk[side][static_cast<std::size_t>(type)];
        }
    }
}

nlohmann::json ToJson(const GameOutcome& g) {
    return {{"seed", g.Seed},
            {"finished", g.Finished},
            {"outcome", g.Outcome},
            {"turns", g.Turns},
            {"scores", g.Scores},
            {"sunk", g.Sunk},
            {"strikes", g.Strikes},
            {"encounters", g.Encounters},
            {"landings", g.Landings},
            {"captures", g.Captures},
            {"computer_merges", g.ComputerMerges},
            {"computer_splits", g.ComputerSplits},
            {"computer_distance", g.ComputerDistance},
            {"turns_player_found", g.TurnsPlayerFound},
            {"slowest_turn_ms", g.SlowestTurnMs},
            {"error", g.Error}};
}

GameOutcome FromJson(const nlohmann::json& j) {
    GameOutcome g;
    g.Seed = j.at("seed").get<std::uint64_t>();
    g.Finished = j.at("finished").get<bool>();
    g.Outcome = j.at("outcome").get<std::string>();
    g.Turns = j.at("turns").get<int>();
    g.Scores = j.at("scores").get<std::array<int, 2>>();
    g.Sunk = j.at("sunk").get<std::array<std::array<int, 8>, 2>>();
    g.Strikes = j.at("strikes").get<std::array<int, 2>>();
    g.Encounters = j.at("encounters").get<int>();
    g.Landings = j.at("landings").get<std::array<int, 2>>();
    g.Captures = j.at("captures").get<int>();
    g.ComputerMerges = j.at("computer_merges").get<int>();
    g.ComputerSplits = j.at("computer_splits").get<int>();
    g.ComputerDistance = j.at("computer_distance").get<int>();
    g.TurnsPlayerFound = j.at("turns_player_found").get<int>();
    g.SlowestTurnMs = j.at("slowest_turn_ms").get<double>();
    g.Error = j.at("error").get<std::string>();
    return g;
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

struct Worker {
    pid_t Pid = -1;
    int Fd = -1;
    std::string Received;
};

// A worker process plays every Jobs-th seed and writes one JSON line a game.
[[noreturn]] void RunWorker(const BatchOptions& o, int first_seed, int fd) {
    for (int seed = first_seed; seed <= o.Games; seed += o.Jobs) {
        const GameOutcome g =
            PlayBatchGame(o.Scenario, static_cast<std::uint64_t>(seed), o.AutoPlayer, o.Turns);
        if (!WriteAll(fd, ToJson(g).dump() + "\n")) _exit(1);
    }
    close(fd);
    _exit(0);
}

void ReadWorkers(std::vector<Worker>& workers) {
    std::vector<pollfd> fds;
    for (const Worker& w : workers) fds.push_back({w.Fd, POLLIN, 0});
    std::size_t open = fds.size();
    char buffer[4096];
    while (open > 0) {
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n > 0) {
                workers[i].Received.append(buffer, static_cast<std::size_t>(n));
                continue;
            }
            close(fds[i].fd);
            fds[i].fd = -1;
            --open;
        }
    }
}

std::string ExitText(int status) {
    if (WIFSIGNALED(status)) return "worker ended by signal " + std::to_string(WTERMSIG(status));
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
        return "worker exited with status " + std::to_string(WEXITSTATUS(status));
    return {};
}

struct Stats {
    double Median = 0;
    double Min = 0;
    double Max = 0;
};

Stats StatsOf(std::vector<double> v) {
    if (v.empty()) return {};
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    const double median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
    return {median, v.front(), v.back()};
}

struct Metric {
    std::string Name;
    std::function<double(const GameOutcome&)> Value;
};

std::vector<Metric> Metrics() {
    std::vector<Metric> m{
        {"player score", [](const GameOutcome& g) { return g.Scores[0]; }},
        {"computer score", [](const GameOutcome& g) { return g.Scores[1]; }},
    };
    const std::array<std::string_view, 8> types{
        "", "carriers", "battleships", "cruisers", "destroyers", "transports", "bases", "AA sites"};
    const std::array<std::string_view, 2> sides{"player", "computer"};
    for (std::size_t side = 0; side < 2; ++side) {
        for (std::size_t t = 1; t < types.size(); ++t) {
            m.push_back({std::string(sides[side]) + " " + std::string(types[t]) + " sunk",
                         [side, t](const GameOutcome& g) { return g.Sunk[side][t]; }});
        }
    }
    m.push_back({"player strikes", [](const GameOutcome& g) { return g.Strikes[0]; }});
    m.push_back({"computer strikes", [](const GameOutcome& g) { return g.Strikes[1]; }});
    m.push_back({"encounters", [](const GameOutcome& g) { return g.Encounters; }});
    m.push_back({"player landings", [](const GameOutcome& g) { return g.Landings[0]; }});
    m.push_back({"computer landings", [](const GameOutcome& g) { return g.Landings[1]; }});
    m.push_back({"captures", [](const GameOutcome& g) { return g.Captures; }});
    m.push_back({"computer merges", [](const GameOutcome& g) { return g.ComputerMerges; }});
    m.push_back({"computer splits", [](const GameOutcome& g) { return g.ComputerSplits; }});
    m.push_back(
        {"computer distance sailed", [](const GameOutcome& g) { return g.ComputerDistance; }});
    m.push_back({"turns the computer saw the player",
                 [](const GameOutcome& g) { return g.TurnsPlayerFound; }});
    m.push_back({"slowest turn end (ms)", [](const GameOutcome& g) { return g.SlowestTurnMs; }});
    return m;
}

std::map<std::string, int> OutcomeCounts(const std::vector<GameOutcome>& games) {
    std::map<std::string, int> counts;
    for (const GameOutcome& g : games) {
        if (!g.Error.empty()) {
            ++counts["failed"];
        } else {
            ++counts[g.Finished ? g.Outcome : std::string("unfinished")];
        }
    }
    return counts;
}

}  // namespace

GameOutcome PlayBatchGame(const std::filesystem::path& scenario, std::uint64_t seed,
                          bool auto_player, std::optional<int> turns) {
    GameOutcome game;
    game.Seed = seed;
    BatchFrontend ui;
    auto state = std::make_unique<GameState>();
    if (!SetupScenario(*state, ui, scenario, seed)) {
        game.Error = "set-up failed";
        return game;
    }
    const int total = turns.value_or(std::max(0, state->LastTurn - state->Turn));
    auto before = std::make_unique<FleetTableCopy>();
    for (int t = 0; t < total; ++t) {
        if (auto_player) CommandPlayerFleets(*state, ui);
        ui.ClearTranscript();
        *before = state->FleetTable;
        const auto start = std::chrono::steady_clock::now();
        EndTurn(*state, ui);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        game.SlowestTurnMs = std::max(game.SlowestTurnMs, took.count());
        CountTurn(*before, *state, game);
        game.Encounters += CountLines(ui.Transcript(), kEncounterLine);
        game.Captures += CountLines(ui.Transcript(), kCaptureLine);
        ++game.Turns;
    }
    CountSunk(*state, game);
    game.Scores = {state->PlayerScore, state->ComputerScore};
    game.ComputerMerges = state->Counters.ComputerMerges;
    game.ComputerSplits = state->Counters.ComputerSplits;
    if (ui.Victory) {
        game.Finished = true;
        game.Outcome = ui.Victory->Outcome;
        game.Scores = {ui.Victory->Totals[0], ui.Victory->Totals[1]};
    }
    return game;
}

std::vector<GameOutcome> PlayBatch(const BatchOptions& o) {
    const int jobs = std::clamp(o.Jobs, 1, std::max(1, o.Games));
    BatchOptions options = o;
    options.Jobs = jobs;
    std::vector<Worker> workers;
    for (int w = 0; w < jobs; ++w) {
        int fds[2];
        if (pipe(fds) != 0) break;
        const pid_t pid = fork();
        if (pid == 0) {
            close(fds[0]);
            for (const Worker& other : workers) close(other.Fd);
            RunWorker(options, w + 1, fds[1]);
        }
        close(fds[1]);
        if (pid < 0) {
            close(fds[0]);
            break;
        }
        workers.push_back({pid, fds[0], {}});
    }
    ReadWorkers(workers);

    std::map<std::uint64_t, GameOutcome> by_seed;
    for (std::size_t w = 0; w < workers.size(); ++w) {
        int status = 0;
        while (waitpid(workers[w].Pid, &status, 0) < 0 && errno == EINTR) {
        }
        std::istringstream lines(workers[w].Received);
        for (std::string line; std::getline(lines, line);) {
            const auto j = nlohmann::json::parse(line, nullptr, false);
            if (j.is_discarded()) continue;
            try {
                GameOutcome g = FromJson(j);
                by_seed[g.Seed] = g;
            } catch (const nlohmann::json::exception&) {
            }
        }
        // Seeds the worker never reported were lost with it.
        const std::string why = ExitText(status);
        for (int seed = static_cast<int>(w) + 1; seed <= o.Games; seed += jobs) {
            if (by_seed.count(static_cast<std::uint64_t>(seed))) continue;
            GameOutcome lost;
            lost.Seed = static_cast<std::uint64_t>(seed);
            lost.Error = why.empty() ? "no result from the worker" : why;
            by_seed[lost.Seed] = lost;
        }
    }
    for (int seed = 1; seed <= o.Games; ++seed) {
        if (by_seed.count(static_cast<std::uint64_t>(seed))) continue;
        GameOutcome lost;
        lost.Seed = static_cast<std::uint64_t>(seed);
        lost.Error = "no worker could be started";
        by_seed[lost.Seed] = lost;
    }
    std::vector<GameOutcome> games;
    for (auto& [seed, g] : by_seed) games.push_back(std::move(g));
    return games;
}

void PrintBatchTable(std::ostream& out, const std::vector<GameOutcome>& games) {
    out << "games: " << games.size() << "\n";
    for (const auto& [outcome, count] : OutcomeCounts(games)) {
        out << "  " << outcome << ": " << count << "\n";
    }
    for (const GameOutcome& g : games) {
        if (!g.Error.empty()) out << "  seed " << g.Seed << " failed: " << g.Error << "\n";
    }
    out << std::left << std::setw(36) << "per game" << std::right << std::setw(10) << "median"
        << std::setw(10) << "min" << std::setw(10) << "max"
        << "\n";
    std::vector<const GameOutcome*> played;
    for (const GameOutcome& g : games) {
        if (g.Error.empty()) played.push_back(&g);
    }
    for (const Metric& metric : Metrics()) {
        std::vector<double> values;
        for (const GameOutcome* g : played) values.push_back(metric.Value(*g));
        const Stats s = StatsOf(values);
        out << std::left << std::setw(36) << metric.Name << std::right << std::fixed
            << std::setprecision(metric.Name.find("ms") != std::string::npos ? 1 : 0)
            << std::setw(10) << s.Median << std::setw(10) << s.Min << std::setw(10) << s.Max
            << "\n";
    }
}

void PrintBatchJson(std::ostream& out, const std::vector<GameOutcome>& games) {
    nlohmann::json summary = nlohmann::json::object();
    for (const auto& [outcome, count] : OutcomeCounts(games)) summary[outcome] = count;
    nlohmann::json metrics = nlohmann::json::object();
    for (const Metric& metric : Metrics()) {
        std::vector<double> values;
        for (const GameOutcome& g : games) {
            if (g.Error.empty()) values.push_back(metric.Value(g));
        }
        const Stats s = StatsOf(values);
        metrics[metric.Name] = {{"median", s.Median}, {"min", s.Min}, {"max", s.Max}};
    }
    nlohmann::json all = nlohmann::json::array();
    for (const GameOutcome& g : games) all.push_back(ToJson(g));
    out << nlohmann::json{{"games", games.size()},
                          {"outcomes", summary},
                          {"per_game", metrics},
                          {"game_list", all}}
               .dump(2)
        << "\n";
}

}  // namespace velmora
