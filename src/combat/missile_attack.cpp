#include "combat/missile_attack.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "combat/area_defence.h"
#include "combat/attack_targets.h"
#include "combat/combat_report.h"
#include "combat/damage.h"

namespace velmora {
namespace {

constexpr int kGroupSlots = 15;  // groups 0..14
constexpr int kAutomaticRequest = 6;
constexpr int kMaxShare = 999;
constexpr std::int64_t kShareLimit = 1000;
constexpr std::int64_t kMaxShots = 1'000'000;  // bad data must not spin forever
constexpr int kWeaponsPerTarget = 20;
constexpr std::string_view kPlayersWindowCaption = "ミサイル攻撃";

enum class Weapon { kSalvo, kStrike };

std::array<int, kGroupSlots> GroupCounts(const ShipTypeCounts& c) {
    std::array<int, kGroupSlots> g{};
    for (int t = 1; t <= 8; ++t) g[static_cast<std::size_t>(t)] = c.Of(t);
    g[9] = c.Of(kBattleship) + c.Of(kCruiser);
    g[10] = c.Of(kCruiser) + c.Of(kDestroyer);
    g[11] = c.Of(kBattleship) + c.Of(kCruiser) + c.Of(kDestroyer);
    return g;
}

// The chosen group when it has ships, else the first group that has; 0
// when the fleet has nothing to engage or no group was chosen at all.
int GroupToResolve(int chosen, const ShipTypeCounts& counts) {
    if (chosen <= 0 || chosen >= kGroupSlots) return 0;
    const auto groups = GroupCounts(counts);
    if (groups[static_cast<std::size_t>(chosen)] > 0) return chosen;
    for (int g = 1; g < kGroupSlots; ++g) {
        if (groups[static_cast<std::size_t>(g)] > 0) return g;
    }
    return 0;
}

void FillAutomaticRequests(std::array<std::int32_t, 9>& requests, std::int64_t x, std::int64_t y) {
    const auto automatic =
        static_cast<std::int32_t>(std::min(x / kWeaponsPerTarget + 1, y / kWeaponsPerTarget + 1));
    for (std::int32_t& r : requests) {
        if (r == kAutomaticRequest) r = automatic;
    }
}

// Slots of the engaged ships in engagement order: for each member type the
// first ships of that type, as many as its request allows.
std::vector<int> EngagedShips(const GameState& state, const TFleet& target, int group,
                              const std::array<std::int32_t, 9>& requests) {
    std::vector<int> engaged;
    const GroupMembers m = MembersOf(group);
    const int ships = std::clamp(target.ShipCount, 0, kShipSlots);
    for (int k = 0; k < m.count; ++k) {
        int wanted = requests[static_cast<std::size_t>(k)];
        for (int i = 0; i < ships && wanted > 0; ++i) {
            if (state.ShipTypeOf(target.Ships[static_cast<std::size_t>(i)]) !=
                m.types[static_cast<std::size_t>(k)])
                continue;
            engaged.push_back(i);
            --wanted;
        }
    }
    return engaged;
}

// count divided into n shares, the last taking the remainder; shares
// outside 0..1000 carry nothing.
std::vector<std::int64_t> Shares(std::int64_t count, std::size_t n) {
    std::vector<std::int64_t> shares(n, 0);
    if (n == 0 || count <= 0) return shares;
    std::int64_t given = 0;
    for (std::size_t k = 0; k + 1 < n; ++k) {
        shares[k] = static_cast<std::int64_t>(
            std::trunc(static_cast<double>(count) * (1.0 / static_cast<double>(n))));
        given += shares[k];
    }
    shares[n - 1] = count - given;
    for (std::int64_t& s : shares) {
        if (s < 0 || s > kShareLimit) s = 0;
    }
    return shares;
}

// The strike's survivors of both slots, divided into per-ship shares of the
// whole and each share filled from the larger slot while it lasts, then
// from the other: every weapon goes to exactly one ship, and the ships
// first in line meet one kind of weapon only.
struct SlotParts {
    std::vector<std::int64_t> first;   // slot 0
    std::vector<std::int64_t> second;  // slot 1
};

SlotParts SplitShares(std::int64_t p, std::int64_t q, std::size_t n) {
    SlotParts parts{std::vector<std::int64_t>(n, 0), std::vector<std::int64_t>(n, 0)};
    const std::vector<std::int64_t> whole = Shares(p + q, n);
    const bool first_larger = p >= q;
    std::int64_t larger_left = first_larger ? p : q;
    std::int64_t smaller_left = first_larger ? q : p;
    for (std::size_t k = 0; k < n; ++k) {
        const std::int64_t from_larger = std::min(whole[k], larger_left);
        const std::int64_t from_smaller = std::min(whole[k] - from_larger, smaller_left);
        larger_left -= from_larger;
        smaller_left -= from_smaller;
        (first_larger ? parts.first : parts.second)[k] = from_larger;
        (first_larger ? parts.second : parts.first)[k] = from_smaller;
    }
    return parts;
}

std::string ApproachSuffix(const GameState& state, const TFleet& target) {
    return IsPlayersFleet(state, target) ? "に接近中" : "に侵攻中";
}

const AircraftType& TypeAt(const GameState& state, int index) {
    return state.AircraftTypeAt(index);
}

// Everything one attack needs while it runs.
struct Attack {
    Weapon weapon = Weapon::kSalvo;
    TAirUnit record;  // the private copy
    int kind = 0;     // AttackKind: 1 bombs, 0 missiles
    int salvo_type = -1;
    std::string label;  // how the report names the weapon

