#include "ui/window_look.h"

#include <QPalette>
#include <QWidget>

#include "ui/flat_button.h"
#include "ui/fonts.h"

namespace velmora::ui {

void applyWindowLook(QWidget* window) {
    window->setFont(uiFont(kPGothic, 9));
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, kWindowFace);
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Base, Qt::white);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

void colourButtons(const QList<FlatButton*>& buttons, const QColor& face) {
    for (FlatButton* button : buttons) button->setFaceColour(face.lighter(140));
}

}  // namespace velmora::ui
