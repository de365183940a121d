// Map geometry shared by the whole program: distances, polar offsets,
// straight steps, compass sectors and the land-on-line test.
#pragma once

#include "model/game_state.h"
#include "model/records.h"

namespace velmora {

// Euclidean distance after clamping each coordinate: below 0 counts as 0,
// above 800 as 900 (so far-off points read as farther than they are).
double MapDistance(Point p, Point q);

// The point at the given compass bearing (0 up the map, 90 to the right) and
// distance, rounded half to even.
Point PolarOffset(int x, int y, double bearing_degrees, double distance);

// The point `length` along the line from (x0, y0) to (x1, y1), truncated
// toward zero; the start point itself when both points are equal.
Point StepToward(int x0, int y0, int x1, int y1, double length);

inline constexpr int kNoSector = 8;

// Compass sector 0..7 of `to` seen from `from`, clockwise from straight up;
// kNoSector when `to` lies beyond the radius or on no sector.
int SectorOf(Point from, Point to, double radius);

inline constexpr int kLandOnLine = 200;

// kLandOnLine when the pixel walk from (x0, y0) to (x1, y1) meets land, else 0.
// A walk starting on an odd row starts 16 pixels to the right.
int LandOnLine(const GameState&, int x0, int y0, int x1, int y1);

// True when the point lies on the map picture (edges included).
bool OnMapPicture(Point p);

}  // namespace velmora
