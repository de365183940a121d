#include "ui/map_text.h"

#include "ui/fonts.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace velmora::ui {

void DrawMapText(QPainter& painter, int x, int y, const QString& text, const QColor& colour,
                 int points) {
    painter.save();
    const QFont font = uiFont(kMincho, points);
    painter.setFont(font);
    painter.setPen(colour);
    painter.setBrush(Qt::NoBrush);
    painter.setBackgroundMode(Qt::TransparentMode);
    // Text drawn at a point sits on its baseline; move down by the ascent so
    // (x, y) is the top-left corner.
    painter.drawText(QPoint(x, y + QFontMetrics(font, painter.device()).ascent()), text);
    painter.restore();
}

void DrawMapText(QImage& canvas, int x, int y, const QString& text, const QColor& colour,
                 int points) {
    QPainter painter(&canvas);
    DrawMapText(painter, x, y, text, colour, points);
}

}  // namespace velmora::ui
