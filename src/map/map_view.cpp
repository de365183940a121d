#include "map/map_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "files/picture.h"
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
    // The set-up decoded this picture with the same reader and refused it
    // with a message if it could not be read; black stays for a file
    // changed since.
    mapPicture_ = {};
    if (auto picture = ReadPictureFile(mapPicturePath_, kScenarioPictureLimits)) {
        mapPicture_ = QImage(picture->rgb.data(), picture->width, picture->height,
                             picture->width * 3, QImage::Format_RGB888)
                          .convertToFormat(QImage::Format_RGB32);
    }
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
