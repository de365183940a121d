#include "ui/window_look.h"

#include <gtest/gtest.h>

#include <QScreen>
#include <QWidget>

namespace velmora::ui {
namespace {

TEST(PlaceOver, CentresOverTheOwnerButKeepsTheWindowOnScreen) {
    const QRect room = QWidget().screen()->availableGeometry();
    QWidget owner;
    owner.setGeometry(room.left(), room.top(), 400, 300);
    QWidget small;
    small.resize(200, 100);
    placeOver(&small, &owner);
    EXPECT_EQ(small.pos() - owner.frameGeometry().topLeft(),
              QPoint((owner.frameGeometry().width() - small.frameGeometry().width()) / 2,
                     (owner.frameGeometry().height() - small.frameGeometry().height()) / 2));

    // Larger than its owner: plain centring would push the title bar off
    // the top of the screen.
    QWidget large;
    large.resize(600, 500);
    placeOver(&large, &owner);
    EXPECT_GE(large.frameGeometry().left(), room.left());
    EXPECT_GE(large.frameGeometry().top(), room.top());
}

}  // namespace
}  // namespace velmora::ui
