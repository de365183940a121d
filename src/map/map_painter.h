// Paints the engine's map drawings onto pictures with QPainter. The map
// pictures carry 96 dots per inch so that point sizes give the pixel sizes
// the map was designed for.
#pragma once

#include <QImage>
#include <array>
#include <vector>

#include "orders/map_composition.h"

namespace velmora::map {

using SymbolSet = std::array<QImage, kMapSymbolCount>;

// The five 16 x 16 symbols: own fleet, enemy fleet, own installation, enemy
// installation, waypoint.
const SymbolSet& mapSymbols();

// An RGB32 picture of the size at 96 dpi, filled with the colour.
QImage makeMapPicture(int width, int height, QColor fill);

// Draws one item. XOR items use RasterOp_SourceXorDestination, so drawing
// the same item twice restores the picture.
void paintDrawing(QImage& picture, const MapDrawing& drawing);
void paintDrawings(QImage& picture, const std::vector<MapDrawing>& drawings);

// The back buffer: the view rectangle of the map picture with the
// composition of the state drawn over it.
QImage composeBackBuffer(const QImage& mapPicture, const GameState& state);

}  // namespace velmora::map
