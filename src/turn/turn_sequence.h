// The turn end: every step between two player turns, in its fixed order,
// with the clock, the turn-end housekeeping and the window caption.
#pragma once

#include <string>
#include <string_view>

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

// Runs the whole turn end; returns false and does nothing when a turn end is
// already running (GameState::TurnEndRunning).
bool EndTurn(GameState&, Frontend&);

// "払暁", "昼間", "薄暮" or "夜間".
std::string_view DayPhase(int hour);

// "Velmora 1ターン 1時 夜間 X:0 Y:0"
std::string CaptionText(const GameState&);
void UpdateCaption(const GameState&, Frontend&);

// Hour and turn advance; markers refresh at 18, winds veer every six hours,
// storms drift every second hour, and the last turn brings the victory.
void AdvanceClock(GameState&, Frontend&);

// Fleets left without ships leave play.
void RetireEmptyFleets(GameState&);

// Detection decay and the per-turn resets of fleets and contact markers.
void FleetHousekeeping(GameState&);

// Destroyed installations whose capture turn has come are captured; those
// restored meanwhile are not.
void BaseCaptureCheck(GameState&, Frontend&);

// Every ship draws its suppression afresh.
void RerollSuppression(GameState&);

// From turn 11 on, player fleets at the north edge may retreat and computer
// fleets at the south edge leave.
void RetreatCheck(GameState&, Frontend&);

}  // namespace velmora
