#include "combat/damage.h"

#include <algorithm>
#include <limits>

#include "combat/combat_report.h"
#include "model/fleet_ops.h"
#include "model/rounding.h"

namespace velmora {
namespace {

constexpr int kHeavySuppression = 2;
constexpr int kSecondChanceMalus = 20;  // a ship already shaken is easier to suppress
constexpr int kExplosionDie = 28;
constexpr int kExplosionDamageDie = 15;
constexpr int kAttackCategory = 1;  // Counts[1] / HangarCounts[1]: attack aircraft
constexpr std::uint8_t kInstallationDestroyed = 4;
constexpr int kCaptureDelay = 2;
constexpr int kEmptyFleetSpeed = 10000;  // stored as its low byte, as the record holds a byte

int ShipsIn(const TFleet& fleet) {
    return std::clamp(fleet.ShipCount, 0, kShipSlots);
}

std::int32_t Lowered(std::int32_t value, std::int64_t by) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t{value} - by, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

void RollSuppression(GameState& state, Frontend& frontend, const TFleet& fleet, TShip& ship) {
    const int resistance = ship.Suppression == 0 ? ship.SuppressionResistance
                                                 : ship.SuppressionResistance - kSecondChanceMalus;
    if (state.Roll(100) <= resistance) return;
    ship.Suppression = kHeavySuppression;
    if (IsPlayersFleet(state, fleet))
        frontend.ShowBattleMessage(ship.Name + "が重制圧状態になりました。");
}

bool ServicedOrReady(const TAirUnit& unit) {
    return unit.State >= 1 && unit.State <= 4;
}

// Aircraft of every unit that is not destroyed: what an explosion can reach.
std::int64_t AircraftAboard(const TFleet& fleet) {
    std::int64_t total = 0;
    for (const TAirUnit& unit : fleet.AirUnits) {
        if (unit.State >= 6) continue;
        for (std::int32_t c : unit.Counts) total += c;
    }
    return total;
}

// k aircraft burn, spread over every slot in proportion to its count.
void BurnAircraft(GameState& state, Frontend& frontend, TFleet& fleet, std::int64_t total, int k) {
    for (TAirUnit& unit : fleet.AirUnits) {
        for (std::size_t slot = 0; slot < unit.Counts.size() && k > 0; ++slot) {
            std::int32_t& count = unit.Counts[slot];
            std::int64_t n =
                RoundHalfEven(static_cast<double>(count) / static_cast<double>(total) * k);
            n = std::min<std::int64_t>(n, count);
            if (n > 0) {
                frontend.ShowBattleMessage(state.AircraftTypeAt(unit.AircraftTypes[slot]).Name +
                                           "が" + Num(n) + "機誘爆しました。");
            }
            count = Lowered(count, n);
            k -= static_cast<int>(n);
        }
    }
}

// The explosion threshold grows with the share of attack aircraft in the
// hangar among those the carrier may hold.
std::int64_t ExplosionThreshold(const GameState& state, const TFleet& fleet, const TShip& ship) {
    std::int64_t armed = 0;
    for (const TAirUnit& unit : fleet.AirUnits) {
        if (ServicedOrReady(unit)) armed += unit.Counts[kAttackCategory];
    }
    if (armed <= 0) return -1;
    const int carriers = CountShipsByType(state, fleet).Of(kCarrier);
    const std::int64_t average = carriers > 0 ? armed / carriers : 0;
    const std::int64_t aboard = std::min<std::int64_t>(ship.AircraftCapacity, average);
    return static_cast<std::int64_t>(static_cast<double>(fleet.HangarCounts[kAttackCategory]) /
                                     static_cast<double>(armed) * static_cast<double>(aboard));
}

std::int64_t SecondaryExplosions(GameState& state, Frontend& frontend, TFleet& fleet,
                                 const TShip& ship, int hits) {
    std::int64_t extra = 0;
    const std::int64_t threshold = ExplosionThreshold(state, fleet, ship);
    for (int roll = 0; roll <= hits; ++roll) {
        if (state.Roll(kExplosionDie) + 1 >= threshold) continue;
        const std::int64_t total = AircraftAboard(fleet);
        if (total <= 0) continue;
        extra += state.Roll(kExplosionDamageDie);
        PlayCue(state, frontend, Cue::kImpact);
        frontend.ShowBattleMessage(ShipLabel(state, fleet, ship) + "誘爆発生");
        BurnAircraft(state, frontend, fleet, total, state.Roll(8) + 5);
    }
    return extra;
}

void RollFlightDeck(GameState& state, Frontend& frontend, TShip& ship) {
    const int x = state.Roll(10) + 2;
    if (x >= 3 && x <= 5) {
        ship.DeckState = 2;
        frontend.ShowBattleMessage(ship.Name + "が航空機の発艦不能になりました。");
    } else if (x >= 6 && x <= 8) {
        ship.DeckState = 3;
        frontend.ShowBattleMessage(ship.Name + "が航空機の発着艦不能になりました。");
    } else if (x >= 9) {
        ship.DeckState = 1;
        frontend.ShowBattleMessage(ship.Name + "が航空機の着艦不能になりました。");
    }
}

void AppendLoss(LostShipList& list, const TShip& ship) {
    // A full list keeps its first 201 ships; the fleet still loses the ship.
    if (list.Count < 0) list.Count = 0;
    if (list.Count >= kTableSize) return;
    list.Ships[static_cast<std::size_t>(list.Count)] = ship;
    ++list.Count;
}

void SinkShip(GameState& state, Frontend& frontend, TFleet& fleet, int slot) {
    const TShip& ship = fleet.Ships[static_cast<std::size_t>(slot)];
    PlayCue(state, frontend, Cue::kImpact);
    frontend.ShowBattleMessage(ShipLabel(state, fleet, ship) + "が沈没しました。");
    AppendLoss(IsPlayersFleet(state, fleet) ? state.LostShipsPlayer : state.LostShipsComputer,
               ship);
    for (std::size_t c = 0; c < fleet.LossTallies.size(); ++c) {
        fleet.LossTallies[c] = Lowered(fleet.LossTallies[c], -std::int64_t{ship.AircraftAboard[c]});
    }
    RemoveShip(slot, fleet);
}

void DestroyInstallation(GameState& state, Frontend& frontend, const TFleet& fleet, TShip& ship) {
    PlayCue(state, frontend, Cue::kImpact);
    const std::string label = ShipLabel(state, fleet, ship);
    frontend.ShowBattleMessage(
        label + (IsPlayersFleet(state, fleet) ? "が破壊されました。" : "を破壊しました。"));
    ship.DeckState = kInstallationDestroyed;
    ship.CaptureTurn = Lowered(state.Turn, -kCaptureDelay);
}

std::uint8_t SlowestSpeed(const TFleet& fleet) {
    int lowest = kEmptyFleetSpeed;
    for (int i = 0; i < ShipsIn(fleet); ++i) {
        lowest = std::min<int>(lowest, fleet.Ships[static_cast<std::size_t>(i)].Speed);
    }
    return static_cast<std::uint8_t>(lowest & 0xFF);
}

void RaiseTypeSuppression(const GameState& state, TFleet& fleet, const ShipTypeCounts& before,
                          const std::array<double, 9>& sunk) {
    std::array<double, 9> weight = sunk;
    for (int i = 0; i < ShipsIn(fleet); ++i) {
        const TShip& ship = fleet.Ships[static_cast<std::size_t>(i)];
        const int type = state.ShipTypeOf(ship);
        if (type < kCarrier || type > kAntiAircraftSite) continue;
        if (ship.Suppression == 2) weight[static_cast<std::size_t>(type)] += 1.0;
        if (ship.Suppression == 1) weight[static_cast<std::size_t>(type)] += 0.5;
    }
    for (std::size_t t = 0; t < weight.size(); ++t) {
        const double count = before.Of(static_cast<int>(t));
        std::uint8_t level = 0;
        if (count / 3.0 < weight[t]) {
            level = 2;
        } else if (count / 4.0 < weight[t]) {
            level = 1;
        }
        fleet.TypeSuppression[t] = std::max(fleet.TypeSuppression[t], level);
    }
}

}  // namespace

std::int64_t ApplyHitEffects(GameState& state, Frontend& frontend, TFleet& fleet, TShip& ship,
                             int hits, std::int64_t damage) {
    const bool carrier = state.ShipTypeOf(ship) == kCarrier;
    if (hits > 0) RollSuppression(state, frontend, fleet, ship);
    if (carrier) damage += SecondaryExplosions(state, frontend, fleet, ship, hits);
    if (damage > 0 && carrier && IsPlayersFleet(state, fleet))
        RollFlightDeck(state, frontend, ship);
    const auto severity = static_cast<int>(std::clamp<std::int64_t>(
        damage, std::numeric_limits<int>::min() / 2, std::numeric_limits<int>::max() / 2));
    ApplySystemDamage(state, frontend, ship, severity);
    if (IsPlayersFleet(state, fleet)) {
        frontend.ShowBattleMessage(ship.Name + "が" + Num(damage) + "のダメージを受けました。");
    }
    return damage;
}

void ApplySystemDamage(GameState& state, Frontend& frontend, TShip& ship, int severity) {
    if (state.Roll(8) + severity > 7) {
        if (state.Roll(100) > 50) {
            PlayCue(state, frontend, Cue::kImpact);
            const int k = state.Roll(ship.AreaDefence) + 1;
            frontend.ShowBattleMessage("エリアディフェンスに" + Num(k) + "のダメージ");
            ship.AreaDefence = Lowered(ship.AreaDefence, k);
        } else {
            PlayCue(state, frontend, Cue::kImpact);
            const int k = state.Roll(ship.PointDefence) + 1;
            frontend.ShowBattleMessage("ポイントディフェンス" + Num(k) + "のダメージ");
            ship.PointDefence = Lowered(ship.PointDefence, k);
        }
    }
    // The roll comes first: it is drawn for carriers too.
    if (state.Roll(8) + severity > 10 && state.ShipTypeOf(ship) != kCarrier) {
        PlayCue(state, frontend, Cue::kImpact);
        const int k = state.Roll(ship.FireControl / 2) + 1;
        frontend.ShowBattleMessage("射撃指揮装置に被弾" + Num(k) + "のダメージ");
        ship.FireControl = Lowered(ship.FireControl, k);
    }
}

void ResolveLosses(GameState& state, Frontend& frontend, TFleet& fleet,
                   const ShipTypeCounts& before) {
    std::array<double, 9> sunk{};
    fleet.ShipCount = ShipsIn(fleet);
    for (int slot = 0; slot < fleet.ShipCount;) {
        TShip& ship = fleet.Ships[static_cast<std::size_t>(slot)];
        if (ship.Durability > 0) {
            ++slot;
            continue;
        }
        const int type = state.ShipTypeOf(ship);
        if (type >= kGroundBase) {
            DestroyInstallation(state, frontend, fleet, ship);
            ++slot;
            continue;
        }
        if (type >= kCarrier) sunk[static_cast<std::size_t>(type)] += 1.0;
        SinkShip(state, frontend, fleet, slot);  // the next ship moves into this slot
    }
    fleet.Speed = SlowestSpeed(fleet);
    RaiseTypeSuppression(state, fleet, before, sunk);
}

std::string_view DamageWord(const TShip& ship_class, const TShip& ship) {
    const std::int64_t third = ship_class.Durability / 3;
    if (third * 2 < ship.Durability) return "通常";
    if (third < ship.Durability) return "中破";
    return "大破";
}

std::string_view EquipmentWord(std::int32_t class_value, std::int32_t current) {
    if (current == class_value) return "損害なし";
    if (current > 0) return "一部破壊";
    // Damage is not clamped, so a destroyed system may read below 0.
    return "完全破壊";
}

}  // namespace velmora
