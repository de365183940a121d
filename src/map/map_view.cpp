#include "map/map_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "map/map_painter.h"
#include "ui/compressed_image.h"
#include "ui/fonts.h"

namespace velmora::map {
namespace {

QImage titlePicture() {
    QImage title = ui::loadBackground(QStringLiteral(":/backgrounds/title.vci"));
    QImage picture = makeMapPicture(kMapWidth, kMapHeight, QColor(0, 0, 40));
    QPainter p(&picture);
    if (!title.isNull()) {
        p.drawImage(QPoint(0, 0), title);
    } else {
        // Without the stored picture the title still says what this is.
        p.setPen(Qt::white);
        p.setFont(ui::uiFont(ui::kMincho, 36));
        p.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("Velmora"));
    }
    // How to begin, on a dark band along the bottom of the picture.
    const QRect band(0, kMapHeight - 64, kMapWidth, 64);
    p.fillRect(band, QColor(0, 0, 0, 170));
    p.setPen(Qt::white);
    p.setFont(ui::uiFont(ui::kPGothic, 12));
    p.drawText(band, Qt::AlignCenter,
               QStringLiteral("「ゲ－ム」→「新規」(Ctrl+N) でシナリオを選んで始めます\n"
                              "「ゲ－ム」→「ロード」(Alt+1～5、オートセーブは Alt+0) で続きから"));
    return picture;
}

bool integralRatio(qreal ratio) {
    return std::abs(ratio - std::round(ratio)) < 1e-6;
}

}  // namespace

MapView::MapView(const GameState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setFixedSize(kMapWidth, kMapHeight);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    showTitle();
}

void MapView::showTitle() {
    showingTitle_ = true;
    image_ = titlePicture();
    overlay_.Clear();
    painted_ = 0;
    update();
}

void MapView::showBlank() {
    showingTitle_ = false;
    image_ = makeMapPicture(kMapWidth, kMapHeight, Qt::black);
    overlay_.Clear();
    painted_ = 0;
    update();
}

void MapView::loadMapPicture() {
    if (state_.MapPicture == mapPicturePath_ && !mapPicture_.isNull()) return;
    mapPicturePath_ = state_.MapPicture;
    mapPicture_ = QImage(QString::fromStdString(mapPicturePath_));
    if (mapPicture_.isNull())
        mapPicture_ = makeMapPicture(kBackBufferWidth, kBackBufferHeight, Qt::black);
}

void MapView::redraw() {
    showingTitle_ = false;
    loadMapPicture();
    const QImage buffer = composeBackBuffer(mapPicture_, state_);
    image_ = buffer.copy(0, 0, kMapWidth, kMapHeight);
    overlay_.Clear();
    painted_ = 0;
    update();
}

void MapView::flushOverlay() {
    if (painted_ > overlay_.Drawings.size()) painted_ = 0;
    for (; painted_ < overlay_.Drawings.size(); ++painted_) {
        paintDrawing(image_, overlay_.Drawings[painted_]);
    }
    update();
}

void MapView::showCaptionLine(const QString& line) {
    showingTitle_ = false;
    overlay_.Add(MapCaptionScreen{line.toStdString()});
    flushOverlay();
}

void MapView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // Map pixels stay sharp at whole device-pixel ratios; fractional ones
    // are smoothed rather than left uneven.
    if (!integralRatio(devicePixelRatioF())) p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRect(0, 0, kMapWidth, kMapHeight), image_);
}

Point MapView::mapPoint(const QPointF& widgetPos) {
    return {static_cast<int>(std::floor(widgetPos.x())),
            static_cast<int>(std::floor(widgetPos.y()))};
}

void MapView::mousePressEvent(QMouseEvent* event) {
    MouseButton button = MouseButton::kMiddle;
    if (event->button() == Qt::LeftButton) button = MouseButton::kLeft;
    if (event->button() == Qt::RightButton) button = MouseButton::kRight;
    emit pressed(button, mapPoint(event->position()), event->globalPosition().toPoint());
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    emit moved(mapPoint(event->position()));
}

}  // namespace velmora::map
