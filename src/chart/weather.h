// Storm cells and winds.
#pragma once

#include "model/game_state.h"
#include "model/records.h"

namespace velmora {

// Lays out n storm cells spread over the map (at most 23); 0 clears them all.
void SetClouds(GameState&, int n);

// Each of the six regional winds may veer by a random amount.
void VeerWinds(GameState&);

// Every active cell on the map drifts 30 pixels with the wind of its region.
void DriftStorms(GameState&);

// Number of active storm cells closer than 60 pixels to the point.
int StormCount(const GameState&, Point p);

}  // namespace velmora
