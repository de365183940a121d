#include "map/map_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <type_traits>

#include "orders/map_guides.h"
#include "ui/fonts.h"
#include "ui/map_text.h"

namespace velmora::map {
namespace {

constexpr int kDotsPerMetre96 = 3780;  // 96 dpi

QColor colourOf(std::uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

// GDI boxes name their corners; QPainter wants a size.
QRect boxOf(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

void setPenMode(QPainter& p, PenMode mode) {
    p.setCompositionMode(mode == PenMode::kXor ? QPainter::RasterOp_SourceXorDestination
                                               : QPainter::CompositionMode_SourceOver);
}

QImage makeSymbol(QColor face, QColor rim, bool installation) {
    QImage s(kMapSymbolSize, kMapSymbolSize, QImage::Format_ARGB32_Premultiplied);
    s.fill(Qt::transparent);
    QPainter p(&s);
    p.setPen(rim);
    p.setBrush(face);
    if (installation) {
        // A flag over a square base.
        p.drawRect(1, 8, 13, 6);
        p.drawLine(4, 1, 4, 8);
        p.drawRect(5, 1, 7, 4);
    } else {
        p.drawRect(0, 0, 15, 15);
    }
    return s;
}

QImage makeWaypointSymbol() {
    QImage s(kMapSymbolSize, kMapSymbolSize, QImage::Format_ARGB32_Premultiplied);
    s.fill(Qt::transparent);
    QPainter p(&s);
    p.setPen(QColor(255, 220, 0));
    p.setBrush(QColor(90, 60, 0));
    p.drawEllipse(0, 0, 15, 15);
    return s;
}

SymbolSet buildSymbols() {
    // Dark faces so that the white numbers and letters read on them.
    const QColor ownFace(10, 20, 70), ownRim(170, 230, 255);
    const QColor enemyFace(100, 0, 0), enemyRim(255, 150, 120);
    return {makeSymbol(ownFace, ownRim, false), makeSymbol(enemyFace, enemyRim, false),
            makeSymbol(ownFace, ownRim, true), makeSymbol(enemyFace, enemyRim, true),
            makeWaypointSymbol()};
}

void paint(QPainter& p, const MapSymbol& s) {
    if (s.Index < 0 || s.Index >= kMapSymbolCount) return;
    p.drawImage(s.X, s.Y, mapSymbols()[static_cast<std::size_t>(s.Index)]);
}

void paint(QPainter& p, const MapLabel& l) {
    setPenMode(p, PenMode::kCopy);
    ui::DrawMapText(p, l.X, l.Y, QString::fromStdString(l.Text), colourOf(l.Colour), l.Size);
}

void paint(QPainter& p, const MapPie& pie) {
    setPenMode(p, pie.Mode);
    p.setPen(colourOf(pie.Pen));
    p.setBrush(colourOf(pie.Brush));
    const PieAngles a = AnglesOf(pie);
    p.drawPie(boxOf(pie.Left, pie.Top, pie.Right, pie.Bottom), qRound(a.Start * 16.0),
              qRound(a.Span * 16.0));
}

void paint(QPainter& p, const MapEllipse& e) {
    setPenMode(p, e.Mode);
    p.setPen(colourOf(e.Pen));
    if (e.Filled) {
        p.setBrush(colourOf(e.Brush));
    } else {
        p.setBrush(Qt::NoBrush);
    }
    p.drawEllipse(boxOf(e.Left, e.Top, e.Right, e.Bottom));
}

void paint(QPainter& p, const MapPolyline& l) {
    setPenMode(p, l.Mode);
    p.setPen(colourOf(l.Pen));
    QPolygon points;
    for (const Point& pt : l.Points) points << QPoint(pt.X, pt.Y);
    p.drawPolyline(points);
}

void paint(QPainter& p, const MapCaptionScreen& c) {
    QImage* picture = static_cast<QImage*>(p.device());
    picture->fill(Qt::black);
    QFont font = ui::uiFont(ui::kMincho, kCaptionFontSize);
    p.setFont(font);
    p.setPen(Qt::white);
    const QFontMetrics metrics(font, picture);
    // The em height in pixels, as a point size gives it at 96 dpi.
    const int fontHeight = qRound(kCaptionFontSize * picture->logicalDpiY() / 72.0);
    const Point at = CaptionLinePosition(picture->width(), picture->height(), c.Line, fontHeight);
    p.drawText(at.X, at.Y + metrics.ascent(), QString::fromStdString(c.Line));
}

}  // namespace

const SymbolSet& mapSymbols() {
    static const SymbolSet symbols = buildSymbols();
    return symbols;
}

QImage makeMapPicture(int width, int height, QColor fill) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.setDotsPerMeterX(kDotsPerMetre96);
    picture.setDotsPerMeterY(kDotsPerMetre96);
    picture.fill(fill);
    return picture;
}

void paintDrawing(QImage& picture, const MapDrawing& drawing) {
    QPainter p(&picture);
    std::visit([&p](const auto& item) { paint(p, item); }, drawing);
}

void paintDrawings(QImage& picture, const std::vector<MapDrawing>& drawings) {
    for (const MapDrawing& d : drawings) paintDrawing(picture, d);
}

QImage composeBackBuffer(const QImage& mapPicture, const GameState& state) {
    QImage buffer = makeMapPicture(kBackBufferWidth, kBackBufferHeight, Qt::black);
    {
        QPainter p(&buffer);
        p.drawImage(QPoint(0, 0), mapPicture, QRect(0, 0, kBackBufferWidth, kBackBufferHeight));
    }
    // Route lines under the symbols, the selection frame over them.
    paintDrawings(buffer, RouteLines(state));
    paintDrawings(buffer, ComposeMap(state));
    paintDrawings(buffer, SelectionMark(state));
    return buffer;
}

}  // namespace velmora::map
