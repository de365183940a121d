// Placing dialogs over the main window.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace velmora::ui {

// Top-left corner that centres a window of `own` size over `main`; halves
// are truncated toward zero.
QPoint centredPosition(const QRect& main, const QSize& own);

// Moves `window` so it is centred over `main` (frame geometry); does nothing
// when either is null.
void centreOver(QWidget* window, QWidget* main);

}  // namespace velmora::ui