    InterceptMode ModeFor() const {
        return weapon == Weapon::kSalvo ? InterceptMode::kMissiles
                                        : static_cast<InterceptMode>(kind == 1 ? 1 : 0);
    }
};

int SlotType(const Attack& attack, int slot) {
    if (attack.weapon == Weapon::kSalvo) return attack.salvo_type;
    return attack.record.AircraftTypes[static_cast<std::size_t>(slot)];
}

void ReportApproach(const GameState& state, Frontend& frontend, const Attack& a,
                    const TFleet& target) {
    const std::string suffix = target.Name + ApproachSuffix(state, target);
    const auto& c = a.record.Counts;
    if (a.weapon == Weapon::kSalvo) {
        if (a.kind == 0) frontend.ShowBattleMessage(a.label + Num(c[1]) + "発" + suffix);
        return;
    }
    const AircraftType& t0 = TypeAt(state, SlotType(a, 0));
    const AircraftType& t1 = TypeAt(state, SlotType(a, 1));
    if (a.kind == 0) {
        frontend.ShowBattleMessage(t0.DisplayName + "  " + Num(c[0]) + "発 " + t1.DisplayName +
                                   "  " + Num(c[1]) + "発" + suffix);
    } else {
        frontend.ShowBattleMessage(t0.Name + "  " + Num(c[0]) + "機 " + t1.Name + "  " + Num(c[1]) +
                                   "機" + suffix);
    }
}

void ReportBreakthrough(const GameState& state, Frontend& frontend, const Attack& a) {
    PlayCue(state, frontend, Cue::kImpact);
    const auto& c = a.record.Counts;
    if (a.weapon == Weapon::kSalvo) {
        frontend.ShowBattleMessage(a.label + " " + Num(c[1]) + "発が広域防空圏を突破");
        return;
    }
    if (a.kind == 0) {
        frontend.ShowBattleMessage(a.label + Num(c[0]) + "発 " + a.label + "  " + Num(c[1]) +
                                   "発が広域防空圏を突破");
        return;
    }
    const AircraftType& t0 = TypeAt(state, SlotType(a, 0));
    const AircraftType& t1 = TypeAt(state, SlotType(a, 1));
    if (t0.MissilesPerAircraft > 0) {
        frontend.ShowBattleMessage(t0.Name + "  " + Num(c[0]) + "機 " + t1.Name + "  " + Num(c[1]) +
                                   "機が広域防空圏を突破");
    } else {
        frontend.ShowBattleMessage(t1.Name + "  " + Num(c[1]) + "機が広域防空圏を突破");
    }
}

void AreaDefenceFire(GameState& state, Frontend& frontend, Attack& a, const TFleet& target,
                     std::int64_t total) {
    auto& c = a.record.Counts;
    if (a.weapon == Weapon::kSalvo) {
        const std::int64_t q = c[1];
        const std::int64_t r = c[2];
        const std::int64_t shots =
            q + r > 0 ? static_cast<std::int64_t>(
                            std::trunc(static_cast<double>(total) * static_cast<double>(q) /
                                       static_cast<double>(q + r)))
                      : 0;
        InterceptIncoming(state, frontend, c[1], target, a.salvo_type, shots,
                          InterceptMode::kMissiles);
        return;
    }
    const std::int64_t p = c[0];
    const std::int64_t q = c[1];
    const std::int64_t shots0 =
        p + q > 0
            ? static_cast<std::int64_t>(std::trunc(
                  static_cast<double>(total) * static_cast<double>(p) / static_cast<double>(p + q)))
            : 0;
    InterceptIncoming(state, frontend, c[0], target, SlotType(a, 0), shots0, a.ModeFor());
    InterceptIncoming(state, frontend, c[1], target, SlotType(a, 1), total - shots0, a.ModeFor());
}

// Damage is halved against the wrong kind of target: missiles against a
// base, bombs against anything but a base.
bool WrongTargetKind(int ship_type, int kind) {
    return (ship_type == kGroundBase && kind == 0) || (ship_type != kGroundBase && kind == 1);
}

void ReportHits(GameState& state, Frontend& frontend, const Attack& a, const TFleet& target,
                const TShip& ship, int slot, std::int64_t hits) {
    const bool players = IsPlayersFleet(state, target);
    std::int64_t shown = hits;
    if (!players)
        shown = hits + state.Roll(static_cast<int>(std::min<std::int64_t>(hits + 2, 1 << 30)));
    if (shown > 0) PlayCue(state, frontend, Cue::kImpact);
    const std::string name = players ? ship.Name.str() : ShipLabel(state, target, ship);
    if (a.weapon == Weapon::kSalvo) {
        frontend.ShowBattleMessage(name + "に攻撃。" + a.label + " " + Num(shown) + "発命中。");
    } else {
        frontend.ShowBattleMessage(TypeAt(state, SlotType(a, slot)).Name + "が" + name +
                                   "に攻撃。" + a.label + "  " + Num(shown) + "発命中。");
    }
}

// One engaged ship under one share (a salvo's share, or a strike's part of
// one slot).
void AttackShip(GameState& state, Frontend& frontend, const Attack& a, TFleet& target,
                int ship_slot, int slot, std::int64_t share) {
    TShip& ship = target.Ships[static_cast<std::size_t>(ship_slot)];
    const std::string ship_label = ShipLabel(state, target, ship);
    const int type_index = SlotType(a, slot);
    const AircraftType& type = TypeAt(state, type_index);

    frontend.ShowAircraftModel(type_index);
    PlayCue(state, frontend, Cue::kAttackRun);
    if (a.weapon == Weapon::kSalvo) {
        frontend.ShowBattleMessage(a.label + " " + Num(share) + "発が" + ship_label + "を攻撃。");
    } else if (a.kind == 0) {
        frontend.ShowBattleMessage(a.label + "  " + Num(share) + "発が" + ship_label + "を攻撃。");
    } else {
        frontend.ShowBattleMessage(type.Name + "  " + Num(share) + "機が" + ship_label +
                                   "を攻撃。");
    }
    PlayCue(state, frontend, Cue::kDefensiveFire);
    frontend.ShowShipModel(ship.ClassIndex);
    frontend.ShowBattleMessage(ship_label + "のポイントディフェンス");

    auto incoming = static_cast<std::int32_t>(share);
    InterceptIncoming(state, frontend, incoming, target, type_index, ship.PointDefence,
                      a.ModeFor());

    // Each later roll of one share is one percent more likely to hit.
    std::int64_t hits = 0;
    std::int64_t damage = 0;
    for (std::int64_t s = 0; s <= incoming; ++s) {
        if (state.Roll(100) + 1 <= type.BombAccuracy + s) {
            ++hits;
            damage += type.BombPower;
        }
    }
    if (WrongTargetKind(state.ShipTypeOf(ship), a.kind)) damage /= 2;
    ship.Durability = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t{ship.Durability} - damage, INT32_MIN, INT32_MAX));

