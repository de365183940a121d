#include "combat/landings.h"

#include <algorithm>
#include <climits>

#include "air/air_units.h"
#include "chart/geometry.h"
#include "combat/fleet_totals.h"
#include "model/fleet_ops.h"
#include "model/labels.h"

namespace velmora {
namespace {

constexpr int kSuppliesKeptBack = 50;

bool CarriesSupplies(const GameState& state, const TShip& ship) {
    const int type = state.ShipTypeOf(ship);
    return (type == kTransport || type == kDestroyer || type == kCruiser) && ship.Supplies > 0;
}

std::int32_t& PointsOf(TFleet& base, std::uint8_t side) {
    return base.LandingPoints[std::min<std::size_t>(side, base.LandingPoints.size() - 1)];
}

std::int32_t AddClamped(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t{a} + b, INT32_MIN, INT32_MAX));
}

// Hits of `points` rolls of Random(100) + 1 against a limit, in roll order.
int Hits(GameState& state, std::int32_t points, int limit) {
    int hits = 0;
    for (std::int32_t i = 0; i < points; ++i) {
        if (state.Roll(100) + 1 <= limit) ++hits;
    }
    return hits;
}

bool Falls(std::int32_t attacker, std::int32_t defender) {
    if (defender <= 0) return attacker > 0;
    return attacker / defender >= 2;
}

}  // namespace

void LandingStep(GameState& state, Frontend& ui) {
    for (int a = 0; a < kFleetCount; ++a) {
        if (state.Fleet(a).Active == 0) continue;
        for (int b = 0; b < kFleetCount; ++b) {
            const TFleet& base = state.Fleet(b);
            if (base.Active == 0 || !FleetHasInstallation(state, base)) continue;
            if (MapDistance(base.Position, state.Fleet(a).Position) > kLandingReach) continue;
            LandSupplies(state, ui, a, b);
        }
    }
}

void LandSupplies(GameState& state, Frontend& ui, int landing, int base) {
    TFleet& fleet = state.Fleet(landing);
    const int ships = std::clamp(fleet.ShipCount, 0, kShipSlots);
    for (int i = 0; i < ships; ++i) {
        TShip& ship = fleet.Ships[static_cast<std::size_t>(i)];
        if (!CarriesSupplies(state, ship)) continue;
        std::int32_t& points = PointsOf(state.Fleet(base), fleet.Side);
        points = AddClamped(points, ship.Supplies);
        ship.Supplies = ship.Supplies > kSuppliesKeptBack ? ship.Supplies - kSuppliesKeptBack : 0;
        if (fleet.Side == state.ComputerSide) {
            ui.MessageOk("物資揚陸", "沿岸監視員からの報告によると\r敵軍が揚陸を開始しております");
        }
        fleet.DetectLevel = 1;
        fleet.Designation = TakeDesignation(state);
        return;
    }
}

void GroundCombatStep(GameState& state, Frontend& ui) {
    for (int b = 0; b < kFleetCount; ++b) {
        const TFleet& base = state.Fleet(b);
        if (base.Active == 0 || !FleetHasInstallation(state, base)) continue;
        if (base.LandingPoints[0] <= 0 || base.LandingPoints[1] <= 0) continue;
        ui.BattleWindowShow();
        ResolveGroundCombat(state, ui, b);
        ui.BattleWindowClose();
    }
}

void ResolveGroundCombat(GameState& state, Frontend& ui, int b) {
    TFleet& base = state.Fleet(b);
    const std::uint8_t defender_side = base.Side;
    const std::uint8_t attacker_side = OtherSide(state, defender_side);
    std::int32_t& attacker = PointsOf(base, attacker_side);
    std::int32_t& defender = PointsOf(base, defender_side);

    ui.BattleSayText("地上戦解決");
    base.DetectLevel = 4;
    const std::int32_t attacker_start = attacker;
    const int defence = HangarTotal(base) / 4 + TotalDurability(base) / 4;

    const int defender_hits = std::min(Hits(state, defender, defence + 10), attacker_start);
    attacker = std::max(0, attacker - defender_hits);
    ui.BattleSayText("侵攻側揚陸ポイントに" + std::to_string(defender_hits) + "のダメ－ジ" +
                     "残り" + std::to_string(attacker));

    const int attacker_hits = std::min(Hits(state, attacker_start, 10), defender);
    defender = std::max(0, defender - attacker_hits);
    ui.BattleSayText("防御側揚陸ポイントに" + std::to_string(attacker_hits) + "のダメ－ジ" +
                     "残り" + std::to_string(defender));

    if (!Falls(attacker, defender)) return;
    const std::string name = base.ShipCount > 0 ? base.Ships[0].Name.str() : base.Name.str();
    ui.BattleSayText(name + "が陥落しました。");
    if (attacker_side == state.PlayerSide) {
        state.PlayerScore = AddClamped(state.PlayerScore, kGroundCapturePoints);
    } else {
        state.ComputerScore = AddClamped(state.ComputerScore, kGroundCapturePoints);
    }
    defender = 0;
    base.Side = attacker_side;
}

}  // namespace velmora
