#include "ui/conversation_window.h"

#include "ui/serif_box.h"
#include "ui/window_placement.h"

#include <QHideEvent>
#include <QShowEvent>

namespace velmora::ui {
namespace {

const QPoint kDesignedPosition{160, 530};

}  // namespace

ConversationWindow::ConversationWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      box_(new SerifBox(this)) {
    setWindowTitle(QStringLiteral("会話"));
    setFixedSize(clientSizeFor(797, 185));
    QPalette shade = palette();
    shade.setColor(QPalette::Window, Qt::black);
    setPalette(shade);
    setAutoFillBackground(true);

    box_->setGeometry(0, 0, 788, 148);
    box_->setTextWidth(15);
    box_->setTextHeight(15);
    box_->setHorizontalSpace(5);
    box_->setVerticalSpace(5);
    box_->setAutoStop(false);
    connect(box_, &SerifBox::clicked, box_, &SerifBox::NextPage);
}

void ConversationWindow::open() {
    placeOnScreen(this, kDesignedPosition);
    show();
    raise();
}

void ConversationWindow::sayText(const QString& text) {
    box_->setLines({text});
    box_->Play(false);
}

void ConversationWindow::close() {
    hide();
}

void ConversationWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) box_->ClearText();
}

void ConversationWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        box_->ClearText();
        box_->Stop();
    }
}

}  // namespace velmora::ui
