// Movement over a map that is mostly land: many steps need a detour probe,
// which is the costly part of a turn end's movement.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <random>

#include "model/game_state.h"
#include "chart/geometry.h"
#include "chart/movement.h"

namespace velmora {
namespace {

// Land everywhere except channels every 60 pixels, plus scattered islands
// inside the channels; the layout is fixed so runs compare.
void LayLandHeavyMask(GameState& state) {
    for (int x = 0; x <= kMapWidth; ++x) {
        for (int y = 0; y <= kMapHeight; ++y) {
            bool channel = (x % 60) < 20 || (y % 60) < 20;
            state.LandMask.Set(x, y, !channel);
        }
    }
    std::mt19937 layout(7);
    std::uniform_int_distribution<int> px(0, kMapWidth);
    std::uniform_int_distribution<int> py(0, kMapHeight);
    for (int i = 0; i < 400; ++i) {
        int cx = px(layout);
        int cy = py(layout);
        for (int x = cx - 3; x <= cx + 3; ++x) {
            for (int y = cy - 3; y <= cy + 3; ++y) state.LandMask.Set(x, y, true);
        }
    }
}

struct Start {
    Point position;
    Point goal;
};

std::array<Start, kFleetCount + kContactCount> Starts() {
    std::array<Start, kFleetCount + kContactCount> starts{};
    for (int i = 0; i < static_cast<int>(starts.size()); ++i) {
        int lane = 10 + 60 * (i % 13);
        starts[static_cast<std::size_t>(i)] = {{lane, 10 + 13 * i},
                                               {kMapWidth - lane, kMapHeight - 13 * i}};
    }
    return starts;
}

std::unique_ptr<GameState> LandHeavyGame() {
    auto state = std::make_unique<GameState>();
    LayLandHeavyMask(*state);
    for (TFleet& fleet : state->FleetTable) {
        fleet.Active = 1;
        fleet.Speed = 30;
        fleet.RouteLength = 1;
    }
    for (TFleet& marker : state->ContactTable) {
        marker.Active = 1;
        marker.Speed = 20;
    }
    return state;
}

void PlaceAtStarts(GameState& state, const std::array<Start, kFleetCount + kContactCount>& s) {
    for (int i = 0; i < kFleetCount; ++i) {
        TFleet& fleet = state.FleetTable[static_cast<std::size_t>(i)];
        fleet.Position = s[static_cast<std::size_t>(i)].position;
        fleet.Route[0] = s[static_cast<std::size_t>(i)].goal;
        fleet.RouteLength = 1;
    }
    for (int i = 0; i < kContactCount; ++i) {
        TFleet& marker = state.ContactTable[static_cast<std::size_t>(i)];
        marker.Position = s[static_cast<std::size_t>(kFleetCount + i)].position;
        marker.Destination = s[static_cast<std::size_t>(kFleetCount + i)].goal;
    }
}

void BM_MoveFleets(benchmark::State& bench) {
    auto state = LandHeavyGame();
    const auto starts = Starts();
    for (auto _ : bench) {
        PlaceAtStarts(*state, starts);
        for (int turn = 0; turn < 5; ++turn) MoveFleets(*state);
        benchmark::DoNotOptimize(state->FleetTable[0].Position);
    }
    bench.SetItemsProcessed(bench.iterations() * 5 * (kFleetCount + kContactCount));
}
BENCHMARK(BM_MoveFleets)->Unit(benchmark::kMillisecond);

void BM_DetourStep(benchmark::State& bench) {
    auto state = LandHeavyGame();
    TFleet& fleet = state->FleetTable[0];
    for (auto _ : bench) {
        // In an east-west channel, with the straight step south ending on land.
        fleet.Position = {90, 10};
        DetourStep(*state, fleet, {0, 30}, {90, 500});
        benchmark::DoNotOptimize(fleet.Position);
    }
}
BENCHMARK(BM_DetourStep)->Unit(benchmark::kMicrosecond);

void BM_LandOnLine(benchmark::State& bench) {
    auto state = LandHeavyGame();
    for (auto _ : bench) {
        benchmark::DoNotOptimize(LandOnLine(*state, 10, 10, 10, 540));
        benchmark::DoNotOptimize(LandOnLine(*state, 10, 10, 780, 12));
    }
}
BENCHMARK(BM_LandOnLine);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
