#include "view3d/pure/viewer_logic.h"

#include <cmath>

#include "model/fleet_ops.h"
#include "model/labels.h"
#include "model/rounding.h"

namespace velmora::view3d {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kShipTypes = 8;
constexpr int kTypeBase = 6;
constexpr int kRingRadius = 60;
constexpr int kTreeFleetNodes = 11;
constexpr int kNoAircraft = 255;

const TShip* ClassOf(const GameState& state, const TShip& ship) {
    if (ship.ClassIndex < 0 || ship.ClassIndex >= kTableSize) return nullptr;
    return &state.ShipClassTable[static_cast<std::size_t>(ship.ClassIndex)];
}

const TFleet* FleetAt(const GameState& state, int fleet) {
    if (fleet < 0 || fleet >= kFleetCount) return nullptr;
    return &state.FleetTable[static_cast<std::size_t>(fleet)];
}

int ShipCountOf(const TFleet& fleet) {
    return std::clamp(fleet.ShipCount, 0, kShipSlots);
}

std::string Num(long long v) {
    return std::to_string(v);
}

std::string ClassWord(const TShip& c) {
    return c.Name.str() + "型" + std::string(LabelAt(ShipTypeLabels, c.ShipType()));
}

}  // namespace

int AdvanceViewSpin(int spin) {
    spin += 5;
    return spin > 360 ? 0 : spin;
}

int RingStep(int count) {
    return count > 0 ? static_cast<int>(RoundHalfEven(360.0 / count)) : 0;
}

ScreenPoint RotatedPolarPoint(int cx, int cy, int angle, int radius, int spin) {
    const double theta = spin * kPi / 180 - kPi / 2 + angle * kPi / 180;
    return {cx + static_cast<int>(RoundHalfEven(radius * std::cos(theta))),
            cy + static_cast<int>(RoundHalfEven(radius * std::sin(theta)))};
}

std::vector<RingPlacement> FleetRingPlacements(const GameState& state, const TFleet& fleet,
                                               int spin, int imageWidth, int imageHeight) {
    std::vector<std::vector<int>> byType(kShipTypes + 1);
    for (int s = 0; s < ShipCountOf(fleet); ++s) {
        const TShip* c = ClassOf(state, fleet.Ships[static_cast<std::size_t>(s)]);
        if (c == nullptr) continue;
        const int type = c->ShipType();
        if (type >= 1 && type <= kShipTypes) byType[static_cast<std::size_t>(type)].push_back(s);
    }
    const int cx = (imageWidth - 50) / 2;
    const int cy = imageHeight / 2;
    std::vector<RingPlacement> out;
    for (int k = 1; k <= kShipTypes; ++k) {
        const auto& slots = byType[static_cast<std::size_t>(k)];
        const int n = static_cast<int>(slots.size());
        if (n == 0) continue;
        const int step = RingStep(n);
        const int radius = k == kTypeBase ? 0 : kRingRadius * k;
        for (int j = 0; j < n; ++j) {
            const ScreenPoint p = RotatedPolarPoint(cx, cy, step * j, radius, spin);
            out.push_back(
                {slots[static_cast<std::size_t>(j)],
                 {static_cast<float>(p.x - 400), -100.0f, static_cast<float>(p.y + 500)}});
        }
    }
    return out;
}

float ModelTurnRadians(long long milliseconds) {
    const double turn = static_cast<double>(milliseconds % 9000) / 9000.0;
    const long long step = static_cast<long long>(RoundHalfEven(turn * 4096)) % 4096;
    return static_cast<float>(step * 2 * kPi / 4096);
}

std::string DamageWord(const TShip& ship, const TShip& shipClass) {
    const int full = shipClass.Durability;
    const int now = ship.Durability;
    if (full / 3 * 2 < now) return "通常";
    if (full / 3 < now) return "中破";
    return "大破";
}

std::string EquipmentWord(int classValue, int value) {
    if (value == classValue) return "損害なし";
    if (value > 0) return "一部破壊";
    if (value == 0) return "完全破壊";
    return {};
}

std::string ShipModelFile(const GameState& state, int classIndex) {
    if (classIndex < 0 || classIndex >= kTableSize) return {};
    return state.ShipClassTable[static_cast<std::size_t>(classIndex)].ModelFile.str();
}

