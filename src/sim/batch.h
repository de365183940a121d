// Many games of one scenario, seeds 1..N, played headless in parallel
// worker processes, summed up in one table for a scenario author balancing
// the scenario.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// What one game came to.
struct GameOutcome {
    std::uint64_t Seed = 0;
    bool Finished = false;  // the scenario's last turn was reached
    std::string Outcome;    // the victory report's words, empty when unfinished
    int Turns = 0;
    std::array<int, 2> Scores{};               // player, computer
    std::array<std::array<int, 8>, 2> Sunk{};  // [side][ship type 0..7]
    std::array<int, 2> Strikes{};              // strike groups launched, by side
    int Encounters = 0;
    std::array<int, 2> Landings{};  // landings at a base, by side
    int Captures = 0;
    int ComputerMerges = 0;
    int ComputerSplits = 0;
    int ComputerDistance = 0;  // map pixels sailed by the computer's fleets
    int TurnsPlayerFound = 0;  // turn ends after which the computer saw a player fleet
    double SlowestTurnMs = 0.0;
    std::string Error;  // a worker that died: what happened
};

struct BatchOptions {
    std::filesystem::path Scenario;
    int Games = 1;
    int Jobs = 1;
    bool AutoPlayer = false;
    std::optional<int> Turns;  // default: to the scenario's last turn
};

// Plays one game headless; the automatic commander gives the player's
// orders when asked to.
GameOutcome PlayBatchGame(const std::filesystem::path& scenario, std::uint64_t seed,
                          bool auto_player, std::optional<int> turns);

// Plays seeds 1..Games in Jobs worker processes; outcomes in seed order.
std::vector<GameOutcome> PlayBatch(const BatchOptions& options);

void PrintBatchTable(std::ostream& out, const std::vector<GameOutcome>& games);
void PrintBatchJson(std::ostream& out, const std::vector<GameOutcome>& games);

}  // namespace velmora
