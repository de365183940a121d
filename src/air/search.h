// Air search and contact: which sectors the computer searches, and how
// search aircraft raise the detection levels of what they find.
#pragma once

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

inline constexpr int kMaxDetectLevel = 4;
inline constexpr int kSectorPlanningRadius = 1335;
inline constexpr int kDetectTries = 8;
inline constexpr int kShipborneSearchRadius = 150;
inline constexpr int kRadarRadius = 250;
// TargetFleet of a computer fleet that has chosen no target.
inline constexpr int kNoTargetFleet = 9999;

// Turn step: every computer fleet in play points its search at its target,
// or where it last saw one; installations search a fixed half circle.
void SetSearchSectors(GameState& state, Frontend& ui);

// Turn step: every fleet in play searches for the other side's fleets (and
// the player's fleets for one contact marker); installations are always known.
void DetectionStep(GameState& state, Frontend& ui);

// Up to eight tries of observer fleet `observer` against `target` (a fleet of
// FleetTable or a marker of ContactTable).
void DetectTarget(GameState& state, Frontend& ui, int observer, TFleet& target);

// One search test; draws from the game's generator when a test is made.
bool DetectChance(GameState& state, const TFleet& observer, const TFleet& target,
                  int search_radius, int radar_radius);

// Search aircraft the ships carry themselves, by their deck states (0..255).
int ShipborneScouts(const TFleet& fleet);
// True when a ship of the fleet is a mobile fortress.
bool FleetHasFortress(const GameState& state, const TFleet& fleet);

// The "触接" text the player sees when a fleet first finds an enemy.
std::string ContactReport(const GameState& state, const TFleet& observer, const TFleet& target);

}  // namespace velmora