    PlayCue(state, frontend, Cue::kExplosion);
    ReportHits(state, frontend, a, target, ship, slot, hits);
    ApplyHitEffects(state, frontend, target, ship, static_cast<int>(hits), damage);
    frontend.EndModelView();
    if (ship.Durability < 0) ship.Durability = 0;
}

bool ShareAttacks(std::int64_t share) {
    return share >= 1 && share <= kMaxShare;
}

// The common course of a salvo and a strike once the group is settled.
void Resolve(GameState& state, Frontend& frontend, Attack& a, TFleet& target, int group,
             const std::array<std::int32_t, 9>& requests) {
    const ShipTypeCounts before = CountShipsByType(state, target);
    const std::vector<int> engaged = EngagedShips(state, target, group, requests);
    const std::int64_t total = AreaDefenceAgainst(state, target, before, group);

    PlayCue(state, frontend, Cue::kDefensiveFire);
    ReportApproach(state, frontend, a, target);
    frontend.ShowBattleMessage(target.Name + "広域防空戦開始");
    AreaDefenceFire(state, frontend, a, target, total);
    ReportBreakthrough(state, frontend, a);

    const auto& c = a.record.Counts;
    if (a.weapon == Weapon::kSalvo) {
        const std::vector<std::int64_t> shares = Shares(c[1], engaged.size());
        for (std::size_t k = 0; k < engaged.size(); ++k) {
            if (ShareAttacks(shares[k]))
                AttackShip(state, frontend, a, target, engaged[k], 1, shares[k]);
        }
    } else {
        const SlotParts parts = SplitShares(c[0], c[1], engaged.size());
        for (std::size_t k = 0; k < engaged.size(); ++k) {
            if (ShareAttacks(parts.first[k]))
                AttackShip(state, frontend, a, target, engaged[k], 0, parts.first[k]);
            if (ShareAttacks(parts.second[k]))
                AttackShip(state, frontend, a, target, engaged[k], 1, parts.second[k]);
        }
    }
    ResolveLosses(state, frontend, target, before);
}

