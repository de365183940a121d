#include "ui/window_look.h"

#include <QEvent>
#include <QImage>
#include <QPalette>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "ui/compressed_image.h"
#include "ui/flat_button.h"
#include "ui/fonts.h"
#include "ui/window_placement.h"

namespace velmora::ui {

namespace {

const QImage& panelPicture() {
    static const QImage picture = loadBackground(QStringLiteral(":/backgrounds/panel.vci"));
    return picture;
}

// Re-stretches the panel picture whenever the window changes size.
class PanelBackground : public QObject {
  public:
    explicit PanelBackground(QWidget* window) : QObject(window) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
            stretchOver(static_cast<QWidget*>(watched));
        }
        return false;
    }

    static void stretchOver(QWidget* window) {
        QPalette palette = window->palette();
        const QImage& picture = panelPicture();
        if (picture.isNull() || window->size().isEmpty()) {
            palette.setColor(QPalette::Window, kWindowFace);
        } else {
            palette.setBrush(QPalette::Window,
                             QBrush(picture.scaled(window->size(), Qt::IgnoreAspectRatio,
                                                   Qt::SmoothTransformation)));
        }
        window->setPalette(palette);
    }
};

}  // namespace

void applyWindowLook(QWidget* window) {
    window->setFont(uiFont(kPGothic, 9));
    QPalette palette = window->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Base, Qt::white);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    PanelBackground::stretchOver(window);
    new PanelBackground(window);
}

void placeOver(QWidget* window, QWidget* owner) {
    centreOver(window, owner);
    const QScreen* screen = window->screen();
    if (screen == nullptr) return;
    const QRect room = screen->availableGeometry();
    const QRect frame = window->frameGeometry();
    QPoint at = frame.topLeft();
    // The top-left corner wins when the window is larger than the screen.
    at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - frame.width())));
    at.setY(std::max(room.top(), std::min(at.y(), room.bottom() + 1 - frame.height())));
    if (at != frame.topLeft()) window->move(at);
}

QColor panelButtonFace() {
    const QImage& picture = panelPicture();
    const QPoint probe(picture.width() - 10, 0);
    if (!picture.valid(probe)) return kWindowFace.lighter(140);
    return picture.pixelColor(probe);
}

void colourButtons(const QList<FlatButton*>& buttons) {
    const QColor face = panelButtonFace();
    for (FlatButton* button : buttons) button->setFaceColour(face);
}

}  // namespace velmora::ui
