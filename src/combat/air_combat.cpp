#include "combat/air_combat.h"

#include <algorithm>
#include <array>

#include "combat/combat_report.h"
#include "model/fleet_ops.h"
#include "model/rounding.h"

namespace velmora {
namespace {

constexpr std::size_t kFighters = 0;
constexpr std::size_t kAttack = 1;
constexpr std::size_t kSearch = 2;

// The patrol aloft: the launches of this turn and the two before it.
class PatrolAloft {
  public:
    PatrolAloft(TFleet& fleet, int turn) : fleet_(fleet) {
        for (int back = 0; back < 3; ++back)
            index_[static_cast<std::size_t>(back)] = LaunchIndex(turn - 2 + back);
    }

    std::int64_t Total() const {
        std::int64_t total = 0;
        for (std::size_t e = 0; e < 3; ++e) total += Entry(e);
        return total;
    }
    std::int32_t Entry(std::size_t e) const {
        return index_[e] < 0 ? 0 : fleet_.CapLaunched[static_cast<std::size_t>(index_[e])];
    }
    void Set(std::size_t e, std::int64_t value) {
        if (index_[e] < 0) return;
        fleet_.CapLaunched[static_cast<std::size_t>(index_[e])] =
            static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 0, INT32_MAX));
    }
    void WipeOut() {
        for (std::size_t e = 0; e < 3; ++e) Set(e, 0);
    }
    // k patrol fighters lost, spread over the three launches by their size;
    // the newest launch takes what rounding leaves.
    void Lose(std::int64_t& aloft, std::int64_t k) {
        if (aloft <= 0) return;
        const std::int64_t x = RoundHalfEven(static_cast<double>(Entry(0)) * k / aloft);
        const std::int64_t y = RoundHalfEven(static_cast<double>(Entry(1)) * k / aloft);
        aloft = std::max<std::int64_t>(aloft - k, 0);
        Set(0, std::int64_t{Entry(0)} - x);
        Set(1, std::int64_t{Entry(1)} - y);
        Set(2, std::int64_t{Entry(2)} - (k - x - y));
    }

  private:
    TFleet& fleet_;
    std::array<int, 3> index_{};
};

struct Side {
    int ew = 0;
    int stealth = 0;
    int power = 0;
    int evasion = 0;
};

Side SideOf(const AircraftType& type) {
    return {type.ElectronicWarfare, StealthValue(type), type.AttackPower, type.Evasion};
}

// Kills of `shots` shooters against targets; engagement die `die`.
std::int64_t Fight(GameState& state, std::int64_t shots, const Side& shooter, const Side& target,
                   int modifier, int die) {
    std::int64_t kills = 0;
    for (std::int64_t s = 0; s < shots; ++s) {
        if (state.Roll(die) > modifier && state.Roll(6) + 1 + shooter.power >= target.evasion)
            ++kills;
    }
    return kills;
}

enum class Lost { kStrikeAircraft, kPatrol };

void ReportLosses(GameState& state, Frontend& frontend, const TFleet& defender, int type_index,
                  std::int64_t k, Lost lost) {
    const AircraftType& type = state.AircraftTypeAt(type_index);
    const bool players = IsPlayersFleet(state, defender);
    frontend.ShowAircraftModel(type_index);
    PlayCue(state, frontend, Cue::kDefensiveFire);
    PlayCue(state, frontend, Cue::kImpact);
    const bool ours = (lost == Lost::kStrikeAircraft) == players;
    frontend.ShowBattleMessage(type.Name + "を" + Num(k) +
                               (ours ? "機撃墜しました。" : "機撃墜されました。"));
    state.InterceptTally[players ? 0 : 1] += static_cast<std::int32_t>(k);
}

void Lower(std::int32_t& count, std::int64_t k) {
    count = static_cast<std::int32_t>(std::max<std::int64_t>(std::int64_t{count} - k, 0));
}

}  // namespace

void AirCombat(GameState& state, Frontend& frontend, TAirUnit& strike, TFleet& defender) {
    PatrolAloft patrol(defender, state.Turn);
    std::int64_t aloft = patrol.Total();
    if (aloft <= 0) return;

    const AircraftType& cap_type = state.AircraftTypeAt(defender.CapType);
    const AircraftType& fighter_type = state.AircraftTypeAt(strike.AircraftTypes[kFighters]);
    const AircraftType& attack_type = state.AircraftTypeAt(strike.AircraftTypes[kAttack]);
    const Side cap = SideOf(cap_type);
    const Side f = SideOf(fighter_type);
    const Side a = SideOf(attack_type);
    const std::int64_t escorts = strike.Counts[kFighters];

    PlayCue(state, frontend, Cue::kAttackRun);
    frontend.ShowBattleMessage(cap_type.Name + Num(aloft) + "機 " + "対 " + fighter_type.Name +
                               Num(escorts) + "機");
    frontend.ShowBattleMessage("電子戦修正 " + Num(cap.ew - f.ew) + "ステルス修正 " +
                               Num(cap.stealth - f.stealth));

    // Phase 1: the patrol against the escorts.
    std::int64_t k = Fight(state, aloft, cap, f, f.ew - cap.ew + f.stealth - cap.stealth, 8);
    k = std::min<std::int64_t>(k, std::max(strike.Counts[kFighters], 0));
    ReportLosses(state, frontend, defender, strike.AircraftTypes[kFighters], k,
                 Lost::kStrikeAircraft);
    Lower(strike.Counts[kFighters], k);

    // Phase 2: the escorts against the patrol.
    k = Fight(state, escorts, f, cap, cap.ew - f.ew + cap.stealth - f.stealth, 8);
    if (k > aloft) {
        k = aloft;
        patrol.WipeOut();
    }
    ReportLosses(state, frontend, defender, defender.CapType, k, Lost::kPatrol);
    patrol.Lose(aloft, k);
    if (patrol.Total() == 0) return;

    // Fighters lost to the escorts are also tied up with them: they count
    // twice against the patrol left for the attack aircraft.
    std::int64_t free_patrol = aloft - k - defender.TurnScratch;
    defender.TurnScratch = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t{defender.TurnScratch} + k, INT32_MIN, INT32_MAX));
    free_patrol = std::max<std::int64_t>(free_patrol, 0);
    const std::int64_t attackers = strike.Counts[kAttack];
    const std::int64_t searchers = strike.Counts[kSearch];
    const std::int64_t assigned =
        attackers + searchers > 0 ? attackers * free_patrol / (attackers + searchers) : 0;
    frontend.ShowBattleMessage(cap_type.Name + Num(assigned) + "機 " + "対 " + attack_type.Name +
                               Num(attackers) + "機");

    // Phase 3: the patrol against the attack aircraft.
    k = Fight(state, assigned, cap, a, a.ew - cap.ew + a.stealth - cap.stealth, 8);
    k = std::min<std::int64_t>(k, std::max(strike.Counts[kAttack], 0));
    ReportLosses(state, frontend, defender, strike.AircraftTypes[kAttack], k,
                 Lost::kStrikeAircraft);
    Lower(strike.Counts[kAttack], k);

    // Phase 4: the attack aircraft shoot back, without limit.
    k = Fight(state, strike.Counts[kAttack], a, cap, a.ew - cap.ew + a.stealth - cap.stealth, 6);
    ReportLosses(state, frontend, defender, defender.CapType, k, Lost::kPatrol);
    patrol.Lose(aloft, k);
}

}  // namespace velmora
