#include "ui/conversation_window.h"

#include <QHideEvent>
#include <QShowEvent>

#include "ui/serif_box.h"
#include "ui/window_placement.h"

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
    // A click turns the page, or shows the page still typing at once.
    connect(box_, &SerifBox::clicked, box_, [this] {
        if (box_->isWaiting()) {
            box_->NextPage();
        } else {
            box_->FinishPage();
        }
    });
    connect(box_, &SerifBox::rightClicked, this, [this] {
        if (skipRequested_) skipRequested_();
    });
}

void ConversationWindow::open() {
    // The designed place, counted from the main window so it follows it.
    QWidget* main = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    const QPoint origin = main != nullptr ? main->frameGeometry().topLeft() : QPoint();
    placeOnScreen(this, origin + kDesignedPosition);
    show();
    raise();
    // Typing paints straight away: the window must be on screen before the
    // first character, or the first speech would appear all at once.
    waitUntilExposed(this);
}

void ConversationWindow::sayText(const QString& text) {
    box_->setLines({text});
    // Input is served while typing, so a click or Esc takes effect at once.
    box_->Play(true);
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