std::string AircraftModelFile(const GameState& state, int type) {
    if (type < 0 || type >= kTableSize) return {};
    return state.AircraftTypeTable[static_cast<std::size_t>(type)].AircraftModelFile.str();
}

namespace {

void AddFleet(FleetTree& tree, int& position, int fleet, std::string text,
              std::vector<std::string> ships) {
    FleetTreeFleet node{fleet, position, std::move(text), std::move(ships)};
    position += 1 + static_cast<int>(node.ships.size());
    tree.fleets.push_back(std::move(node));
}

}  // namespace

FleetTree OwnFleetTree(const GameState& state) {
    FleetTree tree;
    tree.own = true;
    int position = 0;
    for (int i = 0; i < kFleetCount; ++i) {
        const TFleet& f = state.FleetTable[static_cast<std::size_t>(i)];
        if (!f.Active || f.Side != state.PlayerSide) continue;
        std::vector<std::string> ships;
        for (int s = 0; s < ShipCountOf(f); ++s)
            ships.push_back(f.Ships[static_cast<std::size_t>(s)].Name.str());
        AddFleet(tree, position, i,
                 f.Name.str() + " " + f.Commander.str() + "指揮 速力" + Num(f.Speed),
                 std::move(ships));
    }
    return tree;
}

FleetTree DetailFleetTree(const GameState& state, int fleet) {
    FleetTree tree;
    tree.own = false;
    const TFleet* f = FleetAt(state, fleet);
    if (f == nullptr) return tree;
    std::vector<std::string> ships;
    for (int s = 0; s < ShipCountOf(*f); ++s) {
        const TShip& ship = f->Ships[static_cast<std::size_t>(s)];
        const TShip* c = ClassOf(state, ship);
        ships.push_back(c ? c->Name.str() + " " + DamageWord(ship, *c) : std::string());
    }
    int position = 0;
    AddFleet(tree, position, fleet, f->Designation.str(), std::move(ships));
    return tree;
}

std::optional<int> FleetAtNode(const FleetTree& tree, int position) {
    for (std::size_t i = 0; i < tree.fleets.size() && i < kTreeFleetNodes; ++i) {
        if (tree.fleets[i].position == position) return tree.fleets[i].fleet;
    }
    return std::nullopt;
}

std::optional<ShipRef> ShipAtNode(const FleetTree& tree, int position) {
    for (std::size_t i = 0; i < tree.fleets.size(); ++i) {
        const FleetTreeFleet& g = tree.fleets[i];
        const int next = i + 1 < tree.fleets.size() ? tree.fleets[i + 1].position : 1000;
        if (g.position < position && position < next) {
            const int slot = position - g.position - 1;
            if (slot >= static_cast<int>(g.ships.size())) return std::nullopt;
            return ShipRef{g.fleet, slot};
        }
    }
    return std::nullopt;
}

