// The common look of the small information windows: the program's font,
// a plain dark face, and flat buttons in the colour of the background.
#pragma once

#include <QColor>
#include <QList>

class QWidget;

namespace velmora::ui {

class FlatButton;

// The face the windows use while they have no background picture of their own.
inline const QColor kWindowFace{0x20, 0x30, 0x50};
// The blue of the picture areas.
inline const QColor kPictureBlue{0, 0, 255};

// Gives `window` the font "ＭＳ Ｐゴシック" 9 pt, the dark face and white text.
void applyWindowLook(QWidget* window);

// Paints every button with the window's face colour.
void colourButtons(const QList<FlatButton*>& buttons, const QColor& face = kWindowFace);

}  // namespace velmora::ui