bool TargetsInstallations(int group) {
    return group == kGroundBase || group == kAntiAircraftSite;
}

// Who aims the strike: the player in the attack target window, the
// computer by its own rules.
void ChooseStrikeTargets(GameState& state, Frontend& frontend, const TFleet& attacker,
                         TAirUnit& strike, const TFleet& target) {
    if (IsPlayersFleet(state, attacker)) {
        frontend.ChooseTargetShips(strike, kPlayersWindowCaption);
        return;
    }
    TFleet working = attacker;  // the choice's bookkeeping stays with the copy
    double factor = 1.0;
    ChooseAttackTargets(state, working, target, strike, factor, strike.Counts[0], strike.Counts[1]);
}

}  // namespace

int FindAircraftType(const GameState& state, std::string_view key) {
    for (int i = 0; i < kTableSize; ++i) {
        if (state.AircraftTypeTable[static_cast<std::size_t>(i)].Name.str() == key) return i;
    }
    return -1;
}

void InterceptIncoming(GameState& state, Frontend& frontend, std::int32_t& count,
                       const TFleet& defender, int type_index, std::int64_t shots,
                       InterceptMode mode) {
    const AircraftType& type = TypeAt(state, type_index);
    shots = std::clamp<std::int64_t>(shots, 0, kMaxShots);
    std::int64_t kills = 0;
    if (mode == InterceptMode::kAircraft) {
        const int stealth = StealthValue(type);
        frontend.ShowBattleMessage("電子戦修正 " + Num(type.ElectronicWarfare) + "ステルス修正 " +
                                   Num(-stealth));
        for (std::int64_t s = 0; s < shots; ++s) {
            if (state.Roll(15) > type.ElectronicWarfare + stealth &&
                state.Roll(6) + 1 >= type.Evasion) {
                ++kills;
            }
        }
    } else {
        for (std::int64_t s = 0; s < shots; ++s) {
            if (state.Roll(6) + 1 >= 5) ++kills;
        }
    }
    kills = std::min<std::int64_t>(kills, std::max(count, 0));
    const bool players = IsPlayersFleet(state, defender);
    if (players) {
        state.InterceptTally[0] += static_cast<std::int32_t>(kills);
        PlayCue(state, frontend, Cue::kDefensiveFire);
        kills += state.Roll(static_cast<int>(kills / 2));
    } else {
        state.InterceptTally[1] += static_cast<std::int32_t>(kills);
        PlayCue(state, frontend, Cue::kDefensiveFire);
    }
    if (kills > 0) PlayCue(state, frontend, Cue::kImpact);
    if (mode == InterceptMode::kAircraft) {
        if (!players) frontend.ShowAircraftModel(type_index);
        frontend.ShowBattleMessage(type.Name + "を" + Num(kills) +
                                   (players ? "機撃墜しました。" : "機撃墜されました。"));
    } else {
        frontend.ShowBattleMessage(type.DisplayName + "を" + Num(kills) + "発阻止しました。");
    }
    count = static_cast<std::int32_t>(std::max<std::int64_t>(std::int64_t{count} - kills, 0));
}

