#include "orders/air_report.h"

#include "air/air_units.h"
#include "model/labels.h"

namespace velmora {
namespace {

constexpr std::array<std::string_view, 4> kGroupNames{"第一次攻撃隊", "第二次攻撃隊",
                                                      "第三次攻撃隊", "第四次攻撃隊"};

std::string Counts(int f, int a, int s) {
    return std::to_string(f) + "/" + std::to_string(a) + "/" + std::to_string(s);
}

bool HasAircraft(const GameState& state, const TFleet& f) {
    return FighterTotal(state, f) + AttackerTotal(state, f) + ScoutTotal(state, f) > 0;
}

}  // namespace

std::string AirStatusLine(const GameState& state, int index) {
    const TFleet& f = state.Fleet(index);
    std::string line = "Air\t" + std::to_string(state.Turn) + "\t" + f.Name.str() + "\t直援 " +
                       std::to_string(AircraftAloft(f.CapLaunched, state.Turn)) + "\t索敵 " +
                       std::to_string(AircraftAloft(f.ScoutLaunched, state.Turn)) + "\t格納庫 " +
                       Counts(f.HangarCounts[0], f.HangarCounts[1], f.HangarCounts[2]);
    for (std::size_t g = 0; g < kGroupNames.size(); ++g) {
        const TAirUnit& u = f.AirUnits[g];
        line += "\t" + std::string(kGroupNames[g]) + " " +
                std::string(LabelAt(AirStateLabels, u.State)) + " " +
                Counts(u.Counts[0], u.Counts[1], u.Counts[2]);
    }
    return line;
}

std::vector<std::string> PlayerAirStatus(const GameState& state) {
    std::vector<std::string> lines;
    for (int i = 0; i < kFleetCount; ++i) {
        const TFleet& f = state.FleetTable[static_cast<std::size_t>(i)];
        if (f.Active != 0 && f.Side == state.PlayerSide && HasAircraft(state, f))
            lines.push_back(AirStatusLine(state, i));
    }
    return lines;
}

}  // namespace velmora
