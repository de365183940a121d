#include "ui/window_placement.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

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

void placeOnScreen(QWidget* window, QPoint topLeft) {
    if (window == nullptr) return;
    const QScreen* screen = window->screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        const QSize own = window->frameGeometry().size();
        topLeft.setX(std::max(area.left(), std::min(topLeft.x(), area.right() + 1 - own.width())));
        topLeft.setY(std::max(area.top(), std::min(topLeft.y(), area.bottom() + 1 - own.height())));
    }
    window->move(topLeft);
}

void waitUntilExposed(QWidget* window) {
    constexpr int kLimitMs = 3000;
    constexpr int kStepMs = 10;
    QPointer<QWidget> alive(window);
    QElapsedTimer clock;
    clock.start();
    while (alive && alive->isVisible() && alive->windowHandle() != nullptr &&
           !alive->windowHandle()->isExposed() && clock.elapsed() < kLimitMs) {
        QEventLoop loop;
        QTimer::singleShot(kStepMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

}  // namespace velmora::ui