void LaunchFleetMissiles(GameState& state, Frontend& frontend, TAirUnit& salvo, TFleet& target) {
    Attack a;
    a.weapon = Weapon::kSalvo;
    a.record = salvo;
    a.kind = salvo.AttackKind;
    a.salvo_type = FindAircraftType(state, salvo.WeaponKey.str());
    a.label = TypeAt(state, a.salvo_type).DisplayName.str();

    std::array<std::int32_t, 9> requests = salvo.TargetRequest;
    FillAutomaticRequests(requests, salvo.Counts[0], salvo.Counts[1]);
    const int group = GroupToResolve(salvo.TargetGroup, CountShipsByType(state, target));
    if (group == 0) return;
    Resolve(state, frontend, a, target, group, requests);
    if (TargetsInstallations(group)) salvo = a.record;
}

void DeliverAirStrike(GameState& state, Frontend& frontend, const TFleet& attacker,
                      TAirUnit& strike, TFleet& target) {
    Attack a;
    a.weapon = Weapon::kStrike;
    a.record = strike;
    a.kind = strike.AttackKind;
    ChooseStrikeTargets(state, frontend, attacker, a.record, target);

    std::array<std::int32_t, 9> requests = a.record.TargetRequest;
    FillAutomaticRequests(requests, a.record.Counts[1], a.record.Counts[2]);
    const int group = GroupToResolve(a.record.TargetGroup, CountShipsByType(state, target));
    if (group == 0) return;

    const AircraftType& attack_type = TypeAt(state, SlotType(a, 1));
    if (a.kind == 0) {
        // Missile-armed aircraft fire from outside the screen: the slots
        // count missiles from here on.
        for (int slot = 0; slot < 2; ++slot) {
            auto& n = a.record.Counts[static_cast<std::size_t>(slot)];
            n = static_cast<std::int32_t>(std::clamp<std::int64_t>(
                std::int64_t{n} * TypeAt(state, SlotType(a, slot)).MissilesPerAircraft, 0,
                INT32_MAX));
        }
        a.label = attack_type.DisplayName.str();
    } else {
        a.label = attack_type.OrdnanceName.str();
    }
    Resolve(state, frontend, a, target, group, requests);
    // Only bombers fly into the defence; their losses come home with the record.
    if (a.kind == 1) strike = a.record;
}

}  // namespace velmora
