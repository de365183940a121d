#include "turn/turn_sequence.h"

#include <algorithm>
#include <cstdint>

#include "air/air_turn.h"
#include "combat/air_strikes.h"
#include "combat/combat_turn.h"
#include "enemy/enemy_turn.h"
#include "model/fleet_ops.h"
#include "chart/movement.h"
#include "turn/turn_events.h"
#include "turn/victory.h"
#include "chart/weather.h"

namespace velmora {
namespace {

constexpr int kFirstRetreatTurn = 11;
constexpr int kRetreatMargin = 20;
constexpr int kCapturePoints = 500;
constexpr std::uint8_t kInstallationDestroyed = 4;
constexpr int kMarkerRefreshHour = 18;

// Clears TurnEndRunning however the turn end leaves.
class TurnEndGuard {
  public:
    explicit TurnEndGuard(GameState& state) : state_(state) { state_.TurnEndRunning = true; }
    ~TurnEndGuard() { state_.TurnEndRunning = false; }
    TurnEndGuard(const TurnEndGuard&) = delete;
    TurnEndGuard& operator=(const TurnEndGuard&) = delete;

  private:
    GameState& state_;
};

int ShipsIn(const TFleet& fleet) {
    return std::clamp(fleet.ShipCount, 0, kShipSlots);
}

void DecayDetection(const GameState& state, TFleet& record) {
    if (record.Active && record.SeenThisTurn == 0 && !FleetHasInstallation(state, record) &&
        record.DetectLevel > 0) {
        --record.DetectLevel;
    }
}

void ResetFleetForTurn(const GameState& state, TFleet& fleet) {
    DecayDetection(state, fleet);
    fleet.TypeSuppression.fill(0);
    fleet.TypeSuppressionTail.fill(0);
    if (fleet.Active) fleet.SeenThisTurn = 0;
    fleet.TurnScratch = 0;
    // An empty fleet keeps what it had: slot 0 holds no ship to read.
    if (ShipsIn(fleet) > 0) fleet.FlagshipWeapon = state.ClassOf(fleet.Ships[0]).WeaponKey;
}

// Y of the jitter is drawn before X, as the marker rules have it.
Point Jittered(GameState& state, Point p) {
    std::int64_t y = std::int64_t{p.Y} + state.Roll(30);
    y -= state.Roll(30);
    std::int64_t x = std::int64_t{p.X} + state.Roll(30);
    x -= state.Roll(30);
    auto keep = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return {keep(x), keep(y)};
}

// Markers go back out around the computer's fleets 12..16, three to a fleet.
void RefreshContactMarkers(GameState& state) {
    int tracked = 12;
    for (int u = 1; u <= 14; ++u) {
        if (u % 3 == 0) tracked = 12 + u / 3;
        const TFleet& fleet = state.Fleet(tracked);
        TFleet& marker = state.ContactTable[static_cast<std::size_t>(u)];
        marker.Active = 1;
        marker.DetectLevel = 0;
        marker.TrackedFleet = static_cast<std::uint8_t>(tracked);
        marker.Side = kComputerSideValue;
        marker.Position = Jittered(state, fleet.Position);
        marker.Destination = Jittered(state, fleet.Destination);
    }
}

bool IsWindHour(int hour) {
    return hour == 6 || hour == 12 || hour == 18 || hour == 24;
}

void CaptureOrRelease(GameState& state, const TFleet& fleet, TShip& ship, Frontend& frontend) {
    if (ship.DeckState == kInstallationDestroyed) {
        if (ship.CaptureTurn != state.Turn) return;
        frontend.MessageOk("基地制圧成功", ship.Name + "の制圧に成功しました。");
        if (fleet.Side == state.PlayerSide) {
            state.ComputerScore += kCapturePoints;
        } else {
            state.PlayerScore += kCapturePoints;
        }
        return;
    }
    frontend.MessageOk("基地制圧失敗", ship.Name + "の制圧に失敗しました。");
    ship.CaptureTurn = -1;
}

}  // namespace

bool EndTurn(GameState& state, Frontend& frontend) {
    if (state.TurnEndRunning) return false;
    TurnEndGuard guard(state);

    frontend.SetTurnEndEnabled(false);
    ComputerFleetOrders(state, frontend);
    MoveFleets(state);
    SetSearchSectors(state, frontend);
    ComputerAirOperations(state, frontend);
    ResolveAirStrikes(state, frontend);
    ResolveSurfaceEncounters(state, frontend);
    RetireEmptyFleets(state);
    RecoverAircraft(state, frontend);
    AdvanceAirUnits(state, frontend);
    DetectionStep(state, frontend);
    FleetHousekeeping(state);
    LandingStep(state, frontend);
    GroundCombatStep(state, frontend);
    BaseCaptureCheck(state, frontend);
    DamageControlStep(state, frontend);
    RerollSuppression(state);
    frontend.RedrawMap();
    AdvanceClock(state, frontend);
    RunTurnEvents(state, frontend);
    RetreatCheck(state, frontend);
    frontend.SetTurnEndEnabled(true);
    UpdateCaption(state, frontend);
    return true;
}

std::string_view DayPhase(int hour) {
    if (hour == 5) return "払暁";
    if (hour == 19) return "薄暮";
    if (hour < 6 || hour > 18) return "夜間";
    return "昼間";
}

std::string CaptionText(const GameState& state) {
    return "Velmora " + std::to_string(state.Turn) + "ターン " + std::to_string(state.Hour) +
           "時 " + std::string(DayPhase(state.Hour)) + " X:" + std::to_string(state.MouseX) +
           " Y:" + std::to_string(state.MouseY);
}

void UpdateCaption(const GameState& state, Frontend& frontend) {
    frontend.SetCaption(CaptionText(state));
}

void AdvanceClock(GameState& state, Frontend& frontend) {
    ++state.Hour;
    // 24 wraps to 1; an hour off the clock (a broken save) restarts there too.
    if (state.Hour > 24 || state.Hour < 1) state.Hour = 1;
    ++state.Turn;
    if (state.Hour == kMarkerRefreshHour) RefreshContactMarkers(state);
    if (IsWindHour(state.Hour)) VeerWinds(state);
    if (state.Hour % 2 == 0) DriftStorms(state);
    if (state.Turn == state.LastTurn && !state.VictoryShown) {
        state.VictoryShown = true;
        EvaluateVictory(state, frontend);
    }
}

void RetireEmptyFleets(GameState& state) {
    for (TFleet& fleet : state.FleetTable) {
        if (fleet.ShipCount <= 0) fleet.Active = 0;
    }
}

void FleetHousekeeping(GameState& state) {
    for (TFleet& fleet : state.FleetTable) ResetFleetForTurn(state, fleet);
    for (TFleet& marker : state.ContactTable) {
        DecayDetection(state, marker);
        if (marker.Active) marker.SeenThisTurn = 0;
    }
}

void BaseCaptureCheck(GameState& state, Frontend& frontend) {
    for (TFleet& fleet : state.FleetTable) {
        if (!fleet.Active || !FleetHasInstallation(state, fleet)) continue;
        for (int j = 0; j < ShipsIn(fleet); ++j) {
            TShip& ship = fleet.Ships[static_cast<std::size_t>(j)];
            if (ship.CaptureTurn >= state.Turn) CaptureOrRelease(state, fleet, ship, frontend);
        }
    }
}

void RerollSuppression(GameState& state) {
    for (TFleet& fleet : state.FleetTable) {
        for (int j = 0; j < ShipsIn(fleet); ++j) {
            fleet.Ships[static_cast<std::size_t>(j)].Suppression = state.Roll(100) >= 80 ? 1 : 0;
        }
    }
}

void RetreatCheck(GameState& state, Frontend& frontend) {
    if (state.Turn < kFirstRetreatTurn) return;
    for (TFleet& fleet : state.FleetTable) {
        if (!fleet.Active) continue;
        if (fleet.Side == state.PlayerSide) {
            if (fleet.Position.Y < kRetreatMargin &&
                frontend.MessageAsk("撤退確認", fleet.Name + "が撤退しますか？", "はい",
                                    "いいえ")) {
                fleet.Active = 0;
            }
        } else if (fleet.Position.Y > kMapHeight - kRetreatMargin) {
            fleet.Active = 0;
        }
    }
}

}  // namespace velmora
