// Mouse input for the window tests: real press/release events, so the
// widgets react as they do to a person.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

namespace velmora::ui::testing {

inline void sendMouse(QWidget* target, QEvent::Type type, QPoint at) {
    const QPointF local(at);
    const QPointF global(target->mapToGlobal(at));
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, global, Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

inline void clickAt(QWidget* target, QPoint at) {
    sendMouse(target, QEvent::MouseButtonPress, at);
    sendMouse(target, QEvent::MouseButtonRelease, at);
}

inline void doubleClickAt(QWidget* target, QPoint at) {
    clickAt(target, at);
    sendMouse(target, QEvent::MouseButtonDblClick, at);
    sendMouse(target, QEvent::MouseButtonRelease, at);
}

// Closes every open window if a test has not finished with them in time, so
// a window that failed to react fails its test instead of hanging the run.
class HangGuard {
  public:
    explicit HangGuard(int ms = 5000) {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [] {
            ADD_FAILURE() << "a window was still open; closed by the guard";
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible())
                    dialog->reject();
            }
        });
        timer_.start(ms);
    }

  private:
    QTimer timer_;
};

}  // namespace velmora::ui::testing
