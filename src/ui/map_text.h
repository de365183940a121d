// Labels written onto the map picture.
#pragma once

#include <QColor>
#include <QString>

class QImage;
class QPainter;

namespace velmora::ui {

// Writes `text` in "ＭＳ 明朝" of `points` size and `colour`, with no
// background, its top-left corner at (x, y).
void DrawMapText(QPainter& painter, int x, int y, const QString& text, const QColor& colour,
                 int points);
void DrawMapText(QImage& canvas, int x, int y, const QString& text, const QColor& colour,
                 int points);

}  // namespace velmora::ui
