#include "combat/surface_encounter.h"

#include <algorithm>
#include <climits>

#include "chart/geometry.h"
#include "combat/attack_targets.h"
#include "combat/battle_stage.h"
#include "combat/fleet_totals.h"
#include "combat/missile_attack.h"
#include "model/fleet_ops.h"
#include "model/labels.h"

namespace velmora {
namespace {

constexpr std::string_view kSalvoCaption = "ミサイル攻撃";
constexpr int kFullyIdentified = 4;

int ShipsIn(const TFleet& fleet) { return std::clamp(fleet.ShipCount, 0, kShipSlots); }

bool Meet(const GameState& state, int i, int j) {
    const TFleet& a = state.Fleet(i);
    const TFleet& b = state.Fleet(j);
    return j != i && a.EngagedFleet != j && b.EngagedFleet != i && b.Active != 0 &&
           a.Side != b.Side && MapDistance(a.Position, b.Position) <= kEncounterReach &&
           TotalDurability(a) > 0 && TotalDurability(b) > 0;
}

// The player's guns aim at the enemy's first ship.
void AimGuns(TFleet& player, const TFleet& enemy) {
    if (ShipsIn(enemy) == 0) return;
    const std::string target = enemy.Ships[0].Name.str();
    for (int s = 0; s < ShipsIn(player); ++s) {
        TShip& ship = player.Ships[static_cast<std::size_t>(s)];
        if (ship.MainGun > 0) ship.MainGunTarget = target;
        if (ship.SecondaryGun > 0) ship.SecondaryGunTarget = target;
    }
}

void Announce(GameState& state, Frontend& ui, TFleet& player, TFleet& enemy,
              bool player_found_first) {
    const std::string designation(TakeDesignation(state));
    enemy.Designation = designation;
    ui.ShowBattleMessage("敵艦隊と遭遇");
    ui.ShowBattleMessage("この敵艦隊を" + designation + "となずけます");
    if (player_found_first) {
        ui.ShowBattleMessage(player.Name + "が敵艦隊" + designation + "を攻撃");
    } else {
        ui.ShowBattleMessage(designation + "が" + player.Name + "を攻撃");
    }
}

int AttackKindAgainst(const GameState& state, const TFleet& target) {
    return FleetHasInstallation(state, target) ? 1 : 0;
}

void PlayerSalvo(GameState& state, Frontend& ui, TFleet& player, TFleet& enemy) {
    PrepareFleetSalvo(player);
    player.MissileSalvo.TargetGroup = 0;
    player.MissileSalvo.AttackKind = AttackKindAgainst(state, enemy);
    ui.ChooseTargetShips(player.MissileSalvo, kSalvoCaption);
    LaunchFleetMissiles(state, ui, player.MissileSalvo, enemy);
}

// Prepared from the ships the player's salvo left afloat.
void ComputerSalvo(GameState& state, Frontend& ui, int player_index, TFleet& enemy) {
    TFleet& player = state.Fleet(player_index);
    PrepareFleetSalvo(enemy);
    enemy.MissileSalvo.AttackKind = AttackKindAgainst(state, player);
    // The choice works on a copy aimed at this player fleet; the computer's
    // own plans stay as they were.
    TFleet chooser = enemy;
    chooser.TargetFleet = player_index;
    double factor = 1.0;
    ChooseAttackTargets(state, chooser, player, enemy.MissileSalvo, factor, 0,
                        enemy.MissileSalvo.Counts[1]);
    ui.ShowBattleMessage(player.Name + "がミサイル攻撃を受けました");
    LaunchFleetMissiles(state, ui, enemy.MissileSalvo, player);
}

void Encounter(GameState& state, Frontend& ui, int i, int j, bool& view_open) {
    const bool player_is_i = state.Fleet(i).Side == state.PlayerSide;
    const int p = player_is_i ? i : j;
    const int e = player_is_i ? j : i;
    TFleet& player = state.Fleet(p);
    TFleet& enemy = state.Fleet(e);

    if (!view_open) {
        ui.ShowBattleFleetView(e);
        view_open = true;
    }
    AimGuns(player, enemy);
    Announce(state, ui, player, enemy, player_is_i);
    player.DetectLevel = kFullyIdentified;
    enemy.DetectLevel = kFullyIdentified;
    player.EngagedFleet = e;
    enemy.EngagedFleet = p;

    PlayerSalvo(state, ui, player, enemy);
    ComputerSalvo(state, ui, p, enemy);
    // Each salvo ends with the loss pass over the fleet it struck, so the
    // sunk ships are gone and destroyed installations marked by now.
}

}  // namespace

void PrepareFleetSalvo(TFleet& fleet) {
    std::int64_t missiles = 0;
    for (int s = 0; s < ShipsIn(fleet); ++s)
        missiles += fleet.Ships[static_cast<std::size_t>(s)].MissileLoad;
    fleet.MissileSalvo.Counts[1] =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(missiles, 0, INT32_MAX));
    if (ShipsIn(fleet) > 0) {
        fleet.MissileSalvo.SalvoModel = fleet.Ships[0].ModelName;
        fleet.MissileSalvo.SalvoModel2 = fleet.Ships[0].ModelName2;
    }
}

void ResolveSurfaceEncounters(GameState& state, Frontend& ui) {
    ui.SetBattleCaption(kSurfaceBattleCaption);
    bool view_open = false;
    for (int i = 0; i < kFleetCount; ++i) {
        if (state.Fleet(i).Active == 0) continue;
        const bool view_was_open = view_open;
        for (int j = 0; j < kFleetCount; ++j) {
            if (Meet(state, i, j)) Encounter(state, ui, i, j, view_open);
        }
        // The view opened for this fleet's encounters closes once.
        if (view_open && !view_was_open) ui.EndModelView();
    }
    for (TFleet& fleet : state.FleetTable) {
        if (fleet.Active != 0) fleet.EngagedFleet = kNotEngaged;
    }
}

}  // namespace velmora
