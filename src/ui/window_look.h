// The common look of the information and target windows: the program's
// font, the panel picture as background, and flat buttons in the colour of
// that picture.
#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <string_view>

class QWidget;

namespace velmora::ui {

class FlatButton;

// The face used where the panel picture cannot be read.
inline const QColor kWindowFace{0x20, 0x30, 0x50};
// The blue of the picture areas.
inline const QColor kPictureBlue{0, 0, 255};

// The engine's UTF-8 text as a Qt string.
inline QString fromEngineText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Gives `window` the font "ＭＳ Ｐゴシック" 9 pt, white text and the panel
// picture stretched over its whole area (it follows the window's size).
void applyWindowLook(QWidget* window);

// Centres `window` over `owner` (as centreOver does), then pulls it back
// inside the screen where it would stick out, so its title bar and buttons
// stay reachable when it is larger than its owner.
void placeOver(QWidget* window, QWidget* owner);

// The button face: the panel picture's pixel at (width − 10, 0).
QColor panelButtonFace();

// Paints every button with the panel's button face.
void colourButtons(const QList<FlatButton*>& buttons);

}  // namespace velmora::ui
