#include "orders/fleet_info.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/fleet_ops.h"
#include "model/labels.h"
#include "model/rounding.h"

namespace velmora {

namespace {

bool ValidFleet(int fleet) {
    return fleet >= 0 && fleet < kFleetCount;
}

int ShipsIn(const TFleet& fleet) {
    return std::clamp(fleet.ShipCount, 0, kShipSlots);
}

bool ValidShip(const GameState& state, int fleet, int slot) {
    return ValidFleet(fleet) && slot >= 0 && slot < ShipsIn(state.Fleet(fleet));
}

bool ValidAircraftType(int type) {
    return type >= 0 && type < kTableSize;
}

std::string FleetNodeText(const TFleet& fleet) {
    return fleet.Name.str() + " " + fleet.Commander.str() + "指揮 速力" +
           std::to_string(static_cast<int>(fleet.Speed));
}

}  // namespace

bool CanShowOwnFleets(const GameState& state) {
    return state.MapMode != 0;
}

std::vector<FleetTreeNode> BuildOwnFleetTree(const GameState& state) {
    std::vector<FleetTreeNode> nodes;
    for (int f = 0; f < kFleetCount; ++f) {
        const TFleet& fleet = state.Fleet(f);
        if (!fleet.Active || fleet.Side != state.PlayerSide) continue;
        nodes.push_back({f, -1, FleetNodeText(fleet)});
        for (int s = 0; s < ShipsIn(fleet); ++s) {
            nodes.push_back({f, s, fleet.Ships[static_cast<std::size_t>(s)].Name.str()});
        }
    }
    return nodes;
}

void FleetTreeSelection::Reset(const std::vector<FleetTreeNode>& nodes) {
    drawn_fleet_ = nodes.empty() ? 0 : nodes.front().Fleet;
    ship_.reset();
}

std::optional<int> FleetTreeSelection::Select(const std::vector<FleetTreeNode>& nodes, int index) {
    ship_.reset();
    if (index < 0 || index >= static_cast<int>(nodes.size())) return std::nullopt;
    const FleetTreeNode& node = nodes[static_cast<std::size_t>(index)];
    if (!node.IsShip()) return std::nullopt;
    ship_ = ShipRef{node.Fleet, node.Slot};
    if (node.Fleet == drawn_fleet_) return std::nullopt;
    drawn_fleet_ = node.Fleet;
    return drawn_fleet_;
}

PixelPoint PolarPoint(int cx, int cy, double angle, double r) {
    const double theta = angle * std::numbers::pi / 180.0 - std::numbers::pi / 2.0;
    return {static_cast<int>(RoundHalfEven(cx + r * std::cos(theta))),
            static_cast<int>(RoundHalfEven(cy + r * std::sin(theta)))};
}

std::vector<FormationMark> FormationLayout(const GameState& state, const TFleet& fleet, int width,
                                           int height) {
    constexpr int kRingSpacing = 65;
    const int cx = (width - 150) / 2;
    const int cy = height / 2;
    std::vector<FormationMark> marks;
    for (int type = kCarrier; type <= kDestroyer; ++type) {
        std::vector<int> slots;
        for (int s = 0; s < ShipsIn(fleet); ++s) {
            if (state.ShipTypeOf(fleet.Ships[static_cast<std::size_t>(s)]) == type)
                slots.push_back(s);
        }
        if (slots.empty()) continue;
        const auto step = RoundHalfEven(360.0 / static_cast<double>(slots.size()));
        for (std::size_t j = 0; j < slots.size(); ++j) {
            const PixelPoint p =
                PolarPoint(cx, cy, static_cast<double>(step * static_cast<std::int64_t>(j)),
                           kRingSpacing * type);
            const TShip& ship = fleet.Ships[static_cast<std::size_t>(slots[j])];
            marks.push_back({slots[j], ship.ClassIndex, type, p.X, p.Y});
        }
    }
    return marks;
}

std::int32_t LandingPointsOf(const TFleet& fleet, int side) {
    if (side < 0 || side >= static_cast<int>(fleet.LandingPoints.size())) return 0;
    return fleet.LandingPoints[static_cast<std::size_t>(side)];
}

std::string_view StanceLabel(std::uint8_t combat_stance) {
    return combat_stance == 1 ? "対潜哨戒" : "対空警戒";
}

std::vector<DataLine> ShipDataLines(const GameState& state, int fleet_index, int slot) {
    if (!ValidShip(state, fleet_index, slot)) return {};
    const TFleet& fleet = state.Fleet(fleet_index);
    const TShip& s = fleet.Ships[static_cast<std::size_t>(slot)];
    const TShip& c = state.ClassOf(s);
    auto n = [](auto v) { return std::to_string(static_cast<long long>(v)); };
    return {
        {"艦名", s.Name.str()},
        {"艦型", c.Name.str() + "型"},
        {"耐久力", n(s.Durability)},
        {"混乱度", n(c.SuppressionResistance)},
        {"甲板待機数", n(c.DeckStandby)},
        {"搭載機数", n(s.AircraftCapacity)},
        {"主砲", n(c.MainGun)},
        {"主砲射程", n(c.MainGunRange)},
        {"副砲", n(c.SecondaryGun)},
        {"副砲射程", n(c.SecondaryGunRange)},
        {"射撃管制力", n(s.FireControl)},
        {"戦闘状態", std::string(StanceLabel(s.CombatStance))},
        {"舷側防御力", n(c.SideArmour)},
        {"水平防御力", n(c.DeckArmour)},
        {"高角砲", n(s.AreaDefence)},
        {"機銃", n(s.PointDefence)},
        {"速力", n(s.Speed)},
        {"物資", n(s.Supplies)},
        {"索敵機", n(s.ReconAircraft)},
        {"雷撃攻撃力", n(c.MissileLoad)},
        {"状態", std::string(LabelAt(DeckStateLabels, s.DeckState))},
        {"自軍側揚陸ポイント", n(LandingPointsOf(fleet, fleet.Side))},
        {"敵軍側揚陸ポイント", n(LandingPointsOf(fleet, OtherSide(state, fleet.Side)))},
        {"電子戦力", n(c.ElectronicWarfare)},
        {"対潜センサー", n(c.AswSensor)},
        {"対潜攻撃力(哨戒)", n(c.AswAttackPatrol)},
        {"対潜攻撃力(移動)", n(c.AswAttackMoving)},
    };
}

std::vector<DataLine> AircraftDataLines(const GameState& state, int type) {
    if (!ValidAircraftType(type)) return {};
    const AircraftType& a = state.AircraftTypeAt(type);
    auto n = [](std::int32_t v) { return std::to_string(v); };
    return {
        {"機種名", a.Name.str()},         {"攻撃力", n(a.AttackPower)},
        {"防御力", n(a.Evasion)},         {"爆撃命中値", n(a.BombAccuracy)},
        {"爆撃力", n(a.BombPower)},       {"雷撃命中値", n(a.TorpedoAccuracy)},
        {"雷撃力", n(a.TorpedoPower)},    {"電子戦力", n(a.ElectronicWarfare)},
        {"対潜センサー", n(a.AswSensor)}, {"対潜力", n(a.AswPower)},
    };
}

std::array<std::optional<int>, 6> AircraftButtonTypes(const GameState& state, int fleet_index,
                                                      int slot) {
    std::array<std::optional<int>, 6> types{};
    if (!ValidShip(state, fleet_index, slot)) return types;
    const TFleet& fleet = state.Fleet(fleet_index);
    const TShip& ship = fleet.Ships[static_cast<std::size_t>(slot)];
    const std::array<std::int32_t, 6> raw{ship.AircraftTypesAboard[0], ship.AircraftTypesAboard[1],
                                          ship.AircraftTypesAboard[2], fleet.AirTypes[4],
                                          fleet.AirTypes[3],           fleet.AirTypes[5]};
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != kNoAircraftType && ValidAircraftType(raw[i])) types[i] = raw[i];
    }
    return types;
}

std::optional<std::string_view> SetShipStance(GameState& state, int fleet, int slot,
                                              ShipStance stance) {
    if (!ValidShip(state, fleet, slot)) return std::nullopt;
    TShip& ship = state.Fleet(fleet).Ships[static_cast<std::size_t>(slot)];
    if (stance == ShipStance::kAntiSubmarinePatrol) {
        ship.CombatStance = 1;
        return "対潜哨戒";
    }
    ship.CombatStance = 0;
    // The label right after the button reads "対空哨戒"; reopening the window
    // shows "対空警戒" (StanceLabel).
    return "対空哨戒";
}

}  // namespace velmora
