// The computer side and the whole turn end, each set against the time of
// one copy of the whole GameState measured in the same run: a turn end
// should cost no more than a few copies of the state.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

#include "enemy/enemy_turn.h"
#include "enemy/route_search.h"
#include "frontend/recording_frontend.h"
#include "model/game_state.h"
#include "scenario/save_game.h"
#include "scenario/setup.h"
#include "turn/turn_sequence.h"

namespace velmora {
namespace {

constexpr std::uint64_t kSeed = 7;
constexpr int kMidGameTurns = 12;

std::filesystem::path DemoScenario() {
    return std::filesystem::path(VELMORA_SOURCE_DIR) / "scenarios/demo/Strait/strait.snr";
}

std::unique_ptr<GameState> DemoOpening(Frontend& frontend) {
    auto state = std::make_unique<GameState>();
    if (!SetupScenario(*state, frontend, DemoScenario(), kSeed)) state.reset();
    return state;
}

std::unique_ptr<GameState> DemoMidGame(Frontend& frontend) {
    auto state = DemoOpening(frontend);
    for (int t = 0; state && t < kMidGameTurns; ++t) EndTurn(*state, frontend);
    return state;
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// The median time of one whole-state copy.
double StateCopySeconds(const GameState& state) {
    std::vector<double> times;
    auto copy = std::make_unique<GameState>();
    for (int i = 0; i < 15; ++i) {
        const auto start = std::chrono::steady_clock::now();
        *copy = state;
        benchmark::DoNotOptimize(copy->Turn);
        times.push_back(Seconds(std::chrono::steady_clock::now() - start));
    }
    std::nth_element(times.begin(), times.begin() + 7, times.end());
    return times[7];
}

// Adds the yardstick: the copy's time and how many copies one iteration costs.
void ReportAgainstCopy(benchmark::State& bench, const GameState& state, double loop_seconds) {
    const double copy = StateCopySeconds(state);
    const double per_iteration = loop_seconds / static_cast<double>(bench.iterations());
    bench.counters["state_copy_us"] = copy * 1e6;
    bench.counters["state_copies"] = copy > 0 ? per_iteration / copy : 0.0;
}

void BM_PlanRoute(benchmark::State& bench) {
    RecordingFrontend frontend;
    auto state = DemoOpening(frontend);
    if (!state) return bench.SkipWithError("the demo scenario did not set up");
    TFleet& fleet = state->FleetTable[13];
    const TFleet start = fleet;
    const auto began = std::chrono::steady_clock::now();
    for (auto _ : bench) {
        fleet.Position = start.Position;
        PlanRoute(*state, fleet);
        benchmark::DoNotOptimize(fleet.Route[0]);
    }
    ReportAgainstCopy(bench, *state, Seconds(std::chrono::steady_clock::now() - began));
}
BENCHMARK(BM_PlanRoute)->Unit(benchmark::kMicrosecond);

void BM_ComputerFleetOrdersOpening(benchmark::State& bench) {
    RecordingFrontend frontend;
    auto opening = DemoOpening(frontend);
    if (!opening) return bench.SkipWithError("the demo scenario did not set up");
    auto state = std::make_unique<GameState>(*opening);
    double loop = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        *state = *opening;
        bench.ResumeTiming();
        const auto began = std::chrono::steady_clock::now();
        ComputerFleetOrders(*state, frontend);
        loop += Seconds(std::chrono::steady_clock::now() - began);
    }
    ReportAgainstCopy(bench, *state, loop);
}
BENCHMARK(BM_ComputerFleetOrdersOpening)->Unit(benchmark::kMicrosecond);

void BM_EndTurnMidGame(benchmark::State& bench) {
    RecordingFrontend frontend;
    auto mid_game = DemoMidGame(frontend);
    if (!mid_game) return bench.SkipWithError("the demo scenario did not set up");
    auto state = std::make_unique<GameState>(*mid_game);
    double loop = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        *state = *mid_game;
        frontend.ClearTranscript();
        bench.ResumeTiming();
        const auto began = std::chrono::steady_clock::now();
        EndTurn(*state, frontend);
        loop += Seconds(std::chrono::steady_clock::now() - began);
    }
    ReportAgainstCopy(bench, *state, loop);
}
BENCHMARK(BM_EndTurnMidGame)->Unit(benchmark::kMillisecond);

void BM_SaveAndLoad(benchmark::State& bench) {
    RecordingFrontend frontend;
    auto state = DemoMidGame(frontend);
    if (!state) return bench.SkipWithError("the demo scenario did not set up");
    const auto dir = std::filesystem::temp_directory_path() / "velmora_bench_saves";
    std::filesystem::create_directories(dir);
    auto loaded = std::make_unique<GameState>(*state);
    const auto began = std::chrono::steady_clock::now();
    for (auto _ : bench) {
        if (!SaveGame(*state, frontend, dir, 1) || !LoadGame(*loaded, frontend, dir, 1)) {
            bench.SkipWithError("save or load failed");
            break;
        }
    }
    ReportAgainstCopy(bench, *state, Seconds(std::chrono::steady_clock::now() - began));
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SaveAndLoad)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
