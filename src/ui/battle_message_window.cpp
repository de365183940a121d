#include "ui/battle_message_window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "ui/flat_button.h"
#include "ui/fonts.h"
#include "ui/window_placement.h"

namespace velmora::ui {
namespace {

const QSize kBoxSize{769, 105};
const QPoint kDesignedPosition{158, 703};
const QRect kFastForwardButton{680, 110, 90, 26};

}  // namespace

BattleMessageWindow::BattleMessageWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint),
      fastForwardButton_(new FlatButton(QStringLiteral("早送り"), this)) {
    setWindowTitle(QStringLiteral("状況報告"));
    setFixedSize(clientSizeFor(783, 142));
    setFont(uiFont(kPMincho, 12));
    setAttribute(Qt::WA_OpaquePaintEvent);
    timer_.setInterval(kRevealMs);
    connect(&timer_, &QTimer::timeout, this, &BattleMessageWindow::reveal);
    setFocusPolicy(Qt::StrongFocus);
    fastForwardButton_->setGeometry(kFastForwardButton);
    fastForwardButton_->setFocusPolicy(Qt::NoFocus);
    fastForwardButton_->setToolTip(
        QStringLiteral("このターンの残りの報告をクリックなしで流します (Esc)"));
    connect(fastForwardButton_, &QPushButton::clicked, this, &BattleMessageWindow::fastForward);
}

QString BattleMessageWindow::revealedPart(const QString& message, int count) {
    qsizetype end = 0;
    for (int shown = 0; shown < count && end < message.size(); ++shown) {
        const bool pair = message[end].isHighSurrogate() && end + 1 < message.size() &&
                          message[end + 1].isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return message.left(end);
}

QRect BattleMessageWindow::boxRect() const {
    return QRect(QPoint(0, 0), kBoxSize);
}

void BattleMessageWindow::show(const QString& text) {
    history_.append(text);
    message_ = text + QStringLiteral(" Clic Here");
    // Fast-forwarded reports pass at once; the history keeps them.
    if (fastForward_) return;
    shown_.clear();
    revealCount_ = 0;
    waiting_ = true;
    placeOnScreen(this, kDesignedPosition);
    QWidget::show();
    raise();
    activateWindow();
    timer_.start();

    QPointer<BattleMessageWindow> self(this);
    QEventLoop loop;
    QEventLoop* outer = loop_;
    loop_ = &loop;
    if (waiting_) loop.exec();
    if (!self) return;
    loop_ = outer;
    // A report shown from inside another report's wait: the one click
    // answers both.
    if (outer != nullptr) {
        outer->quit();
        return;
    }
    timer_.stop();
    hide();
}

void BattleMessageWindow::reveal() {
    shown_ = revealedPart(message_, revealCount_);
    update(boxRect());
    if (revealCount_ < message_.size()) ++revealCount_;
}

void BattleMessageWindow::fastForward() {
    fastForward_ = true;
    shown_ = message_;
    update(boxRect());
    endWait();
}

void BattleMessageWindow::endFastForward() {
    if (!fastForward_) return;
    fastForward_ = false;
    if (loop_ == nullptr) hide();
}

void BattleMessageWindow::endWait() {
    waiting_ = false;
    if (loop_ != nullptr) loop_->quit();
}

void BattleMessageWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setFont(font());
    painter.setPen(Qt::white);
    painter.drawText(boxRect(), Qt::AlignLeft | Qt::AlignTop, shown_);
}

void BattleMessageWindow::mousePressEvent(QMouseEvent* event) {
    if (boxRect().contains(event->position().toPoint())) endWait();
    QWidget::mousePressEvent(event);
}

void BattleMessageWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            endWait();
            return;
        case Qt::Key_Escape:
            fastForward();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void BattleMessageWindow::closeEvent(QCloseEvent* event) {
    // Closing from the frame counts as the click; otherwise the wait could
    // never end.
    endWait();
    QWidget::closeEvent(event);
}

}  // namespace velmora::ui
