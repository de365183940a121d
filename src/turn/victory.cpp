#include "turn/victory.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "model/fleet_ops.h"

namespace velmora {
namespace {

constexpr std::size_t kPlayerHalf = 0;
constexpr std::size_t kComputerHalf = 1;

struct ValueRow {
    int sunk;
    int sunk_small;  // when max durability is at most small_limit
    int small_limit;
    std::array<int, 3> damaged;  // lightly, moderately, heavily damaged
};

// Indexed by ShipType 1..5; the transport's sunk value depends on the side.
constexpr std::array<ValueRow, 6> kValues{{
    {0, 0, 0, {0, 0, 0}},
    {100, 80, 50, {30, 40, 50}},
    {100, 70, 65, {20, 30, 50}},
    {60, 50, 40, {10, 20, 30}},
    {30, 15, 15, {5, 10, 15}},
    {50, 30, 10, {10, 20, 30}},
}};
constexpr int kPlayerTransportSunk = 40;

bool Scores(int type) {
    return type >= kCarrier && type <= kTransport;
}

void Add(std::int32_t& total, std::int64_t value) {
    total = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        std::int64_t{total} + value, std::numeric_limits<std::int32_t>::min(),
        std::numeric_limits<std::int32_t>::max()));
}

int SunkPoints(int type, int max, bool players_ship) {
    if (players_ship && type == kTransport) return kPlayerTransportSunk;
    const ValueRow& row = kValues[static_cast<std::size_t>(type)];
    return max <= row.small_limit ? row.sunk_small : row.sunk;
}

int DamagedPoints(int type, int max, int cur) {
    const ValueRow& row = kValues[static_cast<std::size_t>(type)];
    if (cur > (max / 3) * 2) return row.damaged[0];
    if (cur > max / 3) return row.damaged[1];
    return row.damaged[2];
}

// Sunk ships of one side: their names, counts and the points they give the
// other side.
void CountLosses(const GameState& state, const LostShipList& lost, std::size_t half,
                 std::int32_t& other_total, VictoryTotals& totals,
                 std::vector<std::string>& names) {
    const int count = std::clamp(lost.Count, 0, kTableSize);
    for (int i = 0; i < count; ++i) {
        const TShip& ship = lost.Ships[static_cast<std::size_t>(i)];
        names.push_back(ship.Name.str());
        const TShip& cls = state.ClassOf(ship);
        const int type = cls.ShipType();
        if (!Scores(type)) continue;
        Add(other_total, SunkPoints(type, cls.Durability, half == kPlayerHalf));
        Add(totals.Sunk[half][static_cast<std::size_t>(type)], 1);
    }
}

void CountDamage(const GameState& state, VictoryTotals& totals) {
    for (const TFleet& fleet : state.FleetTable) {
        if (!fleet.Active) continue;
        const bool players = fleet.Side == state.PlayerSide;
        const std::size_t half = players ? kPlayerHalf : kComputerHalf;
        std::int32_t& beneficiary = players ? totals.ComputerTotal : totals.PlayerTotal;
        const int ships = std::clamp(fleet.ShipCount, 0, kShipSlots);
        for (int j = 0; j < ships; ++j) {
            const TShip& ship = fleet.Ships[static_cast<std::size_t>(j)];
            const TShip& cls = state.ClassOf(ship);
            const int type = cls.ShipType();
            if (!Scores(type) || ship.Durability >= cls.Durability) continue;
            Add(beneficiary, DamagedPoints(type, cls.Durability, ship.Durability));
            Add(totals.Damaged[half][static_cast<std::size_t>(type)], 1);
        }
    }
}

std::int32_t LandingPointsOf(const TFleet& fleet, std::uint8_t side) {
    return side < fleet.LandingPoints.size() ? fleet.LandingPoints[side] : 0;
}

void CountLandings(const GameState& state, VictoryTotals& totals) {
    for (const TFleet& fleet : state.FleetTable) {
        if (!fleet.Active || !FleetHasInstallation(state, fleet)) continue;
        if (fleet.Side == state.PlayerSide) {
            std::int64_t d = std::int64_t{LandingPointsOf(fleet, state.PlayerSide)} -
                             state.InitialLandingPoints[0];
            Add(totals.PlayerTotal, d);
            Add(totals.LandingShownPlayer, d);
        } else {
            std::int64_t d = std::int64_t{LandingPointsOf(fleet, state.ComputerSide)} -
                             state.InitialLandingPoints[1];
            Add(totals.ComputerTotal, d);
            Add(totals.LandingShownComputer, d);
        }
    }
}

std::string Outcome(std::int32_t player, std::int32_t computer) {
    if (computer < player) return "プレイヤー側勝利";
    if (player < computer) return "プレイヤー側敗北";
    return "両軍引き分け";
}

VictoryReport ReportOf(const GameState& state) {
    const VictoryTotals& totals = state.Victory;
    VictoryReport report;
    report.Totals = {totals.PlayerTotal, totals.ComputerTotal};
    report.LandingShown = {totals.LandingShownPlayer, totals.LandingShownComputer};
    report.Sunk = totals.Sunk;
    report.Damaged = totals.Damaged;
    report.CapturePoints = {state.PlayerScore, state.ComputerScore};
    // Each half shows what the other side's defences stopped.
    report.AircraftLosses = {state.InterceptTally[1], state.InterceptTally[0]};
    report.Outcome = Outcome(totals.PlayerTotal, totals.ComputerTotal);
    return report;
}

}  // namespace

VictoryReport EvaluateVictory(GameState& state, Frontend& frontend) {
    VictoryTotals& totals = state.Victory;
    std::array<std::vector<std::string>, 2> names;

    Add(totals.ComputerTotal, state.InterceptTally[1]);
    Add(totals.PlayerTotal, state.InterceptTally[0]);
    CountLosses(state, state.LostShipsPlayer, kPlayerHalf, totals.ComputerTotal, totals,
                names[kPlayerHalf]);
    CountDamage(state, totals);
    CountLosses(state, state.LostShipsComputer, kComputerHalf, totals.PlayerTotal, totals,
                names[kComputerHalf]);
    CountLandings(state, totals);
    Add(totals.PlayerTotal, state.PlayerScore);
    Add(totals.ComputerTotal, state.ComputerScore);

    VictoryReport report = ReportOf(state);
    report.SunkNames = std::move(names);
    frontend.ShowVictory(report);
    return report;
}

}  // namespace velmora
