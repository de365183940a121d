#include "ui/window_look.h"

#include <QEvent>
#include <QImage>
#include <QPalette>
#include <QWidget>

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
    if (window == nullptr) return;
    centreOver(window, owner);
    placeOnScreen(window, window->frameGeometry().topLeft());
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