std::vector<StripLine> ShipStripLines(const GameState& state, int fleet, int slot, bool own) {
    const TFleet* f = FleetAt(state, fleet);
    if (f == nullptr || slot < 0 || slot >= ShipCountOf(*f)) return {};
    const TShip& s = f->Ships[static_cast<std::size_t>(slot)];
    static const TShip kNoClass{};
    const TShip* cp = ClassOf(state, s);
    const TShip& c = cp ? *cp : kNoClass;
    const int mySide = f->Side;
    const int otherSide = OtherSide(state, f->Side);
    auto landing = [&](int side) {
        return Num(side >= 0 && side < 2 ? f->LandingPoints[static_cast<std::size_t>(side)] : 0);
    };
    const std::string deck(LabelAt(DeckStateLabels, s.DeckState));
    if (own) {
        return {
            {"艦名", s.Name.str()},
            {"艦型", ClassWord(c)},
            {"耐久力", Num(s.Durability)},
            {"搭載機数", Num(s.AircraftCapacity)},
            {"エリアディフェンス", Num(s.AreaDefence)},
            {"ポイントディフェンス", Num(s.PointDefence)},
            {"速力", Num(s.Speed)},
            {"索敵機", Num(s.ReconAircraft)},
            {"物資", Num(s.Supplies)},
            {"状態", deck},
            {"射撃力", Num(s.FireControl)},
            {"電子戦力", Num(s.ElectronicWarfare) + "/" + Num(s.ElectronicWarfareNow)},
            {"対潜攻撃力哨戒", Num(s.AswAttackPatrol)},
            {"対潜攻撃力移動", Num(s.AswAttackMoving)},
            {"対潜センサー", Num(c.AswSensor)},
            {"データリンク", s.Loaded ? "可" : "不可"},
            {"主砲", Num(c.MainGun)},
            {"主砲射程", Num(c.MainGunRange)},
            {"甲板待機数", Num(c.DeckStandby)},
            {"混乱度", Num(c.SuppressionResistance)},
            {"ステルス", s.ClassCode.str()},
            {"対艦ミサイル", c.WeaponKey.str()},
            {"舷側防御力", Num(c.SideArmour)},
            {"水平防御力", Num(c.DeckArmour)},
            {"対艦ミサイル力", Num(c.MissileLoad)},
            {"自軍側揚陸ポイント", landing(mySide)},
            {"敵軍側揚陸ポイント", landing(otherSide)},
        };
    }
    // What search cannot tell is shown blank rather than left over from an
    // earlier strip.
    return {
        {"艦名", "不明"},
        {"艦型", ClassWord(c)},
        {"耐久力", DamageWord(s, c)},
        {"搭載機数", Num(s.AircraftCapacity)},
        {"エリアディフェンス", EquipmentWord(c.AreaDefence, s.AreaDefence)},
        {"ポイントディフェンス", EquipmentWord(c.PointDefence, s.PointDefence)},
        {"速力", Num(s.Speed)},
        {"索敵機", Num(s.ReconAircraft)},
        {"物資", Num(s.Supplies)},
        {"状態", deck},
        {"射撃力", Num(s.FireControl)},
        {"電子戦力", ""},
        {"対潜攻撃力哨戒", ""},
        {"対潜攻撃力移動", ""},
        {"対潜センサー", ""},
        {"データリンク", ""},
        {"主砲", Num(c.MainGun)},
        {"主砲射程", Num(c.MainGunRange)},
        {"甲板待機数", Num(c.DeckStandby)},
        {"混乱度", ""},
        {"ステルス", ""},
        {"対艦ミサイル", c.WeaponKey.str()},
        {"舷側防御力", Num(c.SideArmour)},
        {"水平防御力", Num(c.DeckArmour)},
        {"対艦ミサイル力", Num(c.MissileLoad)},
        {"自軍側揚陸ポイント", landing(otherSide)},
        {"敵軍側揚陸ポイント", landing(mySide)},
    };
}

std::vector<int> StripAircraftTypes(const GameState& state, int fleet, int slot, bool own) {
    std::vector<int> types(3, kNoAircraft);
    const TFleet* f = FleetAt(state, fleet);
    if (f == nullptr || slot < 0 || slot >= ShipCountOf(*f)) return types;
    for (std::size_t i = 0; i < 3; ++i) {
        types[i] =
            own ? f->AirTypes[i] : f->Ships[static_cast<std::size_t>(slot)].AircraftTypesAboard[i];
    }
    return types;
}

std::vector<StripLine> AircraftStripLines(const GameState& state, int type) {
    if (type < 0 || type >= kTableSize) return {};
    const AircraftType& a = state.AircraftTypeTable[static_cast<std::size_t>(type)];
    return {
        {"機種名", a.Name.str()},
        {"攻撃力", Num(a.AttackPower)},
        {"防御力", Num(a.Evasion)},
        {"爆撃命中値", Num(a.BombAccuracy)},
        {"爆撃力", Num(a.BombPower)},
        {"雷撃命中値", Num(a.TorpedoAccuracy)},
        {"雷撃力", Num(a.TorpedoPower)},
        {"対空ミサイル", a.TypeText1.str()},
        {"対艦ミサイル", a.DisplayName.str()},
        {"ステルス", a.StealthClass.str()},
        {"電子戦力", Num(a.ElectronicWarfare)},
        {"対潜力", Num(a.AswPower)},
        {"対潜センサー", Num(a.AswSensor)},
    };
}

std::string AircraftButtonCaption(const GameState& state, int type) {
    if (type < 0 || type >= kTableSize || type == kNoAircraft) return {};
    return state.AircraftTypeTable[static_cast<std::size_t>(type)].Name.str();
}

}  // namespace velmora::view3d
