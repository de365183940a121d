#include "ui/flat_button.h"

#include <QPainter>
#include <QPaintEvent>

namespace velmora::ui {

FlatButton::FlatButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent), face_(QColor(0x40, 0x58, 0x78)) {
    setFlat(true);
    setFocusPolicy(Qt::StrongFocus);
}

void FlatButton::setFaceColour(const QColor& colour) {
    face_ = colour;
    update();
}

void FlatButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QColor face = face_;
    if (!isEnabled()) {
        face = face.darker(130);
    } else if (isDown()) {
        face = face.darker(120);
    } else if (underMouse()) {
        face = face.lighter(115);
    }
    const QRect box = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(box, face);
    painter.setPen(face.lighter(150));
    painter.drawLine(box.topLeft(), box.topRight());
    painter.drawLine(box.topLeft(), box.bottomLeft());
    painter.setPen(face.darker(170));
    painter.drawLine(box.bottomLeft(), box.bottomRight());
    painter.drawLine(box.topRight(), box.bottomRight());
    if (hasFocus()) {
        painter.setPen(QPen(face.lighter(180), 1, Qt::DotLine));
        painter.drawRect(box.adjusted(2, 2, -2, -2));
    }
    // Dark faces get white captions, light faces black ones.
    const bool dark = face.lightness() < 128;
    QColor ink = dark ? QColor(Qt::white) : QColor(Qt::black);
    if (!isEnabled()) ink = QColor(Qt::gray);
    painter.setPen(ink);
    painter.setFont(font());
    const QPoint shift = isDown() ? QPoint(1, 1) : QPoint(0, 0);
    painter.drawText(rect().translated(shift), Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

}  // namespace velmora::ui
