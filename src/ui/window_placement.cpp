#include "ui/window_placement.h"

#include <QWidget>

namespace velmora::ui {

QPoint centredPosition(const QRect& main, const QSize& own) {
    // Integer division in C++ truncates toward zero, as wanted.
    return {main.left() + (main.width() - own.width()) / 2,
            main.top() + (main.height() - own.height()) / 2};
}

void centreOver(QWidget* window, QWidget* main) {
    if (window == nullptr || main == nullptr) return;
    const QRect mainFrame = main->frameGeometry();
    const QSize ownSize = window->frameGeometry().size();
    window->move(centredPosition(mainFrame, ownSize));
}

}  // namespace velmora::ui
