#include "ui/battle_window.h"

#include "ui/compressed_image.h"
#include "ui/serif_box.h"
#include "ui/window_look.h"

namespace velmora::ui {

BattleWindow::BattleWindow(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      mainWindow_(mainWindow),
      picture_(new CompressedImageWidget(this)),
      box_(new SerifBox(this)) {
    setWindowTitle(QStringLiteral("戦闘"));
    setFixedSize(kWidth, kHeight);
    QPalette shade = palette();
    shade.setColor(QPalette::Window, Qt::black);
    setPalette(shade);
    setAutoFillBackground(true);

    picture_->loadResource(QStringLiteral(":/backgrounds/battle.vci"));
    picture_->setGeometry(0, 0, kWidth, kBoxTop);

    box_->setGeometry(0, kBoxTop, kWidth, kHeight - kBoxTop);
    box_->setTextWidth(15);
    box_->setTextHeight(15);
    box_->setHorizontalSpace(5);
    box_->setVerticalSpace(5);
    connect(box_, &SerifBox::clicked, box_, &SerifBox::NextPage);
}

void BattleWindow::open() {
    placeOver(this, mainWindow_);
    show();
    raise();
}

void BattleWindow::say(const QString& text) {
    box_->setLines({text});
    box_->Play(false);
}

void BattleWindow::finish() {
    box_->ClearText();
    box_->Stop();
    hide();
}

void BattleWindow::reset() {
    setWindowTitle(QStringLiteral("戦闘"));
    box_->ClearText();
}

}  // namespace velmora::ui
