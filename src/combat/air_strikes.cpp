#include "combat/air_strikes.h"

#include "combat/air_combat.h"
#include "combat/combat_report.h"
#include "combat/missile_attack.h"

namespace velmora {
namespace {

constexpr std::uint8_t kInFlight = 5;

void ReportStrike(GameState& state, Frontend& frontend, const TFleet& attacker, int unit_index,
                  const TAirUnit& unit, const TFleet& target) {
    frontend.RefreshPalette();
    PlayCue(state, frontend, Cue::kAttackRun);
    if (IsPlayersFleet(state, attacker)) {
        frontend.ShowBattleMessage(attacker.Name + "攻撃隊" + Num(unit_index + 1) + "が敵艦隊" +
                                   target.Designation + "を攻撃");
    } else {
        frontend.ShowBattleMessage(target.Name + "に空襲");
    }
    // The counts as launched, before the patrol meets them.
    frontend.ShowBattleMessage(state.AircraftTypeAt(unit.AircraftTypes[0]).Name + "  " +
                               Num(unit.Counts[0]) + "機 " +
                               state.AircraftTypeAt(unit.AircraftTypes[1]).Name + "  " +
                               Num(unit.Counts[1]) + "機 \nが攻撃");
}

// The fleet under the first strike of this fleet that reaches a real fleet
// is shown while its strikes go in.
bool OpenBattleView(Frontend& frontend, const TFleet& attacker) {
    for (const TAirUnit& unit : attacker.AirUnits) {
        if (unit.State == kInFlight && unit.StrikeTarget < kFleetCount) {
            frontend.ShowBattleFleetView(unit.StrikeTarget);
            return true;
        }
    }
    return false;
}

}  // namespace

void ResolveAirStrikes(GameState& state, Frontend& frontend) {
    for (int j = 0; j < kFleetCount; ++j) {
        TFleet& attacker = state.Fleet(j);
        const bool view = OpenBattleView(frontend, attacker);
        for (int i = 0; i < kAirUnitSlots; ++i) {
            TAirUnit& unit = attacker.AirUnits[static_cast<std::size_t>(i)];
            if (unit.State != kInFlight) continue;
            if (unit.StrikeTarget >= kFleetCount) {
                if (IsPlayersFleet(state, attacker)) {
                    frontend.MessageOk("攻撃失敗",
                                       attacker.Name + "攻撃隊は敵艦隊に到達できませんでした");
                }
                continue;
            }
            TFleet& target = state.Fleet(unit.StrikeTarget);
            ReportStrike(state, frontend, attacker, i, unit, target);
            AirCombat(state, frontend, unit, target);
            DeliverAirStrike(state, frontend, attacker, unit, target);
            frontend.RefreshPalette();
        }
        if (view) frontend.EndModelView();
    }
}

}  // namespace velmora
