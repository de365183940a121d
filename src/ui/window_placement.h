// Placing dialogs over the main window.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace velmora::ui {

// The windows are laid out by their outer size, frame included; Qt sizes the
// client area. This is the frame a Windows desktop adds around a client area
// (4 pixels on each side, a 19-pixel caption).
inline constexpr QSize kWindowFrame{8, 27};

// The client size of a window whose outer size is given.
constexpr QSize clientSizeFor(int outerWidth, int outerHeight) {
    return {outerWidth - kWindowFrame.width(), outerHeight - kWindowFrame.height()};
}

// Top-left corner that centres a window of `own` size over `main`; halves
// are truncated toward zero.
QPoint centredPosition(const QRect& main, const QSize& own);

// Moves `window` so it is centred over `main` (frame geometry); does nothing
// when either is null.
void centreOver(QWidget* window, QWidget* main);

// Moves `window` to `topLeft`, pulled back inside the screen's available
// area when it would stick out (the fixed positions assume a tall screen).
void placeOnScreen(QWidget* window, QPoint topLeft);

// Serves the event queue until the shown window is exposed on screen (at
// most a few seconds, for a window system that never says so).
void waitUntilExposed(QWidget* window);

}  // namespace velmora::ui
