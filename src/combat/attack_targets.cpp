#include "combat/attack_targets.h"

#include <cmath>

#include "combat/area_defence.h"
#include "combat/damage.h"

namespace velmora {
namespace {

constexpr int kCarrierGroup = 1;
constexpr int kDestroyerGroup = 4;
constexpr int kCruiserDestroyerGroup = 10;
constexpr int kAllEscortsGroup = 11;
constexpr int kWeaponsPerCarrier = 8;
constexpr int kFullyDetected = 3;

double DrawFactor(GameState& state) {
    return (state.Roll(4) + 4) * 0.1;
}

// Less well detected fleets are counted with an error of up to two ships.
int Jitter(GameState& state, const TFleet& target) {
    if (target.DetectLevel >= kFullyDetected) return 0;
    const int plus = state.Roll(3);
    return plus - state.Roll(3);
}

// A quarter (or third) of the type, and one ship when that comes to none.
int Request(GameState& state, const TFleet& target, int share) {
    if (share <= 0) return 1;
    return share + Jitter(state, target);
}

std::int64_t DefenceStrength(const GameState& state, const TFleet& target) {
    const DefenceByType defence = AreaDefenceByType(state, target, CountShipsByType(state, target));
    std::int64_t sum = 0;
    for (std::int64_t d : defence) sum += d;
    return static_cast<std::int64_t>(std::trunc(static_cast<double>(sum) * target.VtFuseFactor));
}

void CarrierStrike(TFleet& attacker, TAirUnit& attack, std::int64_t total) {
    attack.TargetGroup = kCarrierGroup;
    attack.TargetRequest[0] = static_cast<std::int32_t>(total / kWeaponsPerCarrier);
    attack.Tagged = 1;
    attacker.EscortStrikes = 0;
}

// Weapons per escort ship, scaled by the factor, truncated.
bool Saturates(std::int64_t total, int ships, double factor, int above) {
    if (ships <= 0) return false;
    return std::trunc(static_cast<double>(total / ships) * factor) > above;
}

void EscortStrike(GameState& state, TFleet& attacker, const TFleet& target, TAirUnit& attack,
                  double factor, std::int64_t total) {
    const ShipTypeCounts counts = CountShipsByType(state, target);
    const int bb = counts.Of(kBattleship);
    const int cr = counts.Of(kCruiser);
    const int dd = counts.Of(kDestroyer);
    if (bb > 0 && Saturates(total, bb + cr + dd, factor, 9)) {
        attack.TargetGroup = kAllEscortsGroup;
        attack.TargetRequest[0] = Request(state, target, bb / 4);
        attack.TargetRequest[1] = Request(state, target, cr / 4);
        attack.TargetRequest[2] = Request(state, target, dd / 3);
    } else if (cr > 0 && Saturates(total, cr + dd, factor, 6)) {
        attack.TargetGroup = kCruiserDestroyerGroup;
        attack.TargetRequest[0] = Request(state, target, cr / 4);
        attack.TargetRequest[1] = Request(state, target, dd / 3);
    } else if (dd > 0) {
        attack.TargetGroup = kDestroyerGroup;
        const int seen = dd + Jitter(state, target);
        attack.TargetRequest[0] = seen <= 0 ? 1 : seen / 3;
        if (std::int64_t{dd} * 10 < total) attack.TargetRequest[0] = dd;
    } else {
        return;
    }
    ++attacker.EscortStrikes;
}

}  // namespace

void ChooseAttackTargets(GameState& state, TFleet& attacker, TAirUnit& attack, double& factor,
                         int a, int b) {
    if (attacker.TargetFleet < 0 || attacker.TargetFleet >= kFleetCount) return;
    const TFleet& target = state.Fleet(attacker.TargetFleet);
    ChooseAttackTargets(state, attacker, target, attack, factor, a, b);
}

void ChooseAttackTargets(GameState& state, TFleet& attacker, const TFleet& target, TAirUnit& attack,
                         double& factor, int a, int b) {
    attack.Tagged = 0;
    factor = 1.0;
    const std::int64_t defence = DefenceStrength(state, target);
    const std::int64_t total = std::int64_t{a} + b;
    if (attacker.EscortStrikes > 0 && defence / 15 < total) {
        CarrierStrike(attacker, attack, total);
        return;
    }
    factor = DrawFactor(state);
    if (total > defence / 3) {
        factor = 1.0;
        CarrierStrike(attacker, attack, total);
        return;
    }
    factor = DrawFactor(state);
    EscortStrike(state, attacker, target, attack, factor, total);
}

}  // namespace velmora
